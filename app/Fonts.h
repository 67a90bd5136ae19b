#pragma once

// Makes the window fonts available: Tahoma comes with Wine's fonts on Debian,
// outside the folders fontconfig searches; Courier New and Arial resolve to
// their metric twins of the Liberation family through fontconfig.
void installWindowFonts();
