// The editor's preview: the edited picture as the frame engine paints it, at the window
// picture's size in device pixels. The mouse wheel over it asks to zoom in or out about
// the mandala's centre. GUI thread only.
#pragma once

#include <QImage>
#include <QWidget>

namespace mandalix {

class PreviewView : public QWidget {
    Q_OBJECT
public:
    explicit PreviewView(QSize pictureSize, QWidget* parent);

    QSize devicePixelSize() const;
    void setPicture(const QImage& image);
    const QImage& picture() const { return m_image; }

signals:
    // Positive steps zoom in, negative zoom out; one notch of a wheel is one step.
    void zoomAsked(double steps);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QImage m_image;
};

} // namespace mandalix
