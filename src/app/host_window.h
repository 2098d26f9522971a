// The X window the screensaver paints into: another program's (XScreenSaver's) or the
// screen's root. Looked up and watched on Qt's own connection to the display, so its
// events arrive with Qt's. GUI thread only, after the application object; a window that
// is not there, or a display that is not X's, comes back as a sentence.
#pragma once

#include "base/result.h"

#include <QAbstractNativeEventFilter>
#include <QSize>

#include <cstdint>
#include <functional>

namespace mandalix {

class HostWindow final : public QAbstractNativeEventFilter {
public:
    // The root window of Qt's first screen.
    static Result<std::uint32_t> root();
    // The window's size in device pixels; fails when there is no such window.
    static Result<QSize> sizeOf(std::uint32_t window);

    // Watches `window` (which must exist): `onResized` gets its new size in device pixels,
    // `onGone` is called once when it is destroyed. Install it with
    // QCoreApplication::installNativeEventFilter.
    HostWindow(std::uint32_t window, std::function<void(QSize)> onResized, std::function<void()> onGone);
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const std::uint32_t m_window;
    std::function<void(QSize)> m_onResized;
    std::function<void()> m_onGone;
    QSize m_size;
    bool m_isGone = false;
};

} // namespace mandalix
