#pragma once
// The about box: name, version, purpose, licence, and the libraries the program runs
// with, so that a user reporting a problem can say what they have.
#include <QDialog>

class QLabel;
class QPushButton;

namespace vermeo {

class TAPropos : public QDialog {
    Q_OBJECT
public:
    explicit TAPropos(QWidget *parent = nullptr);
    QLabel *Label1 = nullptr;       // name and version
    QLabel *Label2 = nullptr;       // purpose and licence
    QLabel *Label3 = nullptr;       // libraries
    QPushButton *Button1 = nullptr; // Fermer
};

// "Version 0.1", as the about box and vermeo --version show it.
QString versionText();
// One line a library: "Qt 6.4.2", "libjpeg-turbo 2.1.5"...; the image formats Qt's
// plugins read come last.
QStringList libraryLines();

} // namespace vermeo
