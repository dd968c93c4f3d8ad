#include "MappedFile.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace vermeo {

namespace {

// The mappings a bus error may fall in, looked up by the signal handler: a fixed table,
// since a handler may neither lock nor allocate.
struct Slot {
    std::atomic<bool> used{false};
    std::atomic<std::uintptr_t> begin{0}, end{0};
    std::atomic<bool> hit{false};
};
constexpr int kSlots = 64;
Slot g_slots[kSlots];
std::uintptr_t g_page = 4096;
struct sigaction g_previous = {};

void onBusError(int sig, siginfo_t *info, void *context)
{
    // Only a fault has an address (a signal sent by a program has none).
    const bool fault = info->si_code > 0;
    const auto at = fault ? reinterpret_cast<std::uintptr_t>(info->si_addr) : 0;
    for (Slot &s : g_slots) {
        const std::uintptr_t begin = s.begin.load(), end = s.end.load();
        if (at < begin || at >= end)
            continue;
        // The page that went and every one after it read as zeros from now on; the
        // reader asks damaged() before it trusts what it made.
        const std::uintptr_t page = at & ~(g_page - 1);
        if (::mmap(reinterpret_cast<void *>(page), end - page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
                   0) != MAP_FAILED) {
            s.hit.store(true);
            return;
        }
    }
    // A bus error elsewhere is handled as it was before ours was set.
    if (g_previous.sa_flags & SA_SIGINFO) {
        g_previous.sa_sigaction(sig, info, context);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(sig);
    } else if (g_previous.sa_handler == SIG_IGN && !fault) {
        return;
    } else {
        // Delivered again once this handler returns, it ends the process as it would have.
        struct sigaction plain = {};
        plain.sa_handler = SIG_DFL;
        sigemptyset(&plain.sa_mask);
        ::sigaction(SIGBUS, &plain, nullptr);
        ::raise(sig);
    }
}

void installHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        g_page = std::uintptr_t(::sysconf(_SC_PAGESIZE));
        struct sigaction a = {};
        a.sa_sigaction = onBusError;
        a.sa_flags = SA_SIGINFO;
        sigemptyset(&a.sa_mask);
        ::sigaction(SIGBUS, &a, &g_previous);
    });
}

std::uintptr_t roundedLength(qint64 size) { return (std::uintptr_t(size) + g_page - 1) & ~(g_page - 1); }

} // namespace

MappedFile::MappedFile(const FileSource &file) : m_size(file.size())
{
    installHandler();
    if (m_size <= 0)
        return;
    for (int i = 0; i < kSlots && m_slot < 0; ++i) {
        bool expected = false;
        if (g_slots[i].used.compare_exchange_strong(expected, true))
            m_slot = i;
    }
    if (m_slot < 0)
        return;
    // Pages are mapped as they are first read, by the threads reading them (a mapping
    // made and dropped unread costs next to nothing).
    void *at = ::mmap(nullptr, size_t(m_size), PROT_READ, MAP_SHARED, file.handle(), 0);
    if (at == MAP_FAILED) {
        g_slots[m_slot].used.store(false);
        m_slot = -1;
        return;
    }
    m_data = static_cast<const uchar *>(at);
    Slot &s = g_slots[m_slot];
    s.hit.store(false);
    s.end.store(reinterpret_cast<std::uintptr_t>(m_data) + roundedLength(m_size));
    s.begin.store(reinterpret_cast<std::uintptr_t>(m_data));
}

MappedFile::~MappedFile()
{
    if (m_slot < 0)
        return;
    Slot &s = g_slots[m_slot];
    s.begin.store(0);
    s.end.store(0);
    ::munmap(const_cast<uchar *>(m_data), roundedLength(m_size));
    s.used.store(false);
}

bool MappedFile::damaged() const { return m_slot >= 0 && g_slots[m_slot].hit.load(); }

} // namespace vermeo
