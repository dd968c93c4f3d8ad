#include "ChannelDialogs.h"
#include "ChannelKernels.h"
#include "NumberBox.h"
#include "ToneKernels.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace vermeo::colour {

namespace {
QSlider *makeSlider(QWidget *parent, const char *name, QRect geometry, int tickInterval)
{
    auto *s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QLatin1String(name));
    s->setGeometry(geometry);
    s->setRange(0, 50);
    s->setTickInterval(tickInterval);
    s->setTickPosition(QSlider::TicksBelow);
    return s;
}

// "Annuler" (Button1) above the default button (Button2); each closes the dialog and
// sets its accepted flag.
void addCancelOk(QDialog *dlg, QPushButton *&cancel, QPushButton *&ok, bool &accepted, const QString &okText, int x,
                 int cancelY, int okY)
{
    cancel = new QPushButton(QStringLiteral("Annuler"), dlg);
    cancel->setObjectName(QStringLiteral("Button1"));
    cancel->setGeometry(x, cancelY, 75, 25);
    ok = new QPushButton(okText, dlg);
    ok->setObjectName(QStringLiteral("Button2"));
    ok->setGeometry(x, okY, 75, 25);
    ok->setDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, dlg, [dlg, &accepted] {
        accepted = false;
        dlg->reject();
    });
    QObject::connect(ok, &QPushButton::clicked, dlg, [dlg, &accepted] {
        accepted = true;
        dlg->accept();
    });
}

QLabel *makeLabel(QWidget *parent, const QString &text, int x, int y, int pointSize = 0)
{
    auto *l = new QLabel(text, parent);
    if (pointSize > 0) {
        QFont f = l->font();
        f.setPointSize(pointSize);
        f.setBold(true);
        l->setFont(f);
    }
    l->move(x, y);
    l->adjustSize();
    return l;
}

void setQuietly(QSlider *s, int v)
{
    const QSignalBlocker b(s);
    s->setValue(v);
}
void setQuietly(QSpinBox *s, int v)
{
    const QSignalBlocker b(s);
    s->setValue(v);
}
} // namespace

void paintSwatch(QFrame *panel, TColour colour)
{
    panel->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid gray;").arg(toQColor(colour).name()));
    panel->setProperty("colourValue", uint(colour));
}

// --- TBalCoul ------------------------------------------------------------------

TBalCoul::TBalCoul(QWidget *parent) : PreviewDialog(parent, QStringLiteral("Balance des couleurs"), 428, 304, 128, 190)
{
    const char *spinNames[3] = {"SpinEdit1", "SpinEdit2", "SpinEdit3"};
    const char *sliderNames[3] = {"TrackBar1", "TrackBar2", "TrackBar3"};
    const QString letters[3] = {QStringLiteral("R"), QStringLiteral("V"), QStringLiteral("B")};
    const QString names[3] = {QStringLiteral("Rouge"), QStringLiteral("Vert"), QStringLiteral("Bleu")};
    QSpinBox *spins[3];
    QSlider *sliders[3];
    for (int i = 0; i < 3; ++i) {
        makeLabel(this, letters[i], 8 + 104 * i, 10, 14);
        spins[i] = new NumberBox(this);
        spins[i]->setObjectName(QLatin1String(spinNames[i]));
        spins[i]->setGeometry(34 + 104 * i, 10, 64, 26);
        spins[i]->setRange(int(kPercent.low), int(kPercent.high));
        makeLabel(this, names[i], 8, 56 + 42 * i);
        sliders[i] = makeSlider(this, sliderNames[i], QRect(76, 48 + 42 * i, 240, 40), 1);
        previewOnEnter(sliders[i]);
    }
    SpinEdit1 = spins[0], SpinEdit2 = spins[1], SpinEdit3 = spins[2];
    TrackBar1 = sliders[0], TrackBar2 = sliders[1], TrackBar3 = sliders[2];
    for (int i = 0; i < 3; ++i)
        couple(sliders[i], spins[i]);
    resetControls();
}

void TBalCoul::couple(QSlider *slider, QSpinBox *spin)
{
    connect(slider, &QSlider::valueChanged, this, [spin](int p) { setQuietly(spin, percentSliderToSpin(p)); });
    connect(spin, &QSpinBox::valueChanged, this, [slider](int v) { setQuietly(slider, percentSpinToSlider(v)); });
}

void TBalCoul::resetControls()
{
    for (QSpinBox *s : {SpinEdit1, SpinEdit2, SpinEdit3})
        setQuietly(s, 0);
    for (QSlider *s : {TrackBar1, TrackBar2, TrackBar3})
        setQuietly(s, 25);
}

void TBalCoul::beforePreview()
{
    setQuietly(TrackBar1, percentSpinToSlider(SpinEdit1->value()));
    setQuietly(TrackBar2, percentSpinToSlider(SpinEdit2->value()));
    setQuietly(TrackBar3, percentSpinToSlider(SpinEdit3->value()));
}

QImage TBalCoul::computePreview(const QImage &reference)
{
    return balance(reference, percentToOffset(SpinEdit1->value()), percentToOffset(SpinEdit2->value()),
                   percentToOffset(SpinEdit3->value()), silentProgress());
}

void TBalCoul::Result(int &accepted, int &red, int &blue, int &green) const
{
    accepted = m_accepted ? 1 : 0;
    red = percentToOffset(SpinEdit1->value());
    green = percentToOffset(SpinEdit2->value());
    blue = percentToOffset(SpinEdit3->value());
}

// --- TPermut -------------------------------------------------------------------

TPermut::TPermut(QWidget *parent) : PreviewDialog(parent, QStringLiteral("Permuter les couleurs"), 428, 219)
{
    auto *box = new QGroupBox(QStringLiteral("Permuter RVB"), this);
    box->setGeometry(16, 12, 300, 80);
    // Top row 1, 3, 5; bottom row 2, 4, 6.
    for (int order = 1; order <= 6; ++order) {
        auto *r = new QRadioButton(permutationName(order), box);
        r->setObjectName(QStringLiteral("RadioButton%1").arg(order));
        const int column = (order - 1) / 2, row = (order - 1) % 2;
        r->setGeometry(16 + 96 * column, 22 + 26 * row, 80, 22);
        RadioButton[order] = r;
    }
    resetControls();
}

int TPermut::checkedOrder() const
{
    for (int order = 1; order <= 6; ++order)
        if (RadioButton[order]->isChecked())
            return order;
    return 1;
}

int TPermut::Result() const { return m_accepted ? checkedOrder() : 0; }
void TPermut::resetControls() { RadioButton[1]->setChecked(true); }
QImage TPermut::computePreview(const QImage &reference) { return permute(reference, checkedOrder(), silentProgress()); }

// --- TRCouleur -----------------------------------------------------------------

TRCouleur::TRCouleur(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Remplacer couleur"));
    setFixedSize(329, 111);
    auto *bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(8, 8, 210, 95);
    makeLabel(this, QStringLiteral("Remplacer la couleur"), 20, 26);
    makeLabel(this, QStringLiteral("Par la couleur"), 20, 66);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(170, 20, 25, 25);
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(170, 60, 25, 25);
    addCancelOk(this, Button1, Button2, m_accepted, QStringLiteral("Ok"), 240, 16, 60);
}

void TRCouleur::Init(TColour toReplace, TColour replacement)
{
    m_from = toReplace;
    m_to = replacement;
    m_accepted = false;
    paintSwatch(Panel1, m_from);
    paintSwatch(Panel2, m_to);
}

void TRCouleur::Result(TColour &toReplace, TColour &replacement, bool &accepted) const
{
    accepted = m_accepted;
    if (m_accepted) {
        toReplace = m_from;
        replacement = m_to;
    }
}

// --- TRvb ------------------------------------------------------------------------

TRvb::TRvb(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Séparation RVB"));
    setFixedSize(450, 240);
    makeLabel(this, QStringLiteral("Rouge"), 16, 26);
    makeLabel(this, QStringLiteral("Bleu"), 16, 76);
    makeLabel(this, QStringLiteral("Vert"), 16, 126);
    TrackBar1 = makeSlider(this, "TrackBar1", QRect(70, 16, 250, 40), 2);
    TrackBar2 = makeSlider(this, "TrackBar2", QRect(70, 66, 250, 40), 2);
    TrackBar3 = makeSlider(this, "TrackBar3", QRect(70, 116, 250, 40), 2);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(70, 176, 185, 41);
    addCancelOk(this, Button1, Button2, m_accepted, QStringLiteral("OK"), 356, 16, 56);
    for (QSlider *s : {TrackBar1, TrackBar2, TrackBar3})
        connect(s, &QSlider::valueChanged, this, &TRvb::Recalcule);
}

void TRvb::Init(TColour colour)
{
    m_accepted = false;
    m_colour = colour;
    paintPanel();
    int b, g, r;
    DecomposeCouleur(colour, b, g, r);
    // From code: no Recalcule, so accepting unmoved gives the colour back exactly.
    setQuietly(TrackBar1, r * 50 / 255);
    setQuietly(TrackBar2, b * 50 / 255);
    setQuietly(TrackBar3, g * 50 / 255);
}

void TRvb::Recalcule()
{
    m_colour =
        ComposeCouleur(TrackBar1->value() * 255 / 50, TrackBar3->value() * 255 / 50, TrackBar2->value() * 255 / 50);
    paintPanel();
}

void TRvb::Result(TColour &colour) const
{
    if (m_accepted)
        colour = m_colour;
}

void TRvb::paintPanel() { paintSwatch(Panel1, m_colour); }

} // namespace vermeo::colour
