// Ends the program in order when its connection to the X display breaks (the server
// gone): `onLost` keeps what is to be kept, one line goes to stderr, and the status is 1.
// Made once by main() on the GUI thread, after the application object; it takes Qt's
// messages, passing on all but the one that tells of the loss, and never fails.
#pragma once

#include <QtGlobal>

#include <functional>

namespace mandalix {

// Exit status of a program whose display went away, as of one that could not open it.
inline constexpr int kExitDisplayLost = 1;

class DisplayLossWatch {
public:
    // `onLost` runs once, on the GUI thread, with every widget still alive but nothing to
    // draw on: it must not draw, only stop the work and keep what is to be kept.
    explicit DisplayLossWatch(std::function<void()> onLost);
    // Gives Qt's messages back to the handler before.
    ~DisplayLossWatch();
    DisplayLossWatch(const DisplayLossWatch&) = delete;
    DisplayLossWatch& operator=(const DisplayLossWatch&) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    [[noreturn]] void end();

    std::function<void()> m_onLost;
};

} // namespace mandalix
