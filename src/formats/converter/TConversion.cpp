#include "TConversion.h"

#include "Error.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vermeo::formats {

TConversion::TConversion(QStringList files, QString destination, QString format, QWidget *parent)
    : QDialog(parent),
      m_files(std::move(files)),
      m_destination(std::move(destination)),
      m_format(std::move(format))
{
    setObjectName(QStringLiteral("TConversion"));
    setWindowTitle(QStringLiteral("Conversions multiples"));
    auto *column = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(320);
    column->addWidget(Label1);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, int(m_files.size()));
    column->addWidget(ProgressBar1);
    Button1 = new QPushButton(QStringLiteral("Annuler"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    column->addWidget(Button1, 0, Qt::AlignRight);
    connect(Button1, &QPushButton::clicked, this, &TConversion::Button1Click);
    showProgress();
    // The count follows the files as they are done.
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &TConversion::showProgress);
    poll->start(100);
}

TConversion::~TConversion()
{
    m_stop = true;
    if (m_worker.joinable())
        m_worker.join();
}

void TConversion::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Begun once the window is up, so that its end always finds it open.
    if (!m_worker.joinable() && !m_over)
        QTimer::singleShot(0, this, &TConversion::start);
}

void TConversion::start()
{
    if (m_worker.joinable() || m_over)
        return;
    m_worker = std::thread([this] {
        try {
            m_report = convertFiles(
                m_files, m_destination, m_format, [this](int done, int) { m_done = done; }, &m_stop);
        } catch (const VermeoError &e) {
            m_error = e.message();
        }
        m_over = true;
        QMetaObject::invokeMethod(this, &TConversion::finished, Qt::QueuedConnection);
    });
}

void TConversion::showProgress()
{
    ProgressBar1->setValue(m_done);
    if (!m_stop)
        Label1->setText(QStringLiteral("%1 fichiers convertis sur %2").arg(m_done.load()).arg(m_files.size()));
}

void TConversion::Button1Click()
{
    m_stop = true;
    Button1->setEnabled(false);
    Label1->setText(QStringLiteral("Arrêt après les fichiers en cours..."));
}

void TConversion::reject()
{
    if (m_over)
        QDialog::reject();
    else
        Button1Click();
}

void TConversion::finished()
{
    if (m_worker.joinable())
        m_worker.join();
    showProgress();
    if (isVisible())
        accept();
}

ConversionReport TConversion::Result()
{
    if (!m_worker.joinable() && !m_over)
        start(); // never shown (a test's runner): the conversion still runs
    if (m_worker.joinable())
        m_worker.join();
    if (m_error)
        throw VermeoError(*m_error);
    return m_report;
}

} // namespace vermeo::formats
