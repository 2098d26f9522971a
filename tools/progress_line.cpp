#include "progress_line.h"

namespace mandalix {

ProgressLine::ProgressLine(bool isTerminal, Print print, Clock::time_point start)
    : m_isTerminal(isTerminal)
    , m_print(std::move(print))
    , m_start(start)
{
}

void ProgressLine::update(const char* stage, long long done, long long total, Clock::time_point now)
{
    if (!m_isTerminal || now - m_start < kProgressDelay)
        return;
    QByteArray text = QByteArray("mandalix-render: ") + stage;
    if (total > 0)
        text += ' ' + QByteArray::number(done * 100 / total) + '%';
    if (text == m_shown)
        return;
    // Blanks after the text wipe what is left of a longer line before it.
    const qsizetype wipe = std::max<qsizetype>(0, m_shown.size() - text.size());
    m_print('\r' + text + QByteArray(wipe, ' '));
    m_shown = text;
    m_isShowing = true;
}

void ProgressLine::finish()
{
    if (m_isShowing)
        m_print("\n");
    m_isShowing = false;
    m_shown.clear();
}

} // namespace mandalix
