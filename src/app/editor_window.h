// The editor: every number of the picture on show (its seventeen parameters and the
// strip's waves), each with a slider over its draw range, a field and a lock, and a
// preview that the frame engine repaints after each change (only the latest, while a
// slider is dragged). The wheel over the preview, + and - zoom about the centre; the
// record carries the view. Randomise draws the numbers not locked anew; Reset goes back to
// the picture's own; Apply hands the edited record to the window, which paints it as a
// step; Cancel (Esc) leaves everything as it was. GUI thread only; a typed value that is
// no number, and a zoom held at its bound, are told in a line.
#pragma once

#include "app/parameter_row.h"
#include "app/preview_view.h"
#include "generator/rnd.h"
#include "variations/grid_painter.h"

#include <QWidget>

#include <vector>

class QLabel;

namespace mandalix {

class EditorWindow : public QWidget {
    Q_OBJECT
public:
    // One notch of the wheel, one press of + or -.
    static constexpr double kZoomStep = 1.25;

    // The preview's size: the window's picture.
    explicit EditorWindow(QSize pictureSize, QWidget* parent);
    ~EditorWindow() override;

    // Shows the numbers of `picture` and its preview.
    void openFor(const PictureRecord& picture);

    const PictureRecord& original() const { return m_original; }
    const PictureRecord& edited() const { return m_edited; }
    PreviewView* preview() const { return m_preview; }
    ParameterRow* row(int index) const { return m_rows.at(static_cast<std::size_t>(index)); }
    // True while the preview does not show the edited record yet.
    bool isPreviewPainting() const { return m_isPainting; }
    QString note() const;

    void edit(int index, double value);
    // Zooms in by `factor` (below 1 zooms out), within the view's bounds.
    void zoomBy(double factor);
    void randomise();
    void reset();
    void apply();
    void cancel() { close(); }

signals:
    // The edited record, its lineage naming the original: the window paints it.
    void applied(const mandalix::PictureRecord& record);

private:
    void buildControls();
    QWidget* buildNumbers();
    void addKeys();
    // Shows the edited record's numbers, strip and view, and paints its preview.
    void showEdited();
    void previewPainted(const GridCell& cell);

    PictureRecord m_original;
    PictureRecord m_edited;
    PreviewView* m_preview = nullptr;
    QLabel* m_strip = nullptr;
    QLabel* m_view = nullptr;
    QLabel* m_note = nullptr;
    std::vector<ParameterRow*> m_rows;
    Rnd m_rnd;
    int m_paints = 0;
    bool m_isPainting = false;
    GridPainter m_painter; // last: it calls back into the window until it is gone
};

} // namespace mandalix
