#include "CombineCommands.h"

#include "DialogRunner.h"
#include "DocumentFiles.h"
#include "Merge.h"
#include "PictureFiles.h"
#include "Selection.h"
#include "TFract.h"
#include "TFusion.h"
#include "Tiling.h"

namespace vermeo::geometry {

void Fusionner(ImageDocument &doc, DocumentHost &host)
{
    TFusion dlg(host.dialogParent());
    dlg.Init(doc.image());
    DialogRunner::exec(dlg);
    int operation = 0;
    QImage second;
    dlg.Result(operation, second);
    host.takeFocus();
    if (operation == 0)
        return;
    selection::endSelection(doc, host);
    // A change like any other: it can be undone, and closing asks to save it. The
    // window's copy mode stays plain, so later pastes are not combined too.
    const QImage merged = mergePictures(doc.image(), second, mergeCopyMode(operation));
    doc.SauveUndo();
    doc.replacePixels(merged);
    doc.Modif();
}

void Mosaique(ImageDocument &doc, DocumentHost &host)
{
    const QString name = formats::askOpenPictureName(host.dialogParent());
    host.takeFocus();
    if (name.isEmpty())
        return;
    // Read first: a file that cannot be read leaves the picture and its undo as they were.
    const Picture tile = formats::readPictureFile(name);
    selection::endSelection(doc, host);
    doc.SauveUndo();
    Canvas c = doc.pictureCanvas();
    tilePicture(c, tile.image);
    doc.pixelsChanged(c.takeDirty());
    doc.Modif();
}

void Fractales(ImageDocument &doc, DocumentHost &host)
{
    TFract dlg(host.dialogParent());
    DialogRunner::exec(dlg);
    QImage result = doc.image().copy();
    dlg.Result(result);
    host.takeFocus();
    selection::endSelection(doc, host);
    // Also after "Annuler": an undo step and the modified flag, the picture as it was.
    doc.SauveUndo();
    doc.replacePixels(result);
    doc.Modif();
}

} // namespace vermeo::geometry
