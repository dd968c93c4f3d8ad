#include "ColourCommands.h"
#include "ApplyFrame.h"
#include "ChannelDialogs.h"
#include "ChannelKernels.h"
#include "DialogRunner.h"
#include "Error.h"
#include "HistogramKernels.h"
#include "ShadowGradient.h"
#include "THisto.h"
#include "TOmbre.h"
#include "ToneDialogs.h"
#include "ToneKernels.h"

#include <QCoreApplication>

namespace vermeo::colour {

namespace {
// Creates the dialog, gives it the picture, shows it and returns it for Result;
// the focus goes back to the document afterwards.
template <class Dialog>
int runAdjust(ImageDocument &doc, DocumentHost &host)
{
    Dialog dlg(host.dialogParent());
    dlg.Init(doc.image());
    DialogRunner::exec(dlg);
    const int p = dlg.Result();
    host.takeFocus();
    return p;
}

// Passes positions on and lets the window repaint and stay alive once per row;
// user input waits, so nothing can change the picture meanwhile.
class ResponsiveProgress : public Progress {
public:
    explicit ResponsiveProgress(Progress &inner) : m_inner(inner) {}
    void setPosition(int percent) override
    {
        m_inner.setPosition(percent);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    Progress &m_inner;
};
} // namespace

void Luminosite(ImageDocument &doc, DocumentHost &host)
{
    const int p = runAdjust<TLumin>(doc, host);
    if (p != 0)
        applyFrame(doc, host, [p](const QImage &s, Progress &pr) { return brightness(s, p, pr); });
}

void Clarte(ImageDocument &doc, DocumentHost &host)
{
    const int p = runAdjust<TClart>(doc, host);
    if (p != 0)
        applyFrame(doc, host, [p](const QImage &s, Progress &pr) { return clarity(s, p, pr); });
}

void Contraste(ImageDocument &doc, DocumentHost &host)
{
    const int p = runAdjust<TContrast>(doc, host);
    if (p != 0)
        applyFrame(doc, host, [p](const QImage &s, Progress &pr) { return contrast(s, p, pr); });
}

void Saturation(ImageDocument &doc, DocumentHost &host)
{
    const int p = runAdjust<TSatur>(doc, host);
    if (p != 0)
        applyFrame(doc, host, [p](const QImage &s, Progress &pr) { return saturation(s, p, pr); });
}

void Teinte(ImageDocument &doc, DocumentHost &host)
{
    int code = 0, p = 0;
    {
        TTeint dlg(host.dialogParent());
        dlg.Init(doc.image());
        DialogRunner::exec(dlg);
        dlg.Result(code, p);
    }
    host.takeFocus();
    if (p != 0)
        applyFrame(doc, host, [code, p](const QImage &s, Progress &pr) { return tint(s, code, p, pr); });
}

void Solariser(ImageDocument &doc, DocumentHost &host)
{
    const int t = runAdjust<TSolar>(doc, host);
    if (t != 0)
        applyFrame(doc, host, [t](const QImage &s, Progress &pr) { return solarise(s, t, pr); });
}

void Balance(ImageDocument &doc, DocumentHost &host)
{
    int accepted = 0, red = 0, blue = 0, green = 0;
    {
        TBalCoul dlg(host.dialogParent());
        dlg.Init(doc.image());
        DialogRunner::exec(dlg);
        dlg.Result(accepted, red, blue, green);
    }
    host.takeFocus();
    // Accepted with three zeros still runs: the user said "OK".
    if (accepted)
        applyFrame(doc, host, [=](const QImage &s, Progress &pr) { return balance(s, red, green, blue, pr); });
}

void Permuter(ImageDocument &doc, DocumentHost &host)
{
    int order = 0;
    {
        TPermut dlg(host.dialogParent());
        dlg.Init(doc.image());
        DialogRunner::exec(dlg);
        order = dlg.Result();
    }
    host.takeFocus();
    if (order != 0)
        applyFrame(doc, host, [order](const QImage &s, Progress &pr) { return permute(s, order, pr); });
}

void Remplacer(ImageDocument &doc, DocumentHost &host)
{
    TColour from = doc.canvas().brushColour(), to = doc.canvas().penColour();
    bool accepted = false;
    {
        TRCouleur dlg(host.dialogParent());
        dlg.Init(from, to);
        DialogRunner::exec(dlg);
        dlg.Result(from, to, accepted);
    }
    host.takeFocus();
    if (!accepted)
        return;
    // Compared with itself only, so the pass runs on a copy that then replaces the picture.
    QImage replaced = doc.image().copy();
    QRect changed;
    {
        ProgressScope scope(host.progress());
        changed = replaceColour(replaced, from, to, scope.progress());
    }
    doc.SauveUndo();
    if (!changed.isEmpty())
        doc.replacePixels(replaced);
    doc.Modif();
}

void Gris(ImageDocument &doc, DocumentHost &host)
{
    applyFrame(doc, host, [](const QImage &s, Progress &pr) { return greyscale(s, pr); });
}

void Inverse(ImageDocument &doc, DocumentHost &host)
{
    const QImage result = invert(doc.image());
    doc.SauveUndo();
    doc.replaceAsTrueColour(result);
    host.fitWindow();
    doc.Modif();
}

void Monochrome(ImageDocument &doc, DocumentHost &host)
{
    (void)host;
    const Picture bw = monochrome(doc.image());
    doc.SauveUndo();
    doc.replacePicture(bw);
    doc.Modif();
}

void Separation(ImageDocument &doc, DocumentHost &host)
{
    TColour colour = doc.canvas().penColour();
    {
        TRvb dlg(host.dialogParent());
        dlg.Init(colour);
        DialogRunner::exec(dlg);
        dlg.Result(colour);
    }
    host.setForeColour(colour);
}

void Histogramme(ImageDocument &doc, DocumentHost &host)
{
    THisto dlg(host.dialogParent(), host.progress());
    dlg.Init(doc.image());
    DialogRunner::exec(dlg);
}

void Compter(ImageDocument &doc, DocumentHost &host)
{
    long long n = 0;
    {
        ProgressScope scope(host.progress());
        // The count reads the picture as 24-bit colour, and the bitmap stays so.
        doc.setDeclaredDepth(24);
        ResponsiveProgress responsive(scope.progress());
        n = countColours(doc.image(), responsive);
    }
    DialogRunner::tell(host.dialogParent(), QMessageBox::Information,
                       QStringLiteral("Le nombre de couleurs distinctes est de ") + QString::number(n));
}

void Ombrer(ImageDocument &doc, DocumentHost &host)
{
    int length = 0, side = Gauche;
    {
        TOmbre dlg(host.dialogParent());
        dlg.Init(doc.image());
        DialogRunner::exec(dlg);
        dlg.Result(length, side);
    }
    host.takeFocus();
    if (length != 0)
        applyFrame(doc, host, [length, side](const QImage &s, Progress &pr) { return shadow(s, length, side, pr); });
}

namespace {
void checkGradientType(int type)
{
    if (type != 1 && type != 2)
        throw VermeoError(QStringLiteral("Type de dégradé inconnu : %1 (1 ou 2).").arg(type));
}
} // namespace

namespace {
// Painted on the picture at actual size; the window's pen and brush end at the last band's colour.
void paintGradient(ImageDocument &doc, DocumentHost &host, int type, bool leftToRight)
{
    checkGradientType(type);
    doc.SauveUndo();
    Canvas picture = doc.pictureCanvas();
    gradient(picture, host.foreColour(), type, leftToRight);
    doc.pixelsChanged(picture.takeDirty());
    Canvas &c = doc.canvas();
    c.setPenMode(PenMode::Copy);
    c.setPenColour(picture.penColour());
    c.setBrushColour(picture.brushColour());
    doc.Modif();
}
} // namespace

void Degrade(ImageDocument &doc, DocumentHost &host, int type) { paintGradient(doc, host, type, false); }

void Degrade2(ImageDocument &doc, DocumentHost &host, int type) { paintGradient(doc, host, type, true); }

} // namespace vermeo::colour
