#include "TAttributs.h"
#include "FileAccess.h"
#include "TMDIChild.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace vermeo {

QString systemDateText(const QDate &d)
{
    // The separator of the system's short date format, when it has a usual one.
    QChar sep = QLatin1Char('/');
    for (QChar ch : QLocale::system().dateFormat(QLocale::ShortFormat))
        if (!ch.isLetter()) {
            if (QStringLiteral("/.-").contains(ch))
                sep = ch;
            break;
        }
    return d.toString(QStringLiteral("dd%1MM%1yyyy").arg(sep));
}

QString colourCountText(long long bits)
{
    if (bits < 0)
        return {};
    if (bits <= 62)
        return QString::number(1LL << bits);
    // Too large for a whole number: shown as a power of two.
    return QStringLiteral("2^%1").arg(bits);
}

TAttributs::TAttributs(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TAttributs"));
    setWindowTitle(QStringLiteral("Propriétés de l'image"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    auto *top = new QVBoxLayout(this);
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    top->addWidget(close, 0, Qt::AlignLeft);
    auto *grid = new QGridLayout;
    top->addLayout(grid);
    const char *captions[] = {"Nom du fichier",       "Largeur",        "Hauteur",           "Taille du fichier",
                              "Date de modification", "Bits par pixel", "Nombre de couleurs"};
    QLabel **values[] = {&Nom, &Largeur, &Hauteur, &Taille, &Date, &Bits, &Couleurs};
    const char *names[] = {"Nom", "Largeur", "Hauteur", "Taille", "Date", "Bits", "Couleurs"};
    for (int i = 0; i < 7; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(captions[i]), this), i, 0);
        *values[i] = new QLabel(this);
        (*values[i])->setObjectName(QString::fromLatin1(names[i]));
        (*values[i])->setMinimumWidth(180);
        grid->addWidget(*values[i], i, 1);
    }
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TAttributs::Init(const QString &fileName, const QImage &picture)
{
    Bits->clear();
    Couleurs->clear();
    qint64 size = 0;
    QDate date = QDate::currentDate();
    if (!fileName.isEmpty() && QFileInfo::exists(fileName)) {
        // An error here is not reported: the size stays as far as it was read.
        QFile f(fileName);
        if (f.open(QIODevice::ReadOnly)) {
            size = f.size();
            f.close();
        }
        date = QFileInfo(fileName).lastModified().date();
    }
    Nom->setText(fileNamePart(fileName));
    Largeur->setText(QStringLiteral("%1 pixels").arg(picture.width()));
    Hauteur->setText(QStringLiteral("%1 pixels").arg(picture.height()));
    Taille->setText(QStringLiteral("%1 octets").arg(size));
    Date->setText(systemDateText(date));
    const long long pixels = (long long)picture.width() * picture.height();
    if (fileName.toUpper().contains(QStringLiteral(".BMP")) && pixels > 0) {
        const long long bits = size * 8 / pixels;
        Bits->setText(QString::number(bits));
        Couleurs->setText(colourCountText(bits));
    }
}

} // namespace vermeo
