#include "THisto.h"

#include <QCheckBox>
#include <QFrame>
#include <QPainter>
#include <QPushButton>

namespace vermeo::colour {

THisto::THisto(QWidget *parent, Progress &progress) : QDialog(parent), m_progress(progress)
{
    setWindowTitle(QStringLiteral("Histogramme"));
    setFixedSize(428, 256);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    auto *top = new QFrame(this);
    top->setGeometry(0, 0, 428, 33);
    top->setFrameShape(QFrame::StyledPanel);
    top->setAutoFillBackground(true);
    QPalette topPal = top->palette();
    topPal.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    top->setPalette(topPal);
    Button1 = new QPushButton(QStringLiteral("Fermer"), top);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(8, 4, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    const QString captions[3] = {QStringLiteral("Rouge"), QStringLiteral("Vert"), QStringLiteral("Bleu")};
    const int xs[3] = {28, 164, 284};
    QCheckBox *boxes[3];
    for (int i = 0; i < 3; ++i) {
        boxes[i] = new QCheckBox(captions[i], this);
        boxes[i]->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        boxes[i]->setGeometry(xs[i], 230, 120, 20);
        boxes[i]->setChecked(true);
        connect(boxes[i], &QCheckBox::clicked, this, &THisto::CheckBox1Click);
    }
    CheckBox1 = boxes[0], CheckBox2 = boxes[1], CheckBox3 = boxes[2];
}

void THisto::Init(const QImage &graphic)
{
    m_sample = stretchTo(graphic, kSampleWidth, kSampleHeight);
    Recalcule();
}

void THisto::Recalcule()
{
    {
        ProgressScope scope(m_progress);
        m_tables = computeHistogram(m_sample, scope.progress());
    }
    CheckBox1->setText(QStringLiteral("Rouges (%1)").arg(m_tables.redLevels));
    CheckBox2->setText(QStringLiteral("Verts (%1)").arg(m_tables.greenLevels));
    CheckBox3->setText(QStringLiteral("Bleus (%1)").arg(m_tables.blueLevels));
    update();
}

void THisto::Axes(QPainter &p) const
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(QPoint(30, 50), QPoint(399, 199)), Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(30, 200, 30, 50);
    p.drawLine(30, 200, 400, 200);
    const QFontMetrics fm(p.font());
    p.drawText(30, 202 + fm.ascent(), QStringLiteral("0"));
    p.drawText(185, 202 + fm.ascent(), QStringLiteral("127"));
    p.drawText(370, 202 + fm.ascent(), QStringLiteral("255"));
    struct Channel {
        const QCheckBox *box;
        const std::array<int, 32> &bins;
        QColor colour;
        int offset;
    };
    const Channel channels[3] = {{CheckBox1, m_tables.redBins, QColor(255, 0, 0), 34},
                                 {CheckBox2, m_tables.greenBins, QColor(0, 128, 0), 38},
                                 {CheckBox3, m_tables.blueBins, QColor(0, 0, 255), 42}};
    for (const Channel &c : channels) {
        if (!c.box->isChecked())
            continue;
        p.setPen(QPen(c.colour, 1));
        // A line from (x, 200) up to (x, 200 - bin), its end point left out.
        for (int k = 0; k < 32; ++k)
            if (c.bins[size_t(k)] > 0)
                p.drawLine(11 * k + c.offset, 200, 11 * k + c.offset, 200 - c.bins[size_t(k)] + 1);
    }
    p.setPen(QPen(Qt::black, 1));
}

QImage THisto::chart() const
{
    QImage img(size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(font());
    Axes(p);
    return img;
}

void THisto::CheckBox1Click() { update(); }

void THisto::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    Axes(p);
}

} // namespace vermeo::colour
