// Form1's side of key W: the picture on show, in the window or in the slide show, handed
// to the wallpaper's worker with the size of the screen it is on; the line of how it went
// comes back to the status line, or to the slide show's news.
#include "app/form1.h"

#include "app/slide_show_window.h"

#include <QGuiApplication>
#include <QPointer>

#include <algorithm>
#include <thread>

namespace mandalix {

namespace {

QSize devicePixelsOf(const QScreen& screen)
{
    const qreal ratio = screen.devicePixelRatio();
    return QSize(qRound(screen.geometry().width() * ratio), qRound(screen.geometry().height() * ratio));
}

} // namespace

void Form1::setWallpaper()
{
    QImage shown;
    const PictureRecord record = pictureOnShow();
    {
        std::lock_guard lock(m_program.surfaces.lock);
        shown = m_program.surfaces.Picture1.image();
    }
    startWallpaper(record, shown, screen(), [this](const QString& text, bool) { showHistoryLine(text); });
}

void Form1::setSlideShowWallpaper()
{
    if (!m_slideShow)
        return;
    const std::optional<PictureRecord> record = m_slideShow->pictureOnShow();
    if (!record)
        return;
    QPointer<SlideShowWindow> show = m_slideShow;
    startWallpaper(*record, QImage(), m_slideShow->screen(), [this, show](const QString& text, bool isError) {
        if (show)
            show->showNews(text, isError);
        else
            showHistoryLine(text);
    });
}

void Form1::startWallpaper(const PictureRecord& record, const QImage& shown, QScreen* screen,
                           std::function<void(const QString&, bool isError)> tell)
{
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen) {
        tell(QStringLiteral("Could not set the wallpaper: no screen"), true);
        return;
    }
    if (!m_wallpaper)
        m_wallpaper = std::make_unique<WallpaperWorker>(wallpaperFolderFromEnvironment());
    WallpaperPicture picture{record, shown, devicePixelsOf(*screen),
                             static_cast<int>(std::max(1U, std::thread::hardware_concurrency()))};
    const bool started = m_wallpaper->start(std::move(picture), DesktopSession::fromEnvironment(),
                                            [this, tell](const Result<QString>& line) {
        QMetaObject::invokeMethod(this, [tell, line] { tell(line.ok ? line.value : line.message, !line.ok); },
                                  Qt::QueuedConnection);
    });
    tell(started ? QStringLiteral("Setting the wallpaper...") : QStringLiteral("The wallpaper is still being set"),
         false);
}

bool Form1::waitForWallpaper(std::chrono::milliseconds timeout)
{
    return !m_wallpaper || m_wallpaper->waitIdleFor(timeout);
}

} // namespace mandalix
