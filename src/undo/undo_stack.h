// The steps that undo and redo move between: what the picture and the strip showed after
// each command that changed them, oldest first, with a mark at the one on show. Owned by
// the program and used by the thread that runs the commands; nothing fails: an undo with
// nothing before, or a redo with nothing after, answers nothing and changes nothing.
#pragma once

#include "undo/picture_step.h"

#include <cstddef>
#include <deque>

namespace mandalix {

// How many steps back undo reaches.
inline constexpr std::size_t kUndoSteps = 100;

class UndoStack {
public:
    explicit UndoStack(std::size_t undoSteps = kUndoSteps) : m_undoSteps(undoSteps) { }

    // Makes `step` the one on show: the steps after the one on show (the redo steps)
    // are dropped, and the oldest goes when more than undoSteps lie behind it.
    void push(PictureStep step);

    // The step on show, or nullptr before the first push.
    const PictureStep* current() const;

    // Moves the mark one step back or forth; answers the step now on show, or nullptr
    // (mark unchanged) when there is none that way.
    const PictureStep* undo();
    const PictureStep* redo();

    bool canUndo() const { return m_current > 0; }
    bool canRedo() const { return m_current + 1 < m_steps.size(); }
    std::size_t size() const { return m_steps.size(); }
    // The memory the kept pixels hold.
    std::size_t bytes() const;

private:
    std::size_t m_undoSteps;
    std::deque<PictureStep> m_steps;
    std::size_t m_current = 0; // index of the step on show, when there is one
};

} // namespace mandalix
