// Shows one drawing surface of the program inside a 2-pixel sunken border, and turns a
// mouse press into a position in the surface's drawing area. GUI thread only. It polls
// its own surface's change count on a short timer and copies a snapshot under the
// surfaces' lock when it moved, so the user watches a picture being painted.
#pragma once

#include "program/surfaces.h"

#include <QFrame>
#include <QImage>
#include <QTimer>

#include <atomic>
#include <cstdint>

namespace mandalix {

class SurfaceView : public QFrame {
    Q_OBJECT
public:
    static constexpr int kBorderPx = 2;

    // A bordered view shows its surface inside a sunken border of kBorderPx pixels.
    SurfaceView(Surfaces& surfaces, const Surface& surface, bool bordered, QWidget* parent);

    // The snapshot on show, as last copied from the surface.
    const QImage& snapshot() const { return m_snapshot; }

    // Copies the surface now if it changed since the last copy.
    void refresh();

signals:
    // A new snapshot was copied.
    void changed();
    // A press of any mouse button at (x, y) of the drawing area.
    void pressed(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Surfaces& m_surfaces;
    const Surface& m_surface;
    const std::atomic<std::uint64_t>* m_changes; // null for a surface never shown
    QImage m_snapshot;
    std::uint64_t m_seenChanges = ~std::uint64_t{0};
    QTimer m_poll;
};

} // namespace mandalix
