#include "TEffets.h"

#include "DialogRunner.h"
#include "EffectTable.h"
#include "GeometryKernels.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <cmath>

namespace vermeo::geometry {

QSize effectPreviewBox(int w, int h)
{
    int bw = TEffets::kBoxWidth, bh = TEffets::kBoxHeight;
    if (w > bw && h > bh) {
        const double ratio = double(h) / double(w);
        if (ratio >= 1)
            bw = int(std::nearbyint(bw / ratio));
        else
            bh = int(std::nearbyint(ratio * bw));
    }
    return {std::max(1, bw), std::max(1, bh)};
}

TEffets::TEffets(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Effets spéciaux"));
    setFixedSize(490, 249);
    m_boxOrigin = QPoint(8, 8);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(m_boxOrigin, QSize(kBoxWidth, kBoxHeight)));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(225, 8, 160, 233);
    for (const EffectEntry &e : effectTable())
        ListBox1->addItem(e.name());
    Button1 = placedButton(this, "Button1", QStringLiteral("Aperçu"), 400, 8);
    Button2 = placedButton(this, "Button2", QStringLiteral("Rétablir"), 400, 40);
    Button4 = placedButton(this, "Button4", QStringLiteral("OK"), 400, 184);
    Button3 = placedButton(this, "Button3", QStringLiteral("Annuler"), 400, 216);
    // Enter means "OK"; Escape is "Annuler".
    Button4->setDefault(true);
    setTabOrder(ListBox1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button4);
    setTabOrder(Button4, Button3);
    connect(Button1, &QPushButton::clicked, this, &TEffets::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TEffets::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TEffets::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TEffets::Button4Click);
    ListBox1->setFocus();
}

void TEffets::Init(const QImage &picture)
{
    m_accepted = false;
    m_working = picture;
    m_workingChanged = false;
    // Before any "Aperçu", "Rétablir" goes back to the picture itself.
    if (m_previous.isNull()) {
        m_previous = m_working;
        m_previousChanged = m_workingChanged;
    }
    showWorking();
}

bool TEffets::Result(QImage &bitmap) const
{
    if (!m_accepted)
        return false;
    bitmap = m_working;
    return true;
}

void TEffets::Button1Click()
{
    const int row = ListBox1->currentRow();
    const auto table = effectTable();
    if (row >= 0 && row < int(table.size()) && ListBox1->item(row)->isSelected()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_previous = m_working;
        m_previousChanged = m_workingChanged;
        QImage next = m_working;
        applyEffect(next, table[size_t(row)]);
        m_working = next;
        m_workingChanged = true;
        QApplication::restoreOverrideCursor();
    }
    showWorking();
}

void TEffets::Button2Click()
{
    m_working = m_previous;
    m_workingChanged = m_previousChanged;
    showWorking();
}

void TEffets::Button3Click()
{
    m_accepted = false;
    reject();
}

void TEffets::Button4Click()
{
    m_accepted = true;
    accept();
}

void TEffets::showWorking()
{
    // The box starts from its full size each time, so one fitting never narrows the next.
    const QSize box = effectPreviewBox(m_working.width(), m_working.height());
    Image1->setGeometry(QRect(m_boxOrigin, box));
    if (m_working.isNull()) {
        m_shown = QImage();
        Image1->clear();
        return;
    }
    const bool larger = m_working.width() > kBoxWidth && m_working.height() > kBoxHeight;
    if (!larger)
        m_shown =
            m_working.copy(0, 0, std::min(kBoxWidth, m_working.width()), std::min(kBoxHeight, m_working.height()));
    else
        m_shown = stretchImage(m_working, box.width(), box.height());
    Image1->setPixmap(QPixmap::fromImage(m_shown));
}

} // namespace vermeo::geometry
