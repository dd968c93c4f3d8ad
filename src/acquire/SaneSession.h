#pragma once
// The scanner session through SANE. One session per process; it climbs and descends
// its seven states one step at a time, and every step first checks that the session
// stands where the step starts, doing nothing otherwise:
//   1 no session, 2 library initialised, 3 devices listed, 4 device open,
//   5 options set (ready to scan), 6 scan started (frame parameters known), 7 reading.
// Every command brings the session back to state 1 with shutdown().
#include "ScanFrames.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <atomic>

namespace vermeo::acquire {

enum class SessionState {
    NoSession = 1,
    LibraryReady = 2,
    DevicesListed = 3,
    DeviceOpen = 4,
    Configured = 5,
    ScanStarted = 6,
    Reading = 7,
};

// Where a session failed first; kept with the scanner's status until the next command.
enum class AcquireError {
    None = 0,
    Init = 1,
    NoDevice = 2,
    Open = 3,
    Option = 4,
    Start = 5,
    Read = 6,
    Format = 7,
    TooLarge = 8,
};

// The text of a SANE status code: its name and what it means, in French.
QString statusName(int status);
QString statusText(int status);

struct DeviceInfo {
    QString name, vendor, model, type;
    QString label() const; // "Vendor Model (name)"
};

// What the user chose in the source dialog; the default of later scans.
struct ScanSettings {
    QString device;       // empty: the first device listed
    QString source;       // "source" option, empty: the device's own
    QString mode;         // "mode" option, empty: the device's own
    int resolution = 150; // dots per inch, brought into the device's range; 0: the device's own
    // Further options, name and value as text, applied in order after the others.
    QList<QPair<QString, QString>> extra;
};

// The choices a device offers for the source dialog.
struct DeviceChoices {
    QStringList sources, modes;
    QString source, mode;                     // current values
    int minResolution = 0, maxResolution = 0; // 0: no resolution option
    int resolution = 0;
};

// Shared between the scanning thread and the window showing its progress.
struct ScanControl {
    std::atomic<bool> cancel{false};
    std::atomic<int> percent{0}; // of the current page
    std::atomic<int> page{0};    // 1-based page being read
};

struct ScanOutcome {
    QList<QImage> images;
    bool cancelled = false;
    QString error; // French, empty when none
};

class SaneSession {
public:
    SaneSession() = default;
    ~SaneSession();
    SaneSession(const SaneSession &) = delete;
    SaneSession &operator=(const SaneSession &) = delete;

    SessionState state() const { return SessionState(m_state.load()); }

    // Going up, one step each; false (and the first error recorded) when the step fails
    // or the session does not stand where the step starts.
    bool initialise();                            // 1 -> 2
    bool listDevices();                           // 2 -> 3
    bool openDevice(const QString &name);         // 3 -> 4; empty name: the first device
    bool configure(const ScanSettings &settings); // 4 -> 5
    bool startFrame();                            // 5 -> 6, or 6 -> 6 for the next frame or page
    // 6 -> 7 -> 6: reads one frame into rawFrame(); false on error or cancel.
    bool readFrame(ScanControl &control);

    // Going down.
    void endScan();       // 6 or 7 -> 5 (cancels a scan in progress)
    void unconfigure();   // 5 -> 4
    void closeDevice();   // 4 -> 3
    void forgetDevices(); // 3 -> 2
    void exit();          // 2 -> 1
    void shutdown();      // all the way down to 1

    const QList<DeviceInfo> &devices() const { return m_devices; }
    // Only in state 4 or above.
    DeviceChoices choices();
    // The value of a string option of the open device, empty when it has none.
    QString stringOption(const char *name);
    // True when the open device reads from a document feeder, which may hold several pages.
    bool feederSelected();

    // The frame read last: parameters and raw bytes as the device sent them.
    const RawFrame &frame() const { return m_frame; }

    // The SANE status of the last start or read.
    int lastStatus() const { return m_lastStatus; }
    // After a feeder page, an empty feeder ends the command instead of failing it.
    void setFeederPageDone(bool done) { m_feederPageDone = done; }

    AcquireError firstError() const { return m_error; }
    int firstStatus() const { return m_status; }
    // The first failure in French, naming its cause; empty when none.
    QString errorMessage() const;
    void clearError();
    // Records a failure of the caller's own (a frame it cannot use), unless one is kept.
    void fail(AcquireError error, const QString &detail, int status = 0);

private:
    bool at(SessionState s) const { return m_state.load() == int(s); }
    void setState(SessionState s) { m_state.store(int(s)); }
    bool setOption(const QString &name, const QString &value);
    int optionIndex(const QString &name) const;

    std::atomic<int> m_state{int(SessionState::NoSession)};
    void *m_handle = nullptr; // SANE_Handle
    QList<DeviceInfo> m_devices;
    RawFrame m_frame;
    AcquireError m_error = AcquireError::None;
    int m_status = 0;
    QString m_detail;
    int m_lastStatus = 0;
    bool m_feederPageDone = false;
};

// The process's one session, and the settings chosen in the source dialog.
SaneSession &saneSession();
ScanSettings &scanSettings();

// A whole acquisition from state 1 back to state 1: every page the device delivers
// (several from a document feeder), each frame turned into a picture. Runs on any thread.
ScanOutcome scanImages(SaneSession &session, const ScanSettings &settings, ScanControl &control);
// The devices, from state 1 back to state 1; the French error in error when there is none.
QList<DeviceInfo> findDevices(SaneSession &session, QString *error);

} // namespace vermeo::acquire
