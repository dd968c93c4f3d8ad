#include "THelp.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vermeo {

QString helpPage(const QString &topic)
{
    if (topic == QLatin1String("howto"))
        return QStringLiteral(
            "<h2>Utiliser l'aide</h2><p>Le <b>Sommaire</b> (menu ? / Index) présente les rubriques ; "
            "cliquez sur un lien pour l'ouvrir.</p><p><b>Rechercher</b> trouve les rubriques qui "
            "contiennent un mot : tapez-le puis appuyez sur Entrée.</p>");
    return QStringLiteral(
        "<h2>Vermeo</h2><p>Programme de dessin et de retouche d'images.</p>"
        "<h3>Fichier</h3><p>Nouveau, Ouvrir, Enregistrer, Enregistrer sous : BMP, JPEG, GIF, PCX, "
        "WMF, EMF et TIFF.</p>"
        "<h3>Edition</h3><p>Annuler (Ctrl+U) défait la dernière modification. Couper, Copier et "
        "Coller passent par le Presse-papiers.</p>"
        "<h3>Outils</h3><p>Le panneau de gauche choisit l'outil (crayon, trait, rectangle, ellipse, "
        "rectangle arrondi, remplissage, gomme, polygône, texte, spray, tampon, pipette), le style "
        "de trait, le motif de remplissage, l'épaisseur et les couleurs. La barre de couleurs du "
        "bas choisit la couleur du crayon.</p>"
        "<h3>Image et Couleurs</h3><p>Redimensionner, recadrer, miroirs, luminosité, contraste, "
        "saturation, histogramme et bien d'autres réglages, avec aperçu.</p>"
        "<h3>Affichage</h3><p>Zoom avant, zoom arrière et taille réelle.</p>");
}

THelp::THelp(Entry entry, const QString &helpFile, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("THelp"));
    setWindowTitle(QStringLiteral("Aide de Vermeo"));
    setProperty("resizable", true);
    resize(520, 420);
    auto *col = new QVBoxLayout(this);
    if (entry == Search) {
        col->addWidget(new QLabel(QStringLiteral("Mot à rechercher :"), this));
        Key = new QLineEdit(this);
        Key->setObjectName(QStringLiteral("Key"));
        col->addWidget(Key);
        connect(Key, &QLineEdit::returnPressed, this, [this] { showKeyword(Key->text()); });
    }
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    col->addWidget(Browser, 1);
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    col->addWidget(close, 0, Qt::AlignRight);

    // A help file of HTML beside the program replaces the built-in pages.
    QString contents = helpPage(QStringLiteral("contents"));
    QFile f(helpFile);
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray data = f.read(4 << 20);
        if (data.contains("<html") || data.contains("<h"))
            contents = QString::fromUtf8(data);
    }
    Browser->setHtml(entry == HowToUse ? helpPage(QStringLiteral("howto")) : contents);
    if (entry == Search)
        Key->setFocus();
}

void THelp::showKeyword(const QString &key)
{
    Browser->moveCursor(QTextCursor::Start);
    if (!key.isEmpty())
        Browser->find(key);
}

} // namespace vermeo
