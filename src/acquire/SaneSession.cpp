#include "SaneSession.h"
#include "Bytes.h"

#include "Error.h"
#include "PixelRows.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace vermeo::acquire {

namespace {
struct StatusEntry {
    const char *name;
    const char *text;
};
// Indexed by the SANE status code.
constexpr StatusEntry kStatus[] = {
    {"SANE_STATUS_GOOD", "réussite"},
    {"SANE_STATUS_UNSUPPORTED", "opération non prise en charge"},
    {"SANE_STATUS_CANCELLED", "opération annulée"},
    {"SANE_STATUS_DEVICE_BUSY", "scanner occupé, réessayez plus tard"},
    {"SANE_STATUS_INVAL", "valeur refusée par le scanner"},
    {"SANE_STATUS_EOF", "fin des données"},
    {"SANE_STATUS_JAMMED", "bourrage de papier dans le chargeur"},
    {"SANE_STATUS_NO_DOCS", "aucun document dans le chargeur"},
    {"SANE_STATUS_COVER_OPEN", "le capot du scanner est ouvert"},
    {"SANE_STATUS_IO_ERROR", "erreur de communication avec le scanner"},
    {"SANE_STATUS_NO_MEM", "mémoire insuffisante"},
    {"SANE_STATUS_ACCESS_DENIED", "accès au scanner refusé"},
    {"SANE_STATUS_WARMING_UP", "la lampe du scanner chauffe encore, réessayez"},
    {"SANE_STATUS_HW_LOCKED", "le scanner est verrouillé pour le transport"},
};
constexpr int kStatusCount = int(std::size(kStatus));

// The French sentence of each first error: %1 the detail, %2 the scanner's status.
struct ErrorEntry {
    AcquireError code;
    const char *format;
};
constexpr ErrorEntry kErrors[] = {
    {AcquireError::Init, "Acquisition : la bibliothèque SANE ne démarre pas (%2)"},
    {AcquireError::NoDevice, "Acquisition : aucun scanner disponible"},
    {AcquireError::Open, "Acquisition : impossible d'ouvrir le scanner « %1 » (%2)"},
    {AcquireError::Option, "Acquisition : le scanner refuse le réglage « %1 » (%2)"},
    {AcquireError::Start, "Acquisition : le scanner ne démarre pas (%2)"},
    {AcquireError::Read, "Acquisition : la lecture de l'image a échoué (%2)"},
    {AcquireError::Format, "%1"},
    {AcquireError::TooLarge, "%1"},
};

// Pages taken from a feeder in one command; the feeder's further pages stay in it.
constexpr int kMaxPages = 100;
constexpr int kReadChunk = 64 * 1024;

SANE_Handle handleOf(void *h) { return static_cast<SANE_Handle>(h); }

QString fromSane(const char *s) { return s ? QString::fromUtf8(s) : QString(); }

bool isFeederSource(const QString &source)
{
    const QString s = source.toLower();
    return s.contains(QLatin1String("adf")) || s.contains(QLatin1String("feeder"));
}
} // namespace

QString statusName(int status)
{
    return status >= 0 && status < kStatusCount ? QString::fromLatin1(kStatus[status].name)
                                                : QStringLiteral("SANE_STATUS_%1").arg(status);
}

QString statusText(int status)
{
    const QString text =
        status >= 0 && status < kStatusCount ? QString::fromUtf8(kStatus[status].text) : QStringLiteral("état inconnu");
    return QStringLiteral("%1, %2").arg(text, statusName(status));
}

QString DeviceInfo::label() const
{
    const QString product = QStringList{vendor, model}.join(QLatin1Char(' ')).trimmed();
    return product.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(product, name);
}

SaneSession::~SaneSession() { shutdown(); }

void SaneSession::fail(AcquireError error, const QString &detail, int status)
{
    if (m_error != AcquireError::None)
        return; // the first failure names the cause; later ones follow from it
    m_error = error;
    m_detail = detail;
    m_status = status;
}

void SaneSession::clearError()
{
    m_error = AcquireError::None;
    m_status = 0;
    m_detail.clear();
}

QString SaneSession::errorMessage() const
{
    for (const ErrorEntry &e : kErrors) {
        if (e.code != m_error)
            continue;
        // Placeholders filled in one pass, so a detail holding "%2" stays as it is.
        const QString format = QString::fromUtf8(e.format);
        QString out;
        for (qsizetype i = 0; i < format.size(); ++i) {
            if (format[i] == QLatin1Char('%') && i + 1 < format.size() &&
                (format[i + 1] == QLatin1Char('1') || format[i + 1] == QLatin1Char('2'))) {
                out += format[i + 1] == QLatin1Char('1') ? m_detail : statusText(m_status);
                ++i;
            } else {
                out += format[i];
            }
        }
        return out;
    }
    return {};
}

bool SaneSession::initialise()
{
    if (!at(SessionState::NoSession))
        return false;
    SANE_Int version = 0;
    const SANE_Status st = sane_init(&version, nullptr);
    if (st != SANE_STATUS_GOOD) {
        fail(AcquireError::Init, {}, st);
        return false;
    }
    setState(SessionState::LibraryReady);
    return true;
}

bool SaneSession::listDevices()
{
    if (!at(SessionState::LibraryReady))
        return false;
    const SANE_Device **list = nullptr;
    const SANE_Status st = sane_get_devices(&list, SANE_FALSE);
    m_devices.clear();
    for (int i = 0; st == SANE_STATUS_GOOD && list && list[i]; ++i)
        m_devices.append(
            {fromSane(list[i]->name), fromSane(list[i]->vendor), fromSane(list[i]->model), fromSane(list[i]->type)});
    if (m_devices.isEmpty()) {
        fail(AcquireError::NoDevice, {}, st);
        return false;
    }
    setState(SessionState::DevicesListed);
    return true;
}

bool SaneSession::openDevice(const QString &name)
{
    if (!at(SessionState::DevicesListed))
        return false;
    const QString device = name.isEmpty() ? m_devices.first().name : name;
    SANE_Handle h = nullptr;
    const SANE_Status st = sane_open(device.toUtf8().constData(), &h);
    if (st != SANE_STATUS_GOOD || !h) {
        fail(AcquireError::Open, device, st);
        return false;
    }
    m_handle = h;
    setState(SessionState::DeviceOpen);
    return true;
}

int SaneSession::optionIndex(const QString &name) const
{
    SANE_Int count = 0;
    if (sane_control_option(handleOf(m_handle), 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return -1;
    const QByteArray wanted = name.toUtf8();
    for (int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor *d = sane_get_option_descriptor(handleOf(m_handle), i);
        if (d && d->name && wanted == d->name)
            return i;
    }
    return -1;
}

bool SaneSession::setOption(const QString &name, const QString &value)
{
    const int i = optionIndex(name);
    const SANE_Option_Descriptor *d = i > 0 ? sane_get_option_descriptor(handleOf(m_handle), i) : nullptr;
    if (!d || !SANE_OPTION_IS_ACTIVE(d->cap) || !SANE_OPTION_IS_SETTABLE(d->cap)) {
        fail(AcquireError::Option, name, SANE_STATUS_UNSUPPORTED);
        return false;
    }
    bool ok = true;
    SANE_Status st = SANE_STATUS_INVAL;
    switch (d->type) {
    case SANE_TYPE_STRING: {
        std::vector<char> text(std::max<SANE_Int>(d->size, 1), '\0');
        const QByteArray utf8 = value.toUtf8();
        std::memcpy(text.data(), utf8.constData(), std::min<size_t>(utf8.size(), text.size() - 1));
        st = sane_control_option(handleOf(m_handle), i, SANE_ACTION_SET_VALUE, text.data(), nullptr);
        break;
    }
    case SANE_TYPE_BOOL: {
        const QString v = value.toLower();
        SANE_Word w = (v == QLatin1String("yes") || v == QLatin1String("oui") || v == QLatin1String("true") ||
                       v == QLatin1String("1"))
                          ? SANE_TRUE
                          : SANE_FALSE;
        st = sane_control_option(handleOf(m_handle), i, SANE_ACTION_SET_VALUE, &w, nullptr);
        break;
    }
    case SANE_TYPE_INT:
    case SANE_TYPE_FIXED: {
        const double v = value.toDouble(&ok);
        // A fixed-point word holds 16 integer bits, an integer word 32.
        const double bound = d->type == SANE_TYPE_FIXED ? 32767.0 : 2147483647.0;
        if (!ok || d->size != SANE_Int(sizeof(SANE_Word)) || !std::isfinite(v) || std::fabs(v) > bound)
            break;
        SANE_Word w = d->type == SANE_TYPE_INT ? SANE_Word(std::lround(v)) : SANE_FIX(v);
        st = sane_control_option(handleOf(m_handle), i, SANE_ACTION_SET_VALUE, &w, nullptr);
        break;
    }
    case SANE_TYPE_BUTTON:
        st = sane_control_option(handleOf(m_handle), i, SANE_ACTION_SET_VALUE, nullptr, nullptr);
        break;
    default: break;
    }
    if (st != SANE_STATUS_GOOD) {
        fail(AcquireError::Option, QStringLiteral("%1 = %2").arg(name, value), st);
        return false;
    }
    return true;
}

namespace {
// The resolution nearest to the wish that the option's constraint allows.
double allowedResolution(const SANE_Option_Descriptor *d, double wish)
{
    const auto value = [d](SANE_Word w) { return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : double(w); };
    if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range) {
        const SANE_Range *r = d->constraint.range;
        double v = std::clamp(wish, value(r->min), value(r->max));
        if (r->quant > 0)
            v = value(r->min) + std::round((v - value(r->min)) / value(r->quant)) * value(r->quant);
        return std::clamp(v, value(r->min), value(r->max));
    }
    if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
        const SANE_Word *list = d->constraint.word_list; // list[0] is the count
        double best = wish, distance = -1;
        for (int k = 1; k <= list[0]; ++k)
            if (const double v = value(list[k]); distance < 0 || std::fabs(v - wish) < distance) {
                best = v;
                distance = std::fabs(v - wish);
            }
        return best;
    }
    return wish;
}
} // namespace

bool SaneSession::configure(const ScanSettings &settings)
{
    if (!at(SessionState::DeviceOpen))
        return false;
    if (!settings.source.isEmpty() && optionIndex(QStringLiteral(SANE_NAME_SCAN_SOURCE)) > 0 &&
        !setOption(QStringLiteral(SANE_NAME_SCAN_SOURCE), settings.source))
        return false;
    if (!settings.mode.isEmpty() && optionIndex(QStringLiteral(SANE_NAME_SCAN_MODE)) > 0 &&
        !setOption(QStringLiteral(SANE_NAME_SCAN_MODE), settings.mode))
        return false;
    if (settings.resolution > 0) {
        const int i = optionIndex(QStringLiteral(SANE_NAME_SCAN_RESOLUTION));
        const SANE_Option_Descriptor *d = i > 0 ? sane_get_option_descriptor(handleOf(m_handle), i) : nullptr;
        // A device without a settable resolution scans at its own.
        if (d && SANE_OPTION_IS_ACTIVE(d->cap) && SANE_OPTION_IS_SETTABLE(d->cap) &&
            !setOption(QStringLiteral(SANE_NAME_SCAN_RESOLUTION),
                       QString::number(allowedResolution(d, settings.resolution), 'f', 3)))
            return false;
    }
    for (const auto &[name, value] : settings.extra)
        if (!setOption(name, value))
            return false;
    setState(SessionState::Configured);
    return true;
}

DeviceChoices SaneSession::choices()
{
    DeviceChoices c;
    if (int(state()) < int(SessionState::DeviceOpen))
        return c;
    const auto stringList = [this](const char *name) {
        QStringList out;
        const int i = optionIndex(QString::fromLatin1(name));
        const SANE_Option_Descriptor *d = i > 0 ? sane_get_option_descriptor(handleOf(m_handle), i) : nullptr;
        if (d && d->type == SANE_TYPE_STRING && d->constraint_type == SANE_CONSTRAINT_STRING_LIST)
            for (const SANE_String_Const *s = d->constraint.string_list; s && *s; ++s)
                out << fromSane(*s);
        return out;
    };
    c.sources = stringList(SANE_NAME_SCAN_SOURCE);
    c.modes = stringList(SANE_NAME_SCAN_MODE);
    c.source = stringOption(SANE_NAME_SCAN_SOURCE);
    c.mode = stringOption(SANE_NAME_SCAN_MODE);
    const int i = optionIndex(QStringLiteral(SANE_NAME_SCAN_RESOLUTION));
    const SANE_Option_Descriptor *d = i > 0 ? sane_get_option_descriptor(handleOf(m_handle), i) : nullptr;
    if (d && (d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED) && d->size == SANE_Int(sizeof(SANE_Word))) {
        c.minResolution = int(std::ceil(allowedResolution(d, 0)));
        c.maxResolution = int(allowedResolution(d, 1e9));
        SANE_Word w = 0;
        if (sane_control_option(handleOf(m_handle), i, SANE_ACTION_GET_VALUE, &w, nullptr) == SANE_STATUS_GOOD)
            c.resolution = int(std::lround(d->type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : w));
    }
    return c;
}

QString SaneSession::stringOption(const char *name)
{
    if (int(state()) < int(SessionState::DeviceOpen))
        return {};
    const int i = optionIndex(QString::fromLatin1(name));
    const SANE_Option_Descriptor *d = i > 0 ? sane_get_option_descriptor(handleOf(m_handle), i) : nullptr;
    if (!d || d->type != SANE_TYPE_STRING || d->size <= 0 || !SANE_OPTION_IS_ACTIVE(d->cap))
        return {};
    std::vector<char> text(d->size + 1, '\0');
    if (sane_control_option(handleOf(m_handle), i, SANE_ACTION_GET_VALUE, text.data(), nullptr) != SANE_STATUS_GOOD)
        return {};
    return QString::fromUtf8(text.data());
}

bool SaneSession::feederSelected() { return isFeederSource(stringOption(SANE_NAME_SCAN_SOURCE)); }

bool SaneSession::startFrame()
{
    if (!at(SessionState::Configured) && !at(SessionState::ScanStarted))
        return false;
    m_lastStatus = sane_start(handleOf(m_handle));
    SANE_Parameters p{};
    if (m_lastStatus == SANE_STATUS_GOOD)
        m_lastStatus = sane_get_parameters(handleOf(m_handle), &p);
    // The session is in a scan from sane_start on, even when it failed: it is ended there.
    setState(SessionState::ScanStarted);
    if (m_lastStatus != SANE_STATUS_GOOD) {
        if (m_lastStatus != SANE_STATUS_CANCELLED && !(m_lastStatus == SANE_STATUS_NO_DOCS && m_feederPageDone))
            fail(AcquireError::Start, {}, m_lastStatus);
        return false;
    }
    m_frame = RawFrame{};
    m_frame.format = p.format;
    m_frame.depth = p.depth;
    m_frame.bytesPerLine = p.bytes_per_line;
    m_frame.pixelsPerLine = p.pixels_per_line;
    m_frame.lines = p.lines;
    m_frame.lastFrame = p.last_frame;
    try {
        checkFrameLayout(m_frame);
        if (m_frame.lines > 0)
            m_frame.bytes.reserve(qsizetype(m_frame.bytesPerLine) * m_frame.lines);
    } catch (const VermeoError &e) {
        fail(AcquireError::Format, e.message());
        return false;
    } catch (const std::bad_alloc &) {
        fail(AcquireError::TooLarge, QStringLiteral("Acquisition : mémoire insuffisante pour l'image"));
        return false;
    }
    return true;
}

bool SaneSession::readFrame(ScanControl &control)
{
    if (!at(SessionState::ScanStarted))
        return false;
    setState(SessionState::Reading);
    const long long expected = m_frame.lines > 0 ? static_cast<long long>(m_frame.bytesPerLine) * m_frame.lines : -1;
    // A device that does not say how long the page is may send as much as we can hold.
    const long long limit = expected > 0 ? expected
                                         : static_cast<long long>(m_frame.bytesPerLine) *
                                               std::min<long long>(kMaxSide, kMaxPixels / m_frame.pixelsPerLine);
    std::vector<SANE_Byte> chunk(kReadChunk);
    for (;;) {
        if (control.cancel.load()) {
            m_lastStatus = SANE_STATUS_CANCELLED;
            return false;
        }
        SANE_Int got = 0;
        m_lastStatus = sane_read(handleOf(m_handle), chunk.data(), kReadChunk, &got);
        if (m_lastStatus == SANE_STATUS_EOF)
            break;
        if (m_lastStatus != SANE_STATUS_GOOD) {
            if (m_lastStatus != SANE_STATUS_CANCELLED)
                fail(AcquireError::Read, {}, m_lastStatus);
            return false;
        }
        const long long room = limit - m_frame.bytes.size();
        if (expected < 0 && got > room) {
            fail(AcquireError::TooLarge,
                 QStringLiteral("Acquisition : l'image envoyée par le scanner est trop grande"));
            return false;
        }
        try {
            // Bytes beyond the announced size are dropped.
            m_frame.bytes.append(charsOf(chunk.data()), qsizetype(std::min<long long>(got, room)));
        } catch (const std::bad_alloc &) {
            fail(AcquireError::TooLarge, QStringLiteral("Acquisition : mémoire insuffisante pour l'image"));
            return false;
        }
        if (expected > 0)
            control.percent.store(int(m_frame.bytes.size() * 100 / expected));
    }
    if (m_frame.lines < 0)
        m_frame.lines = frameRows(m_frame);
    if (m_frame.lines <= 0) {
        fail(AcquireError::Format, QStringLiteral("Acquisition : le scanner n'a envoyé aucune ligne"));
        return false;
    }
    control.percent.store(100);
    setState(SessionState::ScanStarted);
    return true;
}

void SaneSession::endScan()
{
    if (!at(SessionState::Reading) && !at(SessionState::ScanStarted))
        return;
    if (at(SessionState::Reading))
        setState(SessionState::ScanStarted);
    sane_cancel(handleOf(m_handle));
    setState(SessionState::Configured);
}

void SaneSession::unconfigure()
{
    if (at(SessionState::Configured))
        setState(SessionState::DeviceOpen);
}

void SaneSession::closeDevice()
{
    if (!at(SessionState::DeviceOpen))
        return;
    sane_close(handleOf(m_handle));
    m_handle = nullptr;
    setState(SessionState::DevicesListed);
}

void SaneSession::forgetDevices()
{
    if (!at(SessionState::DevicesListed))
        return;
    m_devices.clear();
    setState(SessionState::LibraryReady);
}

void SaneSession::exit()
{
    if (!at(SessionState::LibraryReady))
        return;
    sane_exit();
    setState(SessionState::NoSession);
}

void SaneSession::shutdown()
{
    endScan();
    unconfigure();
    closeDevice();
    forgetDevices();
    exit();
}

SaneSession &saneSession()
{
    static SaneSession session;
    return session;
}

ScanSettings &scanSettings()
{
    static ScanSettings settings;
    return settings;
}

QList<DeviceInfo> findDevices(SaneSession &session, QString *error)
{
    session.clearError();
    QList<DeviceInfo> out;
    if (session.initialise() && session.listDevices())
        out = session.devices();
    if (error)
        *error = session.errorMessage();
    session.shutdown();
    return out;
}

ScanOutcome scanImages(SaneSession &session, const ScanSettings &settings, ScanControl &control)
{
    session.clearError();
    ScanOutcome out;
    if (session.initialise() && session.listDevices() && session.openDevice(settings.device) &&
        session.configure(settings)) {
        const bool feeder = session.feederSelected();
        session.setFeederPageDone(false);
        bool more = true;
        for (int page = 1; more && page <= kMaxPages; ++page) {
            control.page.store(page);
            control.percent.store(0);
            // One page: one frame, or the three bands of a three-pass scanner.
            QImage picture;
            bool pageComplete = false;
            while (session.startFrame() && session.readFrame(control)) {
                try {
                    const RawFrame &f = session.frame();
                    if (f.format == FrameGray || f.format == FrameRgb)
                        picture = frameToImage(f);
                    else
                        mergeBand(picture, f);
                } catch (const VermeoError &e) {
                    session.fail(AcquireError::Format, e.message());
                    break;
                }
                if (session.frame().lastFrame) {
                    pageComplete = true;
                    break;
                }
            }
            if (control.cancel.load() || session.lastStatus() == SANE_STATUS_CANCELLED) {
                out.cancelled = true;
                break;
            }
            if (!pageComplete)
                break;
            out.images.append(picture);
            // A flatbed gives one page; a feeder gives pages until it is empty.
            more = feeder;
            session.setFeederPageDone(true);
        }
    }
    session.shutdown();
    if (out.cancelled)
        out.images.clear(); // the user stopped the command: nothing is opened
    else
        out.error = session.errorMessage();
    return out;
}

} // namespace vermeo::acquire
