#include "app/window_loss_watch.h"

#include <xcb/xcb.h>

namespace mandalix {

bool WindowLossWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (m_isLost || eventType != "xcb_generic_event_t" || !m_window.testAttribute(Qt::WA_WState_Created))
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_DESTROY_NOTIFY)
        return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    if (destroyed->window != static_cast<xcb_window_t>(m_window.winId()))
        return false;
    m_isLost = true;
    m_onLost();
    return false;
}

} // namespace mandalix
