#pragma once
// The undo history of a document: the steps already done, which "Annuler" takes back
// one at a time, the steps taken back, which "Rétablir" does again, and the record of
// the change in progress. A step is an undo record that the history exchanges with the
// picture (UndoRecord::swap), so a step taken back holds what redoing needs in the
// same memory. The history keeps the state of the last save or load (the save point).
// The histories of all open pictures together hold no more than the budget: the oldest
// steps go first.
#include "UndoRecord.h"

#include <deque>

namespace vermeo {

class UndoHistory {
public:
    UndoHistory();
    ~UndoHistory();
    UndoHistory(const UndoHistory &) = delete;
    UndoHistory &operator=(const UndoHistory &) = delete;

    // The memory the histories of all open pictures may hold together, as checked when this
    // one grows: a quarter of the machine's memory, unless set for all histories made
    // afterwards (0 gives the machine's quarter back).
    static long long defaultBudget();
    static void setDefaultBudget(long long bytes);
    void setBudget(long long bytes);
    long long budget() const { return m_budget; }

    // No steps; the record of the next change opens on current. With matchesFile, current
    // is the save point; otherwise no state of the history is.
    void restart(const Picture &current, int zoomLevel, bool matchesFile);

    // The record of the change in progress (writes keep their old pixels there).
    UndoRecord &record() { return m_open; }
    const UndoRecord &record() const { return m_open; }

    // SauveUndo: the change in progress becomes a step, and a new record opens on current.
    void mark(const Picture &current, int zoomLevel);
    // The change in progress touched the picture: the steps taken back can no longer be
    // done again. Returns whether any went.
    bool dropRedoIfChanged(const Picture &current);

    // Before "Annuler": makes the change in progress a step. False when there is nothing
    // to take back, which includes the first "Annuler" after a SauveUndo followed by no
    // change (it brings back the state of that SauveUndo, which is the current one).
    bool prepareUndo(const Picture &current, int zoomLevel);
    // Takes the last step back (after prepareUndo said yes). Returns the area changed.
    QRect undo(Picture &current, int &zoomLevel);
    // Whether "Rétablir" has a step to do again now (a change in progress forbids it).
    bool canRedo(const Picture &current) const;
    // Does the step taken back last again (after canRedo said yes).
    QRect redo(Picture &current, int &zoomLevel);

    // Saved or loaded: current is the save point.
    void markSaved(const Picture &current, int zoomLevel);
    // Whether current is the state of the save point in all but the zoom level.
    bool atSavePoint(const Picture &current) const;

    int undoSteps() const { return int(m_done - m_first); }
    int redoSteps() const { return int(m_first + (long long)m_steps.size() - m_done); }
    // Bytes held by the steps and the change in progress.
    long long heldBytes() const { return m_held + m_open.heldBytes(); }
    // Bytes held by the steps of all histories.
    static long long allHeldBytes();

private:
    struct Step {
        UndoRecord record;
        bool changesPicture = false;   // a step of the zoom level alone moves no save point
        unsigned long long serial = 0; // the order of the steps of all histories
    };
    void addHeld(long long bytes);
    void dropOldest();
    void commit(const Picture &current);
    // Makes the change in progress a step when it is one; false when there was none.
    bool settle(const Picture &current, int zoomLevel);
    void dropRedo();
    void keepWithinBudget();
    Step &stepAt(long long state) { return m_steps[size_t(state - m_first)]; }

    std::deque<Step> m_steps; // states m_first .. m_first + size; step i leads from state i to i + 1
    long long m_first = 0;
    long long m_done = 0;    // the state shown, when the record holds no change
    long long m_savedAt = 0; // the save point's state; -1: none can be reached
    UndoRecord m_open;
    // A SauveUndo with no change since: the next "Annuler" gives its state, the current one.
    bool m_marked = false;
    long long m_held = 0;
    long long m_budget;
};

} // namespace vermeo
