#pragma once
// The acquisition commands of the "Fichier" menu. The main window opens what they
// return in a new unnamed image window (Init on white at the picture's size, SetIni,
// SetPage, CollerEcran); failures have been reported in French by then.
#include <QImage>
#include <QList>

class QWidget;

namespace vermeo::acquire {

// "Capt&ure écran": minimises the main window, waits until it is off the screen, grabs
// the screen into the 800 x 600 capture picture, and restores and raises the main window.
QImage captureScreen(QWidget *mainWindow);

// "A&cquérir...": scans every page the chosen scanner delivers (several from a document
// feeder) in a worker thread, with a progress window and "Annuler". Empty when cancelled
// or when the scan failed before its first page (the message has been shown).
QList<QImage> Acquerir(QWidget *parent);

// "Sélectionner so&urce...": the scanner and its settings for the scans that follow.
void SelectionnerSource(QWidget *parent);

} // namespace vermeo::acquire
