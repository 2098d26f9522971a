#include "app/display_loss_watch.h"

#include <QGuiApplication>
#include <QThread>

#include <xcb/xcb.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace mandalix {

// Qt's xcb platform would give a warning and call exit(1) from inside its event handling,
// with the command worker and the history still running and the picture on show not kept;
// Qt has no signal for the loss, so that warning is the last moment the program gets. A
// message on the GUI thread while libxcb says the connection has broken (the connection is
// asked; Qt's words are not read) ends the program here, skipping the exit handlers that
// would destroy what the threads still use.

namespace {

// Read by the handler on whichever thread gives a message. The watch is used only on
// the GUI thread, which also destroys it; the handler before outlives it.
std::atomic<DisplayLossWatch*> g_watch{nullptr};
std::atomic<QtMessageHandler> g_previous{nullptr};

bool isGuiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// Whether the connection to the X display has broken; false on any other platform.
bool isDisplayLost()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    return connection && xcb_connection_has_error(connection) != 0;
}

} // namespace

DisplayLossWatch::DisplayLossWatch(std::function<void()> onLost)
    : m_onLost(std::move(onLost))
{
    Q_ASSERT(isGuiThread() && !g_watch.load());
    g_previous.store(qInstallMessageHandler(handle));
    g_watch.store(this);
}

DisplayLossWatch::~DisplayLossWatch()
{
    g_watch.store(nullptr);
    qInstallMessageHandler(g_previous.load());
}

void DisplayLossWatch::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (isGuiThread()) {
        DisplayLossWatch* watch = g_watch.load();
        if (watch && isDisplayLost())
            watch->end();
    }
    if (const QtMessageHandler previous = g_previous.load())
        previous(type, context, message);
}

void DisplayLossWatch::end()
{
    // Once: the messages of what follows, and Qt's own, are not ours to act on.
    g_watch.store(nullptr);
    const QByteArray display = qgetenv("DISPLAY");
    std::fprintf(stderr, "mandalix: lost the connection to the display (DISPLAY=%s).\n",
                 display.constData());
    std::fflush(stderr);
    m_onLost();
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(kExitDisplayLost);
}

} // namespace mandalix
