#include "TSource.h"

#include "DialogRunner.h"
#include "NumberBox.h"
#include "SaneTexts.h"

#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QTimer>

namespace vermeo::acquire {

namespace {
// Title and close box only: no minimise or maximise button on a fixed dialog.
constexpr Qt::WindowFlags kFixedDialog = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

QLabel *label(QWidget *parent, const QString &text, int x, int y)
{
    auto *l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

// Fills a combo with the device's values, shown in French (each item keeps SANE's own
// value), the wished one selected when offered.
void fillCombo(QComboBox *combo, const QStringList &values, const QString &wished, const QString &current)
{
    combo->clear();
    for (const QString &v : values)
        combo->addItem(saneFrench(v), v);
    const int at = values.indexOf(wished);
    combo->setCurrentIndex(at >= 0 ? at : std::max(0, int(values.indexOf(current))));
    combo->setEnabled(!values.isEmpty());
}
} // namespace

TSource::TSource(QWidget *parent) : QDialog(parent, kFixedDialog)
{
    setWindowTitle(QStringLiteral("Sélectionner la source"));
    setFixedSize(440, 250);
    label(this, QStringLiteral("Scanners disponibles :"), 10, 10);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(10, 30, 320, 110);
    label(this, QStringLiteral("Source :"), 10, 154);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(100, 150, 230, 26);
    label(this, QStringLiteral("Mode :"), 10, 186);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setGeometry(100, 182, 230, 26);
    label(this, QStringLiteral("Résolution :"), 10, 218);
    SpinEdit1 = new NumberBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setGeometry(100, 214, 120, 26);
    SpinEdit1->setSuffix(QStringLiteral(" ppp"));
    Button1 = placedButton(this, "Button1", QStringLiteral("OK"), 348, 30, {80, 26});
    Button2 = placedButton(this, "Button2", QStringLiteral("Annuler"), 348, 66, {80, 26});
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TSource::ListBox1Click);
    // A double click on a scanner chooses it.
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

void TSource::Init(const QList<DeviceInfo> &devices, const ScanSettings &current, ChoicesOf choicesOf)
{
    m_devices = devices;
    m_current = current;
    m_choicesOf = std::move(choicesOf);
    ListBox1->clear();
    int chosen = 0;
    for (int i = 0; i < devices.size(); ++i) {
        ListBox1->addItem(devices[i].label());
        if (devices[i].name == current.device)
            chosen = i;
    }
    ListBox1->setCurrentRow(devices.isEmpty() ? -1 : chosen);
    ListBox1->setFocus();
}

void TSource::ListBox1Click()
{
    const int row = ListBox1->currentRow();
    const DeviceChoices c = row >= 0 && m_choicesOf ? m_choicesOf(m_devices[row].name) : DeviceChoices{};
    // The earlier choice stands for the same scanner; another scanner starts from its own values.
    const bool same = row >= 0 && m_devices[row].name == m_current.device;
    fillCombo(ComboBox1, c.sources, same ? m_current.source : QString(), c.source);
    fillCombo(ComboBox2, c.modes, same ? m_current.mode : QString(), c.mode);
    const bool hasResolution = c.maxResolution > 0;
    SpinEdit1->setEnabled(hasResolution);
    SpinEdit1->setRange(hasResolution ? std::max(1, c.minResolution) : 0, hasResolution ? c.maxResolution : 0);
    // The wished resolution is brought into the device's range, as the scan will do.
    SpinEdit1->setValue(m_current.resolution > 0 ? m_current.resolution : c.resolution);
}

ScanSettings TSource::Result() const
{
    ScanSettings s = m_current;
    const int row = ListBox1->currentRow();
    if (row < 0)
        return s;
    s.device = m_devices[row].name;
    s.source = ComboBox1->isEnabled() ? ComboBox1->currentData().toString() : QString();
    s.mode = ComboBox2->isEnabled() ? ComboBox2->currentData().toString() : QString();
    s.resolution = SpinEdit1->isEnabled() ? SpinEdit1->value() : 0;
    return s;
}

TNumerisation::TNumerisation(QWidget *parent, ScanControl &control) : QDialog(parent, kFixedDialog), m_control(control)
{
    setObjectName(QStringLiteral("TNumerisation"));
    setWindowTitle(QStringLiteral("Acquisition"));
    setFixedSize(340, 110);
    Label1 = label(this, QStringLiteral("Numérisation de la page 1..."), 12, 12);
    Label1->setFixedWidth(316);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(12, 38, 316, 22);
    ProgressBar1->setRange(0, 100);
    Button1 = placedButton(this, "Button1", QStringLiteral("Annuler"), 130, 72, {80, 26});
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TNumerisation::reject);
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &TNumerisation::Timer1Timer);
    timer->start(50);
}

void TNumerisation::Timer1Timer()
{
    if (m_control.cancel.load())
        return;
    Label1->setText(QStringLiteral("Numérisation de la page %1...").arg(std::max(1, m_control.page.load())));
    ProgressBar1->setValue(std::clamp(m_control.percent.load(), 0, 100));
}

void TNumerisation::reject()
{
    // The window closes when the scanning thread has let the scanner go, not before.
    m_control.cancel.store(true);
    Label1->setText(QStringLiteral("Annulation..."));
    Button1->setEnabled(false);
}

void TNumerisation::runUntil(QThread &worker)
{
    QEventLoop loop;
    connect(&worker, &QThread::finished, &loop, &QEventLoop::quit);
    setWindowModality(Qt::ApplicationModal);
    show();
    if (!worker.isFinished())
        loop.exec();
    hide();
}

} // namespace vermeo::acquire
