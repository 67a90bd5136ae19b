#pragma once

#include <QFont>

// Makes the window fonts available: Tahoma comes with Wine's fonts on Debian,
// outside the folders fontconfig searches; Courier New and Arial resolve to
// their metric twins of the Liberation family through fontconfig.
void installWindowFonts();

// The windows' Tahoma at a height in pixels (8 points: 11 pixels).
QFont tahoma(int pixels, bool bold = false, bool underline = false);
