#pragma once
// "Sélectionner so&urce...": the scanners SANE finds, and for the chosen one its source
// (flatbed or document feeder), mode and resolution. The choice is the default of the
// scans that follow, for the rest of the run.
#include "SaneSession.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;

namespace vermeo::acquire {

class TSource : public QDialog {
    Q_OBJECT
public:
    // What a device offers, asked when it is chosen in the list.
    using ChoicesOf = std::function<DeviceChoices(const QString &device)>;

    explicit TSource(QWidget *parent = nullptr);
    void Init(const QList<DeviceInfo> &devices, const ScanSettings &current, ChoicesOf choicesOf);
    ScanSettings Result() const;

    QListWidget *ListBox1 = nullptr;
    QComboBox *ComboBox1 = nullptr; // source
    QComboBox *ComboBox2 = nullptr; // mode
    QSpinBox *SpinEdit1 = nullptr;  // resolution
    QPushButton *Button1 = nullptr; // "OK"
    QPushButton *Button2 = nullptr; // "Annuler"

public slots:
    void ListBox1Click();

private:
    QList<DeviceInfo> m_devices;
    ScanSettings m_current;
    ChoicesOf m_choicesOf;
};

// The scan's progress window: page, percent and "Annuler", which asks the scanning
// thread to stop and closes once it has.
class TNumerisation : public QDialog {
    Q_OBJECT
public:
    TNumerisation(QWidget *parent, ScanControl &control);
    // Shows the window until the scanning thread has finished; the window stays modal meanwhile.
    void runUntil(QThread &worker);

    QLabel *Label1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *Button1 = nullptr; // "Annuler"

    void reject() override; // Escape, the close box and "Annuler"

private:
    void Timer1Timer();
    ScanControl &m_control;
};

} // namespace vermeo::acquire
