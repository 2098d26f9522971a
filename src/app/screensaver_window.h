// The screensaver's picture: a window without a frame, keys or pointer of its own, placed
// in another program's window (XScreenSaver's) or over the root, black with the slide
// show's frame drawn 1:1 in device pixels in the middle. It owns the slide show, which
// keeps nothing: no history, no saves. When the window's size changes the frame follows:
// a new slide show at the new size. GUI thread only; nothing fails.
#pragma once

#include "slideshow/slide_show.h"

#include <QRasterWindow>
#include <QRect>
#include <QTimer>

#include <cstdint>
#include <memory>

namespace mandalix {

class ScreensaverWindow : public QRasterWindow {
public:
    // `settings` gives the interval, the pass duration and the threads; the frame's side
    // comes from the window's size. `clock` must outlive the window. With a parent the
    // window lies inside it; without one, give it its place on the screen before showing.
    ScreensaverWindow(const Clock& clock, const SlideShowSettings& settings, QWindow* parent = nullptr);
    ~ScreensaverWindow() override;

    // The frame's square in the window's device pixels; empty before the first size.
    QRect frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void pollFrame();

    const Clock& m_clock;
    const SlideShowSettings m_settings;
    std::unique_ptr<SlideShow> m_show;
    QRect m_frame;
    std::uint64_t m_frameChanges = 0;
    QTimer m_poll;
};

} // namespace mandalix
