#include "TAPropos.h"
#include "DialogRunner.h"
#include "VermeoBuild.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vermeo {

QString versionText() { return QStringLiteral("Version ") + QStringLiteral(VERMEO_VERSION); }

QStringList libraryLines()
{
    auto line = [](const char *name, const char *version, const char *use) {
        const QString v = QString::fromUtf8(version);
        return QString::fromUtf8(name) + (v.isEmpty() ? QString() : QLatin1Char(' ') + v) + QStringLiteral(" : ") +
               QString::fromUtf8(use);
    };
    QStringList out = {
        // The Qt the program runs with, which may be newer than the one it was built with.
        line("Qt", qVersion(), "fenêtres, dessin, impression, Presse-papiers"),
        line("libjpeg-turbo", VERMEO_JPEG_VERSION, "images JPEG"),
        line("giflib", VERMEO_GIF_VERSION, "images GIF"),
        line("libimagequant", VERMEO_IMAGEQUANT_VERSION, "réduction des couleurs des GIF"),
        line("SANE (libsane)", VERMEO_SANE_VERSION, "scanners"),
    };
    // TIFF and icons are read through Qt's image plugins: say which are there.
    QStringList formats;
    for (const QByteArray &f : QImageReader::supportedImageFormats())
        if (f == "tiff" || f == "ico" || f == "png" || f == "svg")
            formats << QString::fromLatin1(f).toUpper();
    out << QStringLiteral("Greffons d'images de Qt : ") +
               (formats.isEmpty() ? QStringLiteral("aucun") : formats.join(QStringLiteral(", ")));
    return out;
}

TAPropos::TAPropos(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TAPropos"));
    setWindowTitle(QStringLiteral("A propos de Vermeo"));
    auto *col = new QVBoxLayout(this);
    auto *head = new QHBoxLayout;
    auto *icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    head->addWidget(icon, 0, Qt::AlignTop);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(QStringLiteral("<b style=\"font-size:x-large\">Vermeo</b><br>") + versionText());
    head->addWidget(Label1, 1);
    col->addLayout(head);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setText(QStringLiteral("Programme de dessin et de retouche d'images.\nLicence : ") +
                    QStringLiteral(VERMEO_LICENCE_TEXT) + QStringLiteral(" (") + QStringLiteral(VERMEO_LICENCE) +
                    QStringLiteral(")."));
    col->addWidget(Label2);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label3->setText(QStringLiteral("Bibliothèques utilisées :\n  ") + libraryLines().join(QStringLiteral("\n  ")));
    col->addWidget(Label3);
    Button1 = new QPushButton(QStringLiteral("Fermer"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    col->addWidget(Button1, 0, Qt::AlignRight);
    makeFixedDialog(*this);
}

} // namespace vermeo
