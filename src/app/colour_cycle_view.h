// Colour cycling live over the window's picture: a view laid over Picture1's drawing area
// that shows the picture on show with its palette positions shifted one place a frame
// (about 30 frames a second), so the colours flow through the rings. Picture1 itself is
// never touched: stopping hides the view and the picture shows as it was. Pixels the
// pipeline could not paint show what Picture1 shows there. GUI thread only.
#pragma once

#include "state/picture_record.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace mandalix {

class ColourCycleView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrameMs = 33;

    explicit ColourCycleView(QWidget* parent);

    // Starts cycling `record`, drawn over `shown` (the picture's drawing area as on show,
    // in device pixels; `ratio` of them to a pixel of the view).
    void start(const PictureRecord& record, const QImage& shown, qreal ratio = 1);
    void stop();
    bool isCycling() const { return m_timer.isActive(); }
    // How many places the colours have moved.
    int shift() const { return m_shift; }
    // The frame on show, as it is drawn.
    QImage frame() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void step();

    QImage m_indices;   // the picture's palette positions, Format_Indexed8
    QList<QRgb> m_table; // its own colour table, the failed pixels' entry transparent
    QImage m_shown;
    int m_shift = 0;
    qreal m_ratio = 1;
    QTimer m_timer;
};

} // namespace mandalix
