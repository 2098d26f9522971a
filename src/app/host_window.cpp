#include "app/host_window.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace mandalix {

namespace {

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_connection_t* connection()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

QString notX()
{
    return QStringLiteral("mandalix: --screensaver paints into X windows, and the display is not X's (platform %1).")
        .arg(QGuiApplication::platformName());
}

} // namespace

Result<std::uint32_t> HostWindow::root()
{
    xcb_connection_t* c = connection();
    if (!c)
        return Result<std::uint32_t>::failure(notX());
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    if (screens.rem == 0)
        return Result<std::uint32_t>::failure(QStringLiteral("mandalix: the display has no screen."));
    return Result<std::uint32_t>::success(screens.data->root);
}

Result<QSize> HostWindow::sizeOf(std::uint32_t window)
{
    xcb_connection_t* c = connection();
    if (!c)
        return Result<QSize>::failure(notX());
    // The error of a missing window is taken here, so it never reaches Qt's log.
    xcb_generic_error_t* error = nullptr;
    const ReplyPointer<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), &error), std::free);
    std::free(error);
    if (!geometry)
        return Result<QSize>::failure(
            QStringLiteral("mandalix: there is no window 0x%1 on the display.").arg(window, 0, 16));
    return Result<QSize>::success(QSize(geometry->width, geometry->height));
}

HostWindow::HostWindow(std::uint32_t window, std::function<void(QSize)> onResized, std::function<void()> onGone)
    : m_window(window)
    , m_onResized(std::move(onResized))
    , m_onGone(std::move(onGone))
{
    xcb_connection_t* c = connection();
    if (!c)
        return;
    // Each client has a mask of its own on a window; Qt may have one on the root already,
    // so structure events are added to it, not put in its place.
    const ReplyPointer<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr), std::free);
    const std::uint32_t mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    if (const Result<QSize> size = sizeOf(window); size.ok)
        m_size = size.value;
}

bool HostWindow::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (m_isGone || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & ~0x80) {
    case XCB_CONFIGURE_NOTIFY: {
        const auto* configure = static_cast<const xcb_configure_notify_event_t*>(message);
        const QSize size(configure->width, configure->height);
        if (configure->window == m_window && size != m_size) {
            m_size = size;
            m_onResized(size);
        }
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (static_cast<const xcb_destroy_notify_event_t*>(message)->window == m_window) {
            m_isGone = true;
            m_onGone();
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace mandalix
