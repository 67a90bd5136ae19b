#pragma once

#include <QString>

// Only the letters A to Z become lower case, as the project files' own world
// (Windows, 8-bit texts) does it; accented letters stay as they are.
QString lowerAsciiLetters(QString text);
