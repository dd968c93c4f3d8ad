#pragma once
// "Propriétés de l'image": file name, size in pixels, file size and date, and for
// bitmap files an estimate of the bit depth and colour count.
#include <QDialog>
#include <QImage>

class QLabel;

namespace vermeo {

class TAttributs : public QDialog {
    Q_OBJECT
public:
    explicit TAttributs(QWidget *parent = nullptr);
    void Init(const QString &fileName, const QImage &picture);

    QLabel *Nom = nullptr;
    QLabel *Largeur = nullptr;
    QLabel *Hauteur = nullptr;
    QLabel *Taille = nullptr;
    QLabel *Date = nullptr;
    QLabel *Bits = nullptr;
    QLabel *Couleurs = nullptr;
};

// "dd/mm/yyyy" with the system's date separator.
QString systemDateText(const QDate &d);
// 2 to the power bits, as the colour-count label shows it.
QString colourCountText(long long bits);

} // namespace vermeo
