#pragma once

#include <QString>

// The fixed texts of the help window's three pages, hard-wrapped lines; a line
// of one or two blanks stands between paragraphs.
namespace HelpTexts {

QString howItWorks();
QString features();
QString about();
// The contact lines of the program's makers.
QString contact();

} // namespace HelpTexts
