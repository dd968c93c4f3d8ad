// The main window's left tool panel (tools, pen and brush styles, pen width, colour
// swatches) and its colour palette bar.
#include "Icons.h"
#include "NumberBox.h"
#include "TMainForm.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QSpinBox>
#include <QToolButton>

namespace vermeo {

void TMainForm::buildToolPanel()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(54);
    auto *grid = new QGridLayout(Panel1);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(0);
    int row = 0, col = 0;
    auto place = [&](QWidget *w) {
        grid->addWidget(w, row, col);
        if (++col == 2) {
            col = 0;
            ++row;
        }
    };
    auto newRow = [&] {
        if (col != 0) {
            col = 0;
            ++row;
        }
        grid->setRowMinimumHeight(row++, 6);
    };

    // Tools: one exclusive group; the two selection buttons of the upper bar are apart.
    auto *toolGroup = new QButtonGroup(Panel1);
    toolGroup->setObjectName(QStringLiteral("ToolGroup"));
    const auto &tools = toolButtons();
    for (int i = 0; i < int(tools.size()); ++i) {
        const ToolButtonInfo &t = tools[size_t(i)];
        QToolButton *b = qobject_cast<QToolButton *>(m_controls.value(QString::fromLatin1(t.objectName)));
        if (!b) {
            b = makeButton(Panel1, QString::fromLatin1(t.objectName), QString::fromLatin1(t.glyph), t.hint);
            m_childControls << b;
        }
        b->setCheckable(true);
        if (t.inPanelGroup) {
            toolGroup->addButton(b);
            place(b);
        }
        connect(b, &QToolButton::clicked, this, [this, i, toolGroup] {
            toolButtonClick(State, i, active());
            showChosenTool(toolGroup, i);
        });
    }
    qobject_cast<QToolButton *>(m_controls.value("PenButton"))->setChecked(true);

    newRow();
    auto *penGroup = new QButtonGroup(Panel1);
    for (const StyleButtonInfo &info : penStyleButtons()) {
        QToolButton *b =
            makeButton(Panel1, QString::fromLatin1(info.objectName), QStringLiteral("pen%1").arg(info.code), info.hint);
        b->setCheckable(true);
        penGroup->addButton(b);
        m_childControls << b;
        place(b);
        connect(b, &QToolButton::clicked, this,
                [this, code = info.code] { penStyleButtonClick(State, code, active()); });
    }
    qobject_cast<QToolButton *>(m_controls.value("SolidPen"))->setChecked(true);

    newRow();
    auto *brushGroup = new QButtonGroup(Panel1);
    for (const StyleButtonInfo &info : brushStyleButtons()) {
        QToolButton *b = makeButton(Panel1, QString::fromLatin1(info.objectName),
                                    QStringLiteral("brush%1").arg(info.code), info.hint);
        b->setCheckable(true);
        brushGroup->addButton(b);
        m_childControls << b;
        place(b);
        connect(b, &QToolButton::clicked, this,
                [this, code = info.code] { brushStyleButtonClick(State, code, active()); });
    }
    qobject_cast<QToolButton *>(m_controls.value("ClearBrush"))->setChecked(true);

    newRow();
    SpinEdit1 = new NumberBox(Panel1);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 100);
    SpinEdit1->setValue(1);
    SpinEdit1->setToolTip(QStringLiteral("Epaisseur de trait"));
    SpinEdit1->setStatusTip(QStringLiteral("Epaisseur de trait"));
    m_controls.insert("SpinEdit1", SpinEdit1);
    m_childControls << SpinEdit1;
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this](int v) { penWidthChanged(State, v, active()); });
    grid->addWidget(SpinEdit1, row++, 0, 1, 2);
    col = 0;

    newRow();
    auto *Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedSize(50, 40);
    ForeColor = new ColourSwatch(clBlack, Panel2);
    ForeColor->setObjectName(QStringLiteral("ForeColor"));
    ForeColor->setGeometry(2, 2, 28, 20);
    ForeColor->setToolTip(QStringLiteral("Couleur du crayon"));
    ForeColor->setStatusTip(QStringLiteral("Couleur du crayon"));
    Backcolor = new ColourSwatch(clWhite, Panel2);
    Backcolor->setObjectName(QStringLiteral("Backcolor"));
    Backcolor->setGeometry(18, 16, 28, 20);
    Backcolor->setToolTip(QStringLiteral("Couleur de remplissage"));
    Backcolor->setStatusTip(QStringLiteral("Couleur de remplissage"));
    ForeColor->raise();
    m_controls.insert("ForeColor", ForeColor);
    m_controls.insert("Backcolor", Backcolor);
    m_childControls << ForeColor << Backcolor;
    grid->addWidget(Panel2, row++, 0, 1, 2);
    QToolButton *swap = makeButton(Panel1, QStringLiteral("SpeedButton10"), QStringLiteral("swap"),
                                   QStringLiteral("Echanger les couleurs"));
    swap->setFixedSize(22, 18);
    grid->addWidget(swap, row++, 0, 1, 2, Qt::AlignLeft);
    connect(swap, &QToolButton::clicked, this, [this] {
        swapSwatches(State, active());
        syncSwatches();
    });
    connect(ForeColor, &ColourSwatch::clicked, this, [this] {
        swatchClick(State, true, active(), this);
        syncSwatches();
    });
    connect(Backcolor, &ColourSwatch::clicked, this, [this] {
        swatchClick(State, false, active(), this);
        syncSwatches();
    });
    grid->setRowStretch(row, 1);
}

void TMainForm::buildPaletteBar()
{
    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedHeight(27);
    // Every combination of 0, 127 and 255; blue changes slowest, red fastest.
    for (int i = 0; i < kPaletteCount; ++i) {
        auto *s = new ColourSwatch(paletteColour(i), Panel3);
        s->setObjectName(QStringLiteral("Palette%1").arg(i));
        s->setGeometry(58 + 20 * i, 3, 20, 20);
        connect(s, &ColourSwatch::clicked, this, [this, i] {
            paletteClick(State, i, active());
            syncSwatches();
        });
    }
}

void TMainForm::showChosenTool(QButtonGroup *panelTools, int buttonIndex)
{
    // The upper bar's selection buttons stand apart from the panel's group: whichever was
    // chosen last shows pressed, and only it.
    const auto &tools = toolButtons();
    const bool selection = !tools[size_t(buttonIndex)].inPanelGroup;
    for (const ToolButtonInfo &t : tools) {
        auto *b = qobject_cast<QToolButton *>(m_controls.value(QString::fromLatin1(t.objectName)));
        if (!t.inPanelGroup)
            b->setChecked(&t == &tools[size_t(buttonIndex)]);
    }
    if (selection && panelTools->checkedButton()) {
        panelTools->setExclusive(false);
        panelTools->checkedButton()->setChecked(false);
        panelTools->setExclusive(true);
    }
}

} // namespace vermeo
