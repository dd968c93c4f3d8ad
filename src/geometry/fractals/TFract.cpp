#include "TFract.h"

#include "DialogRunner.h"
#include "Error.h"
#include "PixelRows.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vermeo {

using namespace geometry;

namespace {
constexpr int kImageWidth = kFractalControlWidth;
constexpr int kImageHeight = kFractalControlHeight;

// What the control shows before the first "Aperçu": a small moiré.
QImage storedPicture()
{
    QImage img = newWorkingImage(kImageWidth, kImageHeight);
    FractalSettings s;
    s.type = ftMoire;
    s.iterations = defaultIterations(ftMoire);
    drawFractal(img, s);
    return img;
}
} // namespace

TFract::TFract(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Fract"));
    setWindowTitle(QStringLiteral("Effets spéciaux"));
    FractalImage1 = new TFractalImage(this);
    FractalImage1->setObjectName(QStringLiteral("FractalImage1"));
    FractalImage1->setFixedSize(kImageWidth, kImageHeight);
    FractalImage1->setPicture(storedPicture());
    TFractalProperties &p = FractalImage1->FractalProperties();
    p.setFractalType(ftCurl);
    p.X0 = -2.25;
    p.Y0 = -1.5;
    p.X1 = 0.75;
    p.Y1 = 1.5;
    p.NumberOfIterations = 30000;
    p.LineIncremental = true;

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    for (const FractalListEntry &e : fractalList())
        ListBox1->addItem(QString::fromLatin1(e.caption));
    ListBox1->setCurrentRow(-1);
    ListBox1->setFixedWidth(120);

    Button1 = new QPushButton(QStringLiteral("Aperçu"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button4 = new QPushButton(QStringLiteral("OK"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setDefault(true);
    Button3 = new QPushButton(QStringLiteral("Annuler"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(FractalImage1, 0, 0, 2, 1);
    grid->addWidget(ListBox1, 0, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(Button1);
    buttons->addSpacing(12);
    buttons->addWidget(Button4);
    buttons->addWidget(Button3);
    grid->addLayout(buttons, 1, 1);
    setFixedSize(sizeHint());

    connect(Button1, &QPushButton::clicked, this, &TFract::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TFract::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFract::Button4Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { Button1Click(); });
}

void TFract::showEvent(QShowEvent *event)
{
    m_accepted = false;
    QDialog::showEvent(event);
}

void TFract::Button1Click()
{
    const int row = ListBox1->currentRow();
    if (row >= 0 && row < int(fractalList().size()) && !FractalImage1->drawing())
        FractalImage1->FractalProperties().setFractalType(fractalList()[size_t(row)].type);
    try {
        FractalImage1->setActive(true);
    } catch (const VermeoError &e) {
        DialogRunner::tell(this, QMessageBox::Warning, e.message());
    }
}

void TFract::Button3Click() { reject(); }

void TFract::Button4Click()
{
    // What has been drawn so far is what "OK" takes.
    FractalImage1->stop();
    m_accepted = true;
    accept();
}

void TFract::reject()
{
    // A drawing under way ends before the dialog goes.
    FractalImage1->stop();
    m_accepted = false;
    QDialog::reject();
}

void TFract::Result(QImage &bitmap) const
{
    if (m_accepted)
        stretchFractalInto(bitmap, FractalImage1->picture());
}

} // namespace vermeo
