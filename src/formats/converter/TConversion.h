#pragma once
// The batch conversion under way: how many files are done, and "Annuler", which stops
// after the files being converted. The conversion runs beside the window, which closes
// by itself when it is over.
#include "BatchConversion.h"

#include <QDialog>
#include <atomic>
#include <optional>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vermeo::formats {

class TConversion : public QDialog {
    Q_OBJECT
public:
    TConversion(QStringList files, QString destination, QString format, QWidget *parent = nullptr);
    ~TConversion() override;

    // Once the conversion is over (waits for it): what was converted; throws the
    // VermeoError that stopped it before any file (unknown format, missing folder).
    ConversionReport Result();
    bool stopRequested() const { return m_stop.load(); }

    QLabel *Label1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *Button1 = nullptr; // "Annuler"

public slots:
    void Button1Click();
    // Escape and the close box ask for the stop too; the window closes when it is over.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void start();
    void showProgress();
    void finished();

    QStringList m_files;
    QString m_destination, m_format;
    std::thread m_worker;
    std::atomic<bool> m_stop{false}, m_over{false};
    std::atomic<int> m_done{0};
    ConversionReport m_report;
    std::optional<QString> m_error;
};

} // namespace vermeo::formats
