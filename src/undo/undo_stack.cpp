#include "undo/undo_stack.h"

namespace mandalix {

void UndoStack::push(PictureStep step)
{
    if (!m_steps.empty())
        m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_current) + 1, m_steps.end());
    m_steps.push_back(std::move(step));
    while (m_steps.size() > m_undoSteps + 1)
        m_steps.pop_front();
    m_current = m_steps.size() - 1;
}

const PictureStep* UndoStack::current() const
{
    return m_steps.empty() ? nullptr : &m_steps[m_current];
}

const PictureStep* UndoStack::undo()
{
    if (!canUndo())
        return nullptr;
    --m_current;
    return &m_steps[m_current];
}

const PictureStep* UndoStack::redo()
{
    if (!canRedo())
        return nullptr;
    ++m_current;
    return &m_steps[m_current];
}

std::size_t UndoStack::bytes() const
{
    std::size_t total = 0;
    for (const PictureStep& step : m_steps)
        total += step.bytes();
    return total;
}

} // namespace mandalix
