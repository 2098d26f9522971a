#include "app/screensaver_window.h"

#include "app/band_drawing.h"
#include "slideshow/slide_frame.h"

#include <QPaintEvent>
#include <QPainter>

namespace mandalix {

namespace {

constexpr std::chrono::milliseconds kFramePoll{16};

} // namespace

ScreensaverWindow::ScreensaverWindow(const Clock& clock, const SlideShowSettings& settings, QWindow* parent)
    : QRasterWindow(parent)
    , m_clock(clock)
    , m_settings(settings)
{
    // The keys and the pointer are the screensaver's host's: they go through to the window
    // below, and this one never takes the focus.
    setFlags(flags() | Qt::FramelessWindowHint | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    connect(&m_poll, &QTimer::timeout, this, &ScreensaverWindow::pollFrame);
    m_poll.start(kFramePoll);
}

ScreensaverWindow::~ScreensaverWindow()
{
    if (m_show)
        m_show->stop();
}

void ScreensaverWindow::resizeEvent(QResizeEvent*)
{
    const qreal ratio = devicePixelRatio();
    const QSize sizePx(qRound(width() * ratio), qRound(height() * ratio));
    // A preview (XScreenSaver's settings show a small one) may be smaller than the
    // window's picture: the frame is then as small as the window.
    const Result<QRect> frame = slideFrameFor(sizePx, 1);
    if (!frame.ok || frame.value == m_frame)
        return;
    const bool isSameSide = m_show && frame.value.width() == m_frame.width();
    m_frame = frame.value;
    if (!isSameSide) {
        m_show.reset();
        SlideShowSettings settings = m_settings;
        settings.sidePx = m_frame.width();
        settings.saveSize = {};
        m_show = std::make_unique<SlideShow>(WindowState{}, m_clock, Drives{}, settings, SlideShowSink{});
        m_frameChanges = 0;
        m_show->start();
    }
    update();
}

void ScreensaverWindow::pollFrame()
{
    if (!m_show || m_show->painter().changes() == m_frameChanges)
        return;
    m_frameChanges = m_show->painter().changes();
    const qreal ratio = devicePixelRatio();
    update(QRectF(m_frame.topLeft() / ratio, m_frame.size() / ratio).toAlignedRect());
}

void ScreensaverWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatio();
    const QRectF target(m_frame.topLeft() / ratio, m_frame.size() / ratio);
    if (!target.contains(event->rect()))
        painter.fillRect(event->rect(), Qt::black);
    if (!m_show)
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_show->painter().withFrame([&](const QImage& frame) { drawInBands(painter, target.topLeft(), frame, ratio); });
}

} // namespace mandalix
