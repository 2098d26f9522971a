#include "app/screensaver_run.h"

#include "app/display_loss_watch.h"
#include "app/host_window.h"
#include "app/screensaver_window.h"
#include "app/signal_watch.h"
#include "base/exit_codes.h"
#include "program/command_worker.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>

namespace mandalix {

namespace {

int refuse(const QString& message, int status)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return status;
}

} // namespace

int runScreensaver(const ScreensaverOptions& options, std::chrono::milliseconds interval)
{
    const Result<std::uint32_t> root = HostWindow::root();
    if (!root.ok)
        return refuse(root.message, kExitDisplayLost);
    const std::uint32_t host = options.isRoot ? root.value : options.windowId;
    const Result<QSize> size = HostWindow::sizeOf(host);
    if (!size.ok)
        return refuse(size.message, kExitUsage);

    SlideShowSettings settings;
    settings.interval = interval;
    settings.passDuration = kPassDuration;
    settings.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const SystemClock clock;
    // The host's stand-in goes after the window inside it, which it would delete.
    const std::unique_ptr<QWindow> parent(options.isRoot ? nullptr : QWindow::fromWinId(host));
    ScreensaverWindow window(clock, settings, parent.get());
    const auto place = [&window](QSize sizePx) {
        window.setGeometry(QRect(QPoint(0, 0), (QSizeF(sizePx) / window.devicePixelRatio()).toSize()));
    };
    place(size.value);
    if (options.isRoot) {
        // On the root, as a desktop's background is: beside the window manager, below
        // every other window.
        window.setFlag(Qt::X11BypassWindowManagerHint);
        window.show();
        window.lower();
    } else {
        window.show();
    }
    HostWindow watch(host, place, [] { QCoreApplication::exit(0); });
    qGuiApp->installNativeEventFilter(&watch);
    const DisplayLossWatch displayWatch([] { });
    const SignalWatch signalWatch([](int) { QCoreApplication::exit(0); });
    const int status = QCoreApplication::exec();
    qGuiApp->removeNativeEventFilter(&watch);
    return status;
}

} // namespace mandalix
