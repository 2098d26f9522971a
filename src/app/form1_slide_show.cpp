// Form1's side of the slide show: opening it full screen on the window's screen from a
// copy of the window state, and showing its last picture here once it is left.
#include "app/form1.h"
#include "history/picture_history.h"
#include "program/record_painting.h"

#include "app/slide_show_window.h"
#include "slideshow/slide_frame.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>
#include <thread>

namespace mandalix {

void Form1::openSlideShow()
{
    if (m_slideShow) {
        m_slideShow->raise();
        m_slideShow->activateWindow();
        return;
    }
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1;
    const QSize screenPx = screen ? QSize(qRound(screen->geometry().width() * ratio),
                                          qRound(screen->geometry().height() * ratio))
                                  : QSize();
    const Result<QRect> frame = slideFrameFor(screenPx);
    if (!frame.ok) {
        auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("mandalix"),
                                    frame.message, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }

    // The worker writes the state only while it holds the surfaces' lock.
    WindowState window;
    {
        std::lock_guard lock(m_program.surfaces.lock);
        window = m_program.state;
    }
    SlideShowSettings settings;
    settings.sidePx = frame.value.width();
    settings.saveSize = screenPx;
    settings.interval = m_slideInterval;
    settings.passDuration = m_passDuration;
    settings.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    // Every picture the slide show painted to its end is kept in the history, in the
    // slide show's own share: painted again at the window's size and encoded once on the
    // slide show's thread, so the kept file is what its record paints; the history only
    // writes the bytes.
    auto keep = [history = m_history](const PictureRecord& record) {
        if (history)
            history->keep(record, paintKeptPng(record), KeptOrigin::SlideShow);
    };
    m_slideShow = new SlideShowWindow(window, m_program.clock, m_program.drives, settings, keep, this);
    connect(m_slideShow, &SlideShowWindow::left, this, &Form1::leaveSlideShow,
            Qt::QueuedConnection);
    // Ctrl+Q there ends the program as "exit" does here.
    connect(m_slideShow, &SlideShowWindow::exitAsked, this, &QWidget::close, Qt::QueuedConnection);
    connect(m_slideShow, &SlideShowWindow::wallpaperAsked, this, &Form1::setSlideShowWallpaper);
    m_slideShow->setScreen(screen);
    m_slideShow->setGeometry(screen->geometry());
    m_slideShow->showFullScreen();
    m_slideShow->activateWindow();
}

void Form1::leaveSlideShow()
{
    if (!m_slideShow)
        return;
    m_slideShow->leave();
    const std::optional<PictureRecord> last = m_slideShow->pictureOnShow();
    m_slideShow->hide();
    m_slideShow->deleteLater();
    m_slideShow = nullptr;
    if (last)
        post(cmd::ShowRecord{*last});
    activateWindow();
}

} // namespace mandalix
