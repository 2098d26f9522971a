// "More like this": a window of its own with a grid of variations of a picture, the
// parent in the middle and its children around it, painted by the grid painter as soon
// as each is ready. A click on a child makes it the parent of a new generation; Backspace
// goes back; Space draws new children; [ and ] halve and double the strength; the locks
// hold groups of parameters still; Enter or a double-click adopts a cell, which the
// window then paints as the picture on show. The locks, the grid's side and the strength
// are remembered between runs. Bred children of two parents show the same way. GUI
// thread only; bad input (a strength that is no number or out of range) gets a line.
#pragma once

#include "app/form1_keys.h"
#include "app/variation_grid_view.h"
#include "variations/grid_painter.h"
#include "variations/variation_settings.h"
#include "variations/variation_walk.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mandalix {

class VariationsWindow : public QWidget {
    Q_OBJECT
public:
    // `pictureOnShow` gives the window's picture on show, for breeding a cell with it.
    VariationsWindow(QString settingsPath, std::function<PictureRecord()> pictureOnShow, QWidget* parent);
    ~VariationsWindow() override;

    // Shows the variations of `parent`, a new walk.
    void openFor(const PictureRecord& parent);
    // Shows the children bred of `a` and `b`, a new walk.
    void openBred(const PictureRecord& a, const PictureRecord& b);
    // A line under the grid, until the next change.
    void showNote(const QString& text);

    const VariationWalk& walk() const { return m_walk; }
    VariationGridView* grid() const { return m_grid; }
    // Cells of the generation on show not painted yet.
    int cellsWaiting() const { return m_waiting; }

signals:
    // A cell was adopted: the window paints it as the picture on show.
    void adopted(const mandalix::PictureRecord& record);
    // A cell is to be the other picture of a morph loop with the window's picture on show.
    void morphAsked(const mandalix::PictureRecord& record);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Shows the window with the walk's first generation.
    void presentWalk();
    void buildControls();
    QWidget* buildLocks();
    void addKeys();
    // What a key (or its button) does.
    void act(VariationKey action);
    void clicked(int index);
    void doubleClicked(int index);
    void showMenu(int index, QPoint globalPosition);
    void adopt(int index);
    void setStrengthTyped();
    void changeStrength(double factor);
    void lockToggled();
    void sideChosen(int comboIndex);
    // Shows the walk's generation: the grid, the title, the controls, and paints its cells.
    void showGeneration();
    void paintCells();
    void cellPainted(const GridCell& cell);
    void remember();

    const QString m_settingsPath;
    std::function<PictureRecord()> m_pictureOnShow;
    VariationWalk m_walk;
    VariationGridView* m_grid = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_back = nullptr;
    QComboBox* m_side = nullptr;
    QLineEdit* m_strength = nullptr;
    std::array<QCheckBox*, kGroupCount> m_locks{};
    // The painting under way (counted up at each), each painted record's cell, and how
    // many cells wait.
    int m_paints = 0;
    int m_paintingGeneration = -1;
    std::vector<int> m_paintedCell;
    int m_waiting = 0;
    // The pictures on show and their records: a cell of the next generation showing the
    // same record at the same size takes its picture at once.
    std::vector<std::pair<PictureRecord, GridCell>> m_painted;
    // The generation a click just made: a double-click that follows adopts its parent.
    int m_clickedGeneration = -1;
    QTimer m_resized; // paints again once the cells stop changing size
    GridPainter m_painter; // last: it calls back into the window until it is gone
};

} // namespace mandalix
