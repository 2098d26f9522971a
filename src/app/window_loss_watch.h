// Ends the program when the window system takes its window away: the X window destroyed
// from outside (`xdotool windowclose`, a crashed window manager's clean-up) leaves a
// widget with nothing on screen, and Qt would go on running. Installed once by main() on
// the GUI thread; it only watches, and never fails. A connection to the display that
// breaks is DisplayLossWatch's.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>

#include <functional>

namespace mandalix {

class WindowLossWatch final : public QAbstractNativeEventFilter {
public:
    // Calls `onLost` once, on the GUI thread, when `window`'s native window is destroyed
    // by someone else.
    WindowLossWatch(const QWidget& window, std::function<void()> onLost)
        : m_window(window), m_onLost(std::move(onLost)) { }
    WindowLossWatch(const WindowLossWatch&) = delete;
    WindowLossWatch& operator=(const WindowLossWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const QWidget& m_window;
    std::function<void()> m_onLost;
    bool m_isLost = false;
};

} // namespace mandalix
