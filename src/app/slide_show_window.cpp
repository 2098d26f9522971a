#include "app/slide_show_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace mandalix {

namespace {

constexpr std::chrono::milliseconds kFramePoll{16};
constexpr std::chrono::milliseconds kCursorIdle{2000};
constexpr std::chrono::milliseconds kNewsShown{4000};

} // namespace

SlideShowWindow::SlideShowWindow(const WindowState& window, const Clock& clock,
                                 const Drives& drives, const SlideShowSettings& settings,
                                 std::function<void(const PictureRecord&, const QImage&)> onPictureShown,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("SlideShow"));
    setWindowTitle(QStringLiteral("mandalix slide show"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    SlideShowSink sink;
    sink.pictureShown = std::move(onPictureShown);
    sink.news = [this](const QString& text, bool isError) {
        QMetaObject::invokeMethod(
            this, [this, text, isError] { showNews(text, isError); }, Qt::QueuedConnection);
    };
    m_show = std::make_unique<SlideShow>(window, clock, drives, settings, std::move(sink));

    connect(&m_poll, &QTimer::timeout, this, &SlideShowWindow::pollFrame);
    m_poll.start(kFramePoll);
    m_hideCursor.setSingleShot(true);
    connect(&m_hideCursor, &QTimer::timeout, this, [this] { setCursor(Qt::BlankCursor); });
    m_hideCursor.start(kCursorIdle);
    m_hideNews.setSingleShot(true);
    connect(&m_hideNews, &QTimer::timeout, this, [this] {
        m_news.clear();
        update();
    });
    m_show->start();
}

SlideShowWindow::~SlideShowWindow() { m_show->stop(); }

void SlideShowWindow::leave()
{
    if (m_isLeft)
        return;
    m_isLeft = true;
    m_show->stop();
    m_poll.stop();
    emit left();
}

void SlideShowWindow::pollFrame()
{
    const std::uint64_t changes = m_show->painter().changes();
    if (changes == m_frameChanges)
        return;
    m_frameChanges = changes;
    m_frame = m_show->painter().snapshot();
    update();
}

void SlideShowWindow::showNews(const QString& text, bool isError)
{
    m_news = text;
    m_isNewsError = isError;
    m_hideNews.start(kNewsShown);
    update();
}

void SlideShowWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_frame.isNull()) {
        // Centred in device pixels, one frame pixel on one screen pixel.
        const qreal ratio = devicePixelRatioF();
        QImage frame = m_frame;
        frame.setDevicePixelRatio(ratio);
        const qreal left = std::floor((width() * ratio - m_frame.width()) / 2) / ratio;
        const qreal top = std::floor((height() * ratio - m_frame.height()) / 2) / ratio;
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QPointF(left, top), frame);
    }
    if (!m_news.isEmpty()) {
        painter.setPen(m_isNewsError ? QColor(255, 120, 120) : QColor(200, 200, 200));
        painter.drawText(rect().adjusted(16, 0, -16, -12), Qt::AlignLeft | Qt::AlignBottom, m_news);
    }
}

void SlideShowWindow::keyPressEvent(QKeyEvent* event)
{
    const bool isRepeat = event->isAutoRepeat();
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_F11:
        leave();
        return;
    case Qt::Key_Space:
        if (!isRepeat) {
            m_show->togglePause();
            showNews(m_show->isPaused() ? QStringLiteral("Paused (Space goes on)") : QString(), false);
        }
        return;
    case Qt::Key_Right:
        m_show->showNext();
        return;
    case Qt::Key_Left:
        m_show->showPrevious();
        return;
    case Qt::Key_S:
        if (!isRepeat)
            m_show->save();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SlideShowWindow::mouseMoveEvent(QMouseEvent* event)
{
    unsetCursor();
    m_hideCursor.start(kCursorIdle);
    QWidget::mouseMoveEvent(event);
}

void SlideShowWindow::closeEvent(QCloseEvent* event)
{
    leave();
    event->accept();
}

} // namespace mandalix
