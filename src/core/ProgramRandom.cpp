#include "ProgramRandom.h"

#include <QDateTime>
#include <atomic>

namespace vermeo {

namespace {
// Starts from a fixed state, so a run that never reseeds is repeatable.
std::atomic<std::uint64_t> g_state{0};
std::optional<std::uint64_t> g_pinned;
} // namespace

int ProgramRandom::next(int n) { return drawAt(reserve(1), 0, n); }

void ProgramRandom::seed(std::uint64_t s) { g_state = s; }

void ProgramRandom::seedFromClock() { seed(g_pinned ? *g_pinned : std::uint64_t(QDateTime::currentMSecsSinceEpoch())); }

void ProgramRandom::pinClockSeed(std::optional<std::uint64_t> s) { g_pinned = s; }

std::uint64_t ProgramRandom::clockSeed()
{
    return g_pinned ? *g_pinned : std::uint64_t(QDateTime::currentMSecsSinceEpoch());
}

std::uint64_t ProgramRandom::reserve(std::uint64_t count) { return g_state.fetch_add(count * kGamma); }

} // namespace vermeo
