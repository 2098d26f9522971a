// The cells of the variations view, side x side squares as large as the area allows,
// centred, with a parent and a selected cell marked. Cells are made anew when the side
// changes; their pictures come from the view. GUI thread only; nothing fails.
#pragma once

#include "app/variation_cell.h"

#include <QWidget>

#include <vector>

namespace mandalix {

class VariationGridView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kGapPx = 4;

    explicit VariationGridView(QWidget* parent);

    // Makes side x side empty cells (or keeps those there are), marking `parentIndex`
    // (-1: none) and selecting `selected`.
    void setGrid(int side, int parentIndex, int selected);
    int side() const { return m_side; }
    int count() const { return static_cast<int>(m_cells.size()); }
    VariationCell* cell(int index) const { return m_cells.at(static_cast<std::size_t>(index)); }

    int selected() const { return m_selected; }
    void select(int index);
    // Moves the selection by columns and rows, staying inside the grid.
    void moveSelection(int columns, int rows);

    // Every cell's size in device pixels: what its picture is painted at.
    QSize cellDevicePixels() const;

signals:
    void clicked(int index);
    void doubleClicked(int index);
    void menuAsked(int index, QPoint globalPosition);
    // The cells took another size: their pictures must be painted again.
    void cellsResized();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrange();

    std::vector<VariationCell*> m_cells;
    int m_side = 0;
    int m_selected = 0;
    QSize m_cellPx;
};

} // namespace mandalix
