#include "app/slide_show_window.h"

#include "app/band_drawing.h"
#include "app/colour_cycle_view.h"
#include "app/form1_keys.h"

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

std::optional<SlideKey> slideKeyOf(QKeyCombination pressed)
{
    // Shift and the keypad make no other key here.
    const Qt::KeyboardModifiers kept = pressed.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QKeySequence sequence(QKeyCombination(kept, pressed.key()));
    for (const SlideKeyRow& row : kSlideShowKeys)
        if (QKeySequence(QString::fromLatin1(row.key)) == sequence)
            return row.action;
    return std::nullopt;
}

SlideShowWindow::SlideShowWindow(const WindowState& window, const Clock& clock,
                                 const Drives& drives, const SlideShowSettings& settings,
                                 std::function<void(const PictureRecord&)> onPictureFinished,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("SlideShow"));
    setWindowTitle(QStringLiteral("mandalix slide show"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    SlideShowSink sink;
    sink.pictureFinished = std::move(onPictureFinished);
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
    stopCyclingColours();
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
    // The frame moves only while a picture is painted: the next one has come.
    if (isCyclingColours() && changes != m_cycleFrameChanges)
        stopCyclingColours();
    update();
}

bool SlideShowWindow::isCyclingColours() const { return m_cycle && m_cycle->isCycling(); }

void SlideShowWindow::stopCyclingColours()
{
    if (m_cycle)
        m_cycle->stop();
}

void SlideShowWindow::startCyclingColours()
{
    const std::optional<PictureRecord> record = m_show->pictureOnShow();
    if (!record || !m_show->isPictureOnShowPainted()) {
        showNews(QStringLiteral("The colours cycle once the picture is painted"), false);
        return;
    }
    if (!m_cycle)
        m_cycle = new ColourCycleView(this);
    m_cycleFrameChanges = m_show->painter().changes();
    m_cycle->move(frameTarget().topLeft().toPoint());
    m_cycle->start(*record, m_show->painter().snapshot(), devicePixelRatioF());
}

void SlideShowWindow::showNews(const QString& text, bool isError)
{
    m_news = text;
    m_isNewsError = isError;
    m_hideNews.start(kNewsShown);
    update();
}

// Centred in device pixels, one frame pixel on one screen pixel.
QRectF SlideShowWindow::frameTarget() const
{
    const qreal ratio = devicePixelRatioF();
    const int side = m_show->painter().side();
    return {std::floor((width() * ratio - side) / 2) / ratio, std::floor((height() * ratio - side) / 2) / ratio,
            side / ratio, side / ratio};
}

void SlideShowWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // Drawn straight from the frame, as a copy of a 4K frame sixty times a second would
    // cost a core's share.
    const qreal ratio = devicePixelRatioF();
    const QRectF target = frameTarget();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_show->painter().withFrame([&](const QImage& frame) { drawInBands(painter, target.topLeft(), frame, ratio); });
    if (!m_news.isEmpty()) {
        painter.setPen(m_isNewsError ? QColor(255, 120, 120) : QColor(200, 200, 200));
        painter.drawText(rect().adjusted(16, 0, -16, -12), Qt::AlignLeft | Qt::AlignBottom, m_news);
    }
}

void SlideShowWindow::keyPressEvent(QKeyEvent* event)
{
    const std::optional<SlideKey> action = slideKeyOf(event->keyCombination());
    // While the colours cycle, a key stops them first; Y only stops them.
    if (isCyclingColours() && !event->isAutoRepeat()) {
        stopCyclingColours();
        if (action == SlideKey::CycleColours)
            return;
    }
    if (!action) {
        QWidget::keyPressEvent(event);
        return;
    }
    const bool isRepeat = event->isAutoRepeat();
    switch (*action) {
    case SlideKey::Leave:
        leave();
        return;
    case SlideKey::Exit:
        emit exitAsked();
        return;
    case SlideKey::Pause:
        if (!isRepeat) {
            m_show->togglePause();
            showNews(m_show->isPaused() ? QStringLiteral("Paused (Space goes on)") : QString(), false);
            if (m_show->isPaused())
                m_hideNews.stop(); // stays while paused
        }
        return;
    case SlideKey::Next:
        m_show->showNext();
        return;
    case SlideKey::Previous:
        if (!m_show->showPrevious())
            showNews(QStringLiteral("This is the first picture of the slide show."), false);
        return;
    case SlideKey::Save:
        if (!isRepeat)
            m_show->save();
        return;
    case SlideKey::Wallpaper:
        if (!isRepeat)
            emit wallpaperAsked();
        return;
    case SlideKey::CycleColours:
        if (!isRepeat)
            startCyclingColours();
        return;
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
