// One line of progress for a long render, rewritten in place on a terminal. It stays
// silent when the output is not a terminal, and until the render has taken a second, so
// short renders and scripts see nothing. One thread; printing cannot fail.
#pragma once

#include <QByteArray>

#include <chrono>
#include <functional>

namespace mandalix {

inline constexpr std::chrono::milliseconds kProgressDelay{1000};

class ProgressLine {
public:
    using Clock = std::chrono::steady_clock;
    using Print = std::function<void(const QByteArray&)>;

    ProgressLine(bool isTerminal, Print print, Clock::time_point start = Clock::now());

    // `stage` has come `done` of `total` steps (total 0: no count to show). Printed
    // only on a terminal, from a second after the start, and when the text changes.
    void update(const char* stage, long long done, long long total, Clock::time_point now = Clock::now());

    // Ends the line, if one was shown.
    void finish();

    bool isShowing() const { return m_isShowing; }

private:
    bool m_isTerminal;
    Print m_print;
    Clock::time_point m_start;
    QByteArray m_shown;
    bool m_isShowing = false;
};

} // namespace mandalix
