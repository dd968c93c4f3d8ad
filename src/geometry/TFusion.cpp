#include "TFusion.h"

#include "DialogRunner.h"
#include "DocumentFiles.h"
#include "Error.h"
#include "HistogramKernels.h"
#include "Merge.h"
#include "PictureFiles.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

namespace vermeo {

namespace {
constexpr int kPreviewW = colour::PreviewDialog::kPreviewWidth;
constexpr int kPreviewH = colour::PreviewDialog::kPreviewHeight;
} // namespace

TFusion::TFusion(QWidget *parent) : colour::PreviewDialog(parent, QStringLiteral("Fusion"), 428, 268, 16, 12)
{
    setObjectName(QStringLiteral("Fusion"));
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(172, 12, kPreviewW, kPreviewH);
    Button5 = new QPushButton(QStringLiteral("Parcourir"), this);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setGeometry(200, 118, 75, 25);
    Button5->setAutoDefault(false);
    GroupBox1 = new QGroupBox(QStringLiteral("Traitement"), this);
    GroupBox1->setGeometry(8, 150, 312, 106);
    auto *grid = new QGridLayout(GroupBox1);
    for (int i = 0; i < 6; ++i) {
        const geometry::MergeOperation &op = geometry::mergeOperations()[size_t(i)];
        RadioButton[i] = new QRadioButton(QString::fromUtf8(op.caption), GroupBox1);
        RadioButton[i]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        grid->addWidget(RadioButton[i], i % 3, i / 3);
    }
    RadioButton[0]->setChecked(true);
    // Enter means "OK", except on "Aperçu", where it previews.
    Button2->setDefault(true);
    previewOnEnter(Button3);
    setTabOrder(RadioButton[5], Button3);
    connect(Button5, &QPushButton::clicked, this, &TFusion::Button5Click);
}

void TFusion::Init(const QImage &picture)
{
    m_second = picture.copy();
    PreviewDialog::Init(picture);
    showSecond();
}

void TFusion::Result(int &operation, QImage &bitmap) const
{
    operation = 0;
    if (!m_accepted)
        return;
    operation = checkedOperation();
    bitmap = m_second;
}

int TFusion::checkedOperation() const
{
    int operation = 1;
    for (int i = 0; i < 6; ++i)
        if (RadioButton[i]->isChecked())
            operation = i + 1;
    return operation;
}

QImage TFusion::computePreview(const QImage &reference)
{
    return geometry::mergePictures(reference, m_second, geometry::mergeCopyMode(checkedOperation()));
}

void TFusion::showEvent(QShowEvent *event)
{
    PreviewDialog::showEvent(event);
    // The operations have the focus, so Enter at once means "OK".
    RadioButton[checkedOperation() - 1]->setFocus();
}

void TFusion::Button5Click()
{
    FileDialogRequest req;
    req.parent = this;
    req.caption = QStringLiteral("Ouvrir");
    req.filter = formats::delphiFilterToQt(QStringLiteral("Bitmaps (*.bmp)|*.bmp"));
    req.hideFilterPatterns = true;
    const QString name = DialogRunner::fileName(req);
    if (name.isEmpty())
        return;
    try {
        m_second = formats::readPictureFile(name).image;
    } catch (const VermeoError &e) {
        // The earlier second picture stays.
        DialogRunner::tell(this, QMessageBox::Warning, e.message());
        return;
    }
    showSecond();
}

void TFusion::showSecond() { Image2->setPixmap(QPixmap::fromImage(colour::stretchTo(m_second, kPreviewW, kPreviewH))); }

} // namespace vermeo
