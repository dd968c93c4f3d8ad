#include "UndoHistory.h"

#include <algorithm>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vermeo {

namespace {
long long g_defaultBudget = 0;
// The histories of all open pictures (all on the user-interface thread), the bytes their
// steps hold, and the order of their steps.
std::vector<UndoHistory *> g_histories;
long long g_allHeld = 0;
unsigned long long g_nextSerial = 0;

long long quarterOfMemory()
{
    const long long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    // A machine that does not say: 1 GB.
    if (pages <= 0 || pageSize <= 0)
        return 1LL << 30;
    return pages * pageSize / 4;
}
} // namespace

long long UndoHistory::defaultBudget() { return g_defaultBudget > 0 ? g_defaultBudget : quarterOfMemory(); }

void UndoHistory::setDefaultBudget(long long bytes) { g_defaultBudget = std::max(0LL, bytes); }

UndoHistory::UndoHistory() : m_budget(defaultBudget()) { g_histories.push_back(this); }

UndoHistory::~UndoHistory()
{
    addHeld(-m_held);
    g_histories.erase(std::find(g_histories.begin(), g_histories.end(), this));
}

long long UndoHistory::allHeldBytes() { return g_allHeld; }

void UndoHistory::addHeld(long long bytes)
{
    m_held += bytes;
    g_allHeld += bytes;
}

void UndoHistory::setBudget(long long bytes)
{
    m_budget = bytes > 0 ? bytes : defaultBudget();
    keepWithinBudget();
}

void UndoHistory::restart(const Picture &current, int zoomLevel, bool matchesFile)
{
    m_steps.clear();
    m_first = m_done = 0;
    addHeld(-m_held);
    m_savedAt = matchesFile ? 0 : -1;
    m_marked = false;
    m_open.open(current, zoomLevel);
}

void UndoHistory::commit(const Picture &current)
{
    dropRedo();
    const bool changesPicture = m_open.changesPicture(current);
    Step step{std::move(m_open), changesPicture, g_nextSerial++};
    addHeld(step.record.heldBytes());
    m_steps.push_back(std::move(step));
    ++m_done;
    m_open = UndoRecord();
    m_marked = false;
    keepWithinBudget();
}

bool UndoHistory::settle(const Picture &current, int zoomLevel)
{
    // A change of the zoom level alone is no reason to lose what "Rétablir" could do.
    const bool change = redoSteps() > 0 ? m_open.changesPicture(current) : m_open.holdsChange(current, zoomLevel);
    if (change)
        commit(current);
    return change;
}

void UndoHistory::mark(const Picture &current, int zoomLevel)
{
    settle(current, zoomLevel);
    m_open.open(current, zoomLevel);
    m_marked = true;
}

bool UndoHistory::dropRedoIfChanged(const Picture &current)
{
    if (redoSteps() == 0 || !m_open.changesPicture(current))
        return false;
    dropRedo();
    return true;
}

void UndoHistory::dropRedo()
{
    if (m_savedAt > m_done)
        m_savedAt = -1;
    while (redoSteps() > 0) {
        addHeld(-m_steps.back().record.heldBytes());
        m_steps.pop_back();
    }
}

void UndoHistory::keepWithinBudget()
{
    // The budget holds for the histories of all open pictures together: the oldest step
    // of any goes first, and each keeps its last step done, so its first "Annuler" works.
    while (g_allHeld + m_open.heldBytes() > m_budget) {
        UndoHistory *oldest = nullptr;
        for (UndoHistory *h : g_histories)
            if (h->undoSteps() > 1 && (!oldest || h->m_steps.front().serial < oldest->m_steps.front().serial))
                oldest = h;
        if (!oldest)
            break;
        oldest->dropOldest();
    }
}

void UndoHistory::dropOldest()
{
    addHeld(-m_steps.front().record.heldBytes());
    m_steps.pop_front();
    ++m_first;
    if (m_savedAt >= 0 && m_savedAt < m_first)
        m_savedAt = -1;
}

bool UndoHistory::prepareUndo(const Picture &current, int zoomLevel)
{
    const bool marked = std::exchange(m_marked, false);
    if (settle(current, zoomLevel))
        return true;
    return !marked && undoSteps() > 0;
}

QRect UndoHistory::undo(Picture &current, int &zoomLevel)
{
    Step &step = stepAt(m_done - 1);
    const long long before = step.record.heldBytes();
    const QRect changed = step.record.swap(current, zoomLevel);
    addHeld(step.record.heldBytes() - before);
    --m_done;
    m_open.open(current, zoomLevel);
    m_marked = false;
    return changed;
}

bool UndoHistory::canRedo(const Picture &current) const { return redoSteps() > 0 && !m_open.changesPicture(current); }

QRect UndoHistory::redo(Picture &current, int &zoomLevel)
{
    Step &step = stepAt(m_done);
    const long long before = step.record.heldBytes();
    const QRect changed = step.record.swap(current, zoomLevel);
    addHeld(step.record.heldBytes() - before);
    ++m_done;
    m_open.open(current, zoomLevel);
    m_marked = false;
    return changed;
}

void UndoHistory::markSaved(const Picture &current, int zoomLevel)
{
    if (settle(current, zoomLevel))
        m_open.open(current, zoomLevel);
    m_savedAt = m_done;
}

bool UndoHistory::atSavePoint(const Picture &current) const
{
    if (m_savedAt < 0 || m_open.changesPicture(current))
        return false;
    const long long from = std::min(m_savedAt, m_done), to = std::max(m_savedAt, m_done);
    for (long long s = from; s < to; ++s)
        if (m_steps[size_t(s - m_first)].changesPicture)
            return false;
    return true;
}

} // namespace vermeo
