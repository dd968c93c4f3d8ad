#include "AdjustDialog.h"
#include "DialogRunner.h"
#include "HistogramKernels.h"
#include "NumberBox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace vermeo::colour {

PreviewDialog::PreviewDialog(QWidget *parent, const QString &caption, int w, int h, int previewX, int previewY)
    : QDialog(parent)
{
    setWindowTitle(caption);
    setFixedSize(w, h);
    Button1 = placedButton(this, "Button1", QStringLiteral("Annuler"), 336, 16);
    Button2 = placedButton(this, "Button2", QStringLiteral("OK"), 336, 56);
    Button4 = placedButton(this, "Button4", QStringLiteral("Rétablir"), 336, 112);
    Button3 = placedButton(this, "Button3", QStringLiteral("Aperçu"), 337, 148);
    // Enter means "OK"; on "Aperçu" and on the sliders it previews.
    Button2->setDefault(true);
    previewOnEnter(Button3);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(previewX, previewY, kPreviewWidth, kPreviewHeight);
    connect(Button1, &QPushButton::clicked, this, &PreviewDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &PreviewDialog::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &PreviewDialog::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &PreviewDialog::Button4Click);
    Button3->setFocus();
}

void PreviewDialog::Init(const QImage &graphic)
{
    m_reference = stretchTo(graphic, kPreviewWidth, kPreviewHeight);
    m_work = m_reference;
    resetControls();
    showPreview(m_reference);
    afterInit();
}

void PreviewDialog::Recalcule()
{
    // Always from the unchanged picture, so previews never build on each other.
    showPreview(m_reference);
    beforePreview();
    if (m_reference.isNull())
        return;
    m_work = computePreview(m_reference);
    showPreview(m_work);
}

void PreviewDialog::showPreview(const QImage &img)
{
    m_shown = img;
    Image1->setPixmap(QPixmap::fromImage(img));
}

void PreviewDialog::Button1Click()
{
    m_accepted = false;
    reject();
}

void PreviewDialog::Button2Click()
{
    m_accepted = true;
    accept();
}

void PreviewDialog::Button3Click() { Recalcule(); }

void PreviewDialog::Button4Click()
{
    showPreview(m_reference);
    resetControls();
}

void PreviewDialog::showEvent(QShowEvent *event)
{
    m_accepted = false;
    Button3->setFocus();
    QDialog::showEvent(event);
}

void PreviewDialog::previewOnEnter(QWidget *w) { w->installEventFilter(this); }

bool PreviewDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Recalcule();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

AdjustDialog::AdjustDialog(QWidget *parent, const QString &caption, const QString &label2, const QString &label1,
                           Ranges ranges)
    : PreviewDialog(parent, caption, 428, 219),
      m_ranges(ranges)
{
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(76, 45, 240, 45);
    TrackBar1->setRange(0, 50);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    SpinEdit1 = new NumberBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setGeometry(122, 10, 71, 26);
    SpinEdit1->setRange(ranges.spinMin, ranges.spinMax);
    Label2 = new QLabel(label2, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(8, 11);
    Label2->adjustSize();
    Label1 = new QLabel(label1, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 51);
    Label1->adjustSize();
    setTabOrder(TrackBar1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, SpinEdit1);
    previewOnEnter(TrackBar1);
    connect(TrackBar1, &QSlider::valueChanged, this, &AdjustDialog::TrackBar1Change);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &AdjustDialog::SpinEdit1Change);
    resetControls();
}

// Setting one control from the other never raises the other's handler, so the
// coupling cannot loop and the slider stays where the user put it.
void AdjustDialog::TrackBar1Change(int position) { setSpinQuietly(sliderToSpin(position)); }
void AdjustDialog::SpinEdit1Change(int value) { setSliderQuietly(spinToSlider(value)); }

void AdjustDialog::setSliderQuietly(int position)
{
    const QSignalBlocker block(TrackBar1);
    TrackBar1->setValue(position);
}

void AdjustDialog::setSpinQuietly(int value)
{
    const QSignalBlocker block(SpinEdit1);
    SpinEdit1->setValue(value);
}

void AdjustDialog::resetControls()
{
    setSliderQuietly(m_ranges.sliderStart);
    setSpinQuietly(m_ranges.spinStart);
}

void AdjustDialog::beforePreview() { setSliderQuietly(spinToSlider(SpinEdit1->value())); }

} // namespace vermeo::colour
