#include "app/variation_grid_view.h"

#include <algorithm>

namespace mandalix {

VariationGridView::VariationGridView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("VariationGrid"));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 200);
}

void VariationGridView::setGrid(int side, int parentIndex, int selected)
{
    if (side != m_side) {
        for (VariationCell* cell : m_cells)
            delete cell;
        m_cells.clear();
        m_side = side;
        for (int k = 0; k < side * side; ++k) {
            auto* cell = new VariationCell(k, this);
            connect(cell, &VariationCell::clicked, this, &VariationGridView::clicked);
            connect(cell, &VariationCell::doubleClicked, this, &VariationGridView::doubleClicked);
            connect(cell, &VariationCell::menuAsked, this, &VariationGridView::menuAsked);
            cell->show();
            m_cells.push_back(cell);
        }
        arrange();
    }
    for (VariationCell* cell : m_cells)
        cell->setParentMark(cell->index() == parentIndex);
    select(selected);
}

void VariationGridView::select(int index)
{
    m_selected = std::clamp(index, 0, std::max(0, count() - 1));
    for (VariationCell* cell : m_cells)
        cell->setSelected(cell->index() == m_selected);
}

void VariationGridView::moveSelection(int columns, int rows)
{
    if (m_side == 0)
        return;
    const int column = std::clamp(m_selected % m_side + columns, 0, m_side - 1);
    const int row = std::clamp(m_selected / m_side + rows, 0, m_side - 1);
    select(row * m_side + column);
}

QSize VariationGridView::cellDevicePixels() const
{
    return m_cells.empty() ? QSize() : m_cells.front()->devicePixelSize();
}

void VariationGridView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange();
}

void VariationGridView::arrange()
{
    if (m_side == 0)
        return;
    const int room = std::min(width(), height()) - (m_side - 1) * kGapPx;
    const int cellPx = std::max(1, room / m_side);
    const int gridPx = cellPx * m_side + (m_side - 1) * kGapPx;
    const int left = (width() - gridPx) / 2;
    const int top = (height() - gridPx) / 2;
    for (VariationCell* cell : m_cells) {
        const int column = cell->index() % m_side;
        const int row = cell->index() / m_side;
        cell->setGeometry(left + column * (cellPx + kGapPx), top + row * (cellPx + kGapPx), cellPx, cellPx);
    }
    const QSize sized(cellPx, cellPx);
    if (sized != m_cellPx) {
        m_cellPx = sized;
        emit cellsResized();
    }
}

} // namespace mandalix
