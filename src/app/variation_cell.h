// One cell of the variations grid: the picture painted for it (at the cell's size in
// device pixels), a grey square while it paints, a short note over a cell whose
// picture fails everywhere, and a frame for the parent (white) and the selected cell
// (yellow). A click, a double-click and a context-menu request go out as signals. GUI
// thread only; nothing fails.
#pragma once

#include <QImage>
#include <QWidget>

namespace mandalix {

class VariationCell : public QWidget {
    Q_OBJECT
public:
    explicit VariationCell(int index, QWidget* parent);

    int index() const { return m_index; }
    // The cell's size in device pixels, what its picture is painted at.
    QSize devicePixelSize() const;

    // Shows a painted picture; `failsEverywhere` adds the note.
    void setPicture(const QImage& image, bool failsEverywhere);
    // Back to the grey square of a picture being painted.
    void clearPicture();
    bool hasPicture() const { return !m_image.isNull(); }
    const QImage& picture() const { return m_image; }
    bool failsEverywhere() const { return m_failsEverywhere; }

    void setParentMark(bool isParent);
    void setSelected(bool isSelected);

signals:
    void clicked(int index);
    void doubleClicked(int index);
    void menuAsked(int index, QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const int m_index;
    QImage m_image;
    bool m_failsEverywhere = false;
    bool m_isParent = false;
    bool m_isSelected = false;
    bool m_isEndingDoubleClick = false; // the release after a double-click is no click
};

} // namespace mandalix
