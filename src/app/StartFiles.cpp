// Pictures named on the command line open at start-up, each in its own window, the way
// "Ouvrir..." opens them.
#include "StartFiles.h"
#include "DialogRunner.h"
#include "Error.h"
#include "TMDIChild.h"
#include "TMainForm.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUrl>

namespace vermeo {

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine out;
    bool options = true;
    for (const QString &a : arguments) {
        if (options && a == QLatin1String("--")) {
            options = false;
        } else if (options && (a == QLatin1String("--help") || a == QLatin1String("-h"))) {
            out.help = true;
        } else if (options && (a == QLatin1String("--version") || a == QLatin1String("-v"))) {
            out.version = true;
        } else if (options && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            out.error = QStringLiteral("vermeo : option inconnue « %1 » (voir vermeo --help)").arg(a);
        } else {
            const QUrl url(a);
            const QString path = url.isLocalFile() ? url.toLocalFile() : a;
            out.files << QFileInfo(path).absoluteFilePath();
        }
    }
    return out;
}

QString commandLineUsage()
{
    return QStringLiteral("Utilisation : vermeo [OPTION] [--] [FICHIER...]\n"
                          "Dessin et retouche d'images. Chaque FICHIER s'ouvre dans sa propre fenêtre.\n\n"
                          "  -h, --help     cette aide\n"
                          "  -v, --version  la version de Vermeo\n\n"
                          "Formats lus : BMP, JPEG, GIF, PCX, PNG, TIFF, WMF, EMF, ICO.\n"
                          "Les opérations d'image sur des fichiers, sans fenêtre : vermeo-cli --help.\n");
}

bool TMainForm::openPictureFile(const QString &name)
{
    // A file already shown comes to the front: two windows on one file would overwrite
    // each other's saves.
    if (TMDIChild *shown = childShowing(name)) {
        bringToFront(shown);
        return true;
    }
    QMdiSubWindow *before = m_mdi->activeSubWindow();
    TMDIChild *child = OuvreFenetreImage(name);
    child->Init(200, 200, clWhite);
    try {
        child->Charge(name);
    } catch (const VermeoError &e) {
        // No empty window is left behind for a file that could not be read.
        child->doc().setModified(false);
        if (child->subWindow())
            child->subWindow()->close();
        // The window that was active stays so, rather than the first one opened.
        if (before)
            m_mdi->setActiveSubWindow(before);
        DialogRunner::tell(this, QMessageBox::Critical, e.message());
        return false;
    }
    prepareChild(child);
    pictureFileUsed(child->FileName());
    return true;
}

void TMainForm::openFiles(const QStringList &names)
{
    // A file that cannot be read says why; the others open all the same.
    for (const QString &name : names)
        openPictureFile(name);
}

} // namespace vermeo
