#pragma once
// The style's standard icons made once for the whole program. Qt's style makes a new
// icon at each call (every file dialog's buttons, every message box), and Qt's pixmap
// cache keeps the name of each new icon's pixmaps for the life of the program.
namespace vermeo {

// Puts the application's style behind a proxy that hands out each standard icon once.
// Call after the QApplication is made.
void shareStandardIcons();

} // namespace vermeo
