#include "app/editor_window.h"

#include "palette/strip_colours.h"
#include "state/clock.h"

#include <QLabel>
#include <QPixmap>
#include <QSlider>

#include <cmath>

namespace mandalix {

EditorWindow::EditorWindow(QSize pictureSize, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_preview(new PreviewView(pictureSize, this))
    , m_rnd(secondsSinceMidnight(QDateTime::currentDateTime()))
    , m_painter([this](const GridCell& cell) {
        QMetaObject::invokeMethod(this, [this, cell] { previewPainted(cell); }, Qt::QueuedConnection);
    })
{
    setObjectName(QStringLiteral("Editor"));
    setWindowTitle(QStringLiteral("mandalix editor"));
    connect(m_preview, &PreviewView::zoomAsked, this,
            [this](double steps) { zoomBy(std::pow(kZoomStep, steps)); });
    buildControls();
    addKeys();
}

EditorWindow::~EditorWindow() { m_painter.abandon(); }

void EditorWindow::openFor(const PictureRecord& picture)
{
    m_original = picture;
    m_edited = picture;
    m_note->clear();
    show();
    raise();
    activateWindow();
    showEdited();
    // The keys move the first slider at once: the arrows, Page Up and Page Down.
    for (ParameterRow* row : m_rows)
        if (row->slider()) {
            row->slider()->setFocus();
            break;
        }
}

QString EditorWindow::note() const { return m_note->text(); }

void EditorWindow::edit(int index, double value)
{
    setEditableValue(m_edited, index, value);
    m_note->clear();
    showEdited();
}

void EditorWindow::zoomBy(double factor)
{
    const ZoomedView zoomed = zoomedView(m_edited.view, factor);
    m_note->setText(!zoomed.isAtBound ? QString()
                    : zoomed.view == kMinView
                        ? QStringLiteral("The view is as close as it goes: half-extent %1").arg(kMinView)
                        : QStringLiteral("The view is as far as it goes: half-extent %1").arg(kMaxView));
    if (zoomed.view == m_edited.view)
        return;
    m_edited.view = zoomed.view;
    showEdited();
}

void EditorWindow::randomise()
{
    EditLocks locked;
    for (const ParameterRow* row : m_rows)
        locked.set(static_cast<std::size_t>(row->index()), row->isLocked());
    m_edited = mandalix::randomised(m_edited, locked, m_rnd);
    m_note->clear();
    showEdited();
}

void EditorWindow::reset()
{
    m_edited = m_original;
    m_note->clear();
    showEdited();
}

void EditorWindow::apply()
{
    if (m_edited != m_original) {
        PictureRecord record = m_edited;
        record.lineage = Lineage::editedFrom(m_original.imeslike);
        emit applied(record);
    }
    close();
}

void EditorWindow::showEdited()
{
    for (ParameterRow* row : m_rows)
        row->display(editableValue(m_edited, row->index()));
    m_strip->setPixmap(QPixmap::fromImage(paletteStripImage(m_edited.palette)));
    m_view->setText(QStringLiteral("view: half-extent %1, zoom %2x (wheel over the picture, + and -)")
                        .arg(m_edited.view, 0, 'g', 6)
                        .arg(kStartView / m_edited.view, 0, 'g', 6));
    if (!isVisible())
        return;
    m_isPainting = true;
    m_painter.paint(++m_paints, {m_edited}, m_preview->devicePixelSize());
}

void EditorWindow::previewPainted(const GridCell& cell)
{
    if (cell.generation != m_paints)
        return;
    m_preview->setPicture(cell.image);
    m_isPainting = false;
}

} // namespace mandalix
