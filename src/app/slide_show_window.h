// The slide show's full-screen window: black, the frame of the slide show drawn 1:1 in
// device pixels in the middle, the keys of its table turned into calls on the slide show,
// the pointer hidden after 2 s without movement and a line of news (pause, saves) at the
// bottom. Y cycles the colours of the painted picture on show over its frame, until a key
// or the next picture.
// GUI thread only. It owns the slide show and stops it (at once) when it is left or
// destroyed; a failed save shows as a line of news.
#pragma once

#include "app/form1_keys.h"
#include "slideshow/slide_show.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

namespace mandalix {

class ColourCycleView;

// The slide show's action of a key pressed, none for a key it does not take. GUI thread.
std::optional<SlideKey> slideKeyOf(QKeyCombination pressed);

class SlideShowWindow : public QWidget {
    Q_OBJECT
public:
    // Starts the slide show at once; show the window full screen after. `onPictureFinished`
    // is called on the slide show's thread for every picture painted to its end, once
    // (may be empty).
    SlideShowWindow(const WindowState& window, const Clock& clock, const Drives& drives,
                    const SlideShowSettings& settings,
                    std::function<void(const PictureRecord&)> onPictureFinished,
                    QWidget* parent = nullptr);
    ~SlideShowWindow() override;

    // The record on show; once left, the last one the slide show showed.
    std::optional<PictureRecord> pictureOnShow() const { return m_show->pictureOnShow(); }

    // Stops the slide show and tells the owner through left().
    void leave();
    // A line of news at the bottom, for a while (an error's in red).
    void showNews(const QString& text, bool isError);

    // Cycles the colours of the picture on show (Y) once it is painted; says so before.
    void startCyclingColours();
    void stopCyclingColours();
    bool isCyclingColours() const;
    ColourCycleView* colourCycle() const { return m_cycle; }

signals:
    // Esc or F11 was pressed, or the window was closed; the slide show has stopped.
    void left();
    // Ctrl+Q was pressed: the program is to end as "exit" ends it. The slide show runs on
    // until its owner closes it.
    void exitAsked();
    // W was pressed: the owner sets the picture on show as the wallpaper.
    void wallpaperAsked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void pollFrame();
    // Where the frame is drawn, in the window's logical pixels.
    QRectF frameTarget() const;

    std::unique_ptr<SlideShow> m_show;
    std::uint64_t m_frameChanges = 0;
    QTimer m_poll;
    QTimer m_hideCursor;
    QTimer m_hideNews;
    QString m_news;
    bool m_isNewsError = false;
    bool m_isLeft = false;
    ColourCycleView* m_cycle = nullptr;
    std::uint64_t m_cycleFrameChanges = 0; // the frame's count as the colours began to cycle
};

} // namespace mandalix
