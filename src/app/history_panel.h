// The thumbnails of the kept pictures, newest first, in the window's free black area:
// right of the drawing surface when the window is wide enough, else below it, hidden
// when neither leaves room for one thumbnail. A click asks for that picture; a tooltip
// names it and its generation type. The thumbnails hold their places while the pointer
// is over the panel (a click's picture that gave way is shown once the pointer leaves), and
// a list scrolled down keeps its first row in view as pictures come in above it. GUI
// thread only; nothing here fails.
#pragma once

#include "history/history_folder.h"

#include <QScrollArea>
#include <QSize>
#include <QString>

#include <vector>

class QToolButton;

namespace mandalix {

class HistoryPanel : public QScrollArea {
    Q_OBJECT
public:
    // Gap between the panel and the layout, and between the panel and the window's edge.
    static constexpr int kMarginPx = 8;
    // One thumbnail's cell: the thumbnail, its frame and the gap to the next.
    static constexpr int kCellPx = kThumbnailPx + 8;

    explicit HistoryPanel(QWidget* parent);

    // Replaces every thumbnail with `entries`.
    void setEntries(const std::vector<HistoryEntry>& entries);
    // Adds a kept picture, or shows it anew when its file was kept before.
    void add(const HistoryEntry& entry);
    void remove(const QString& path);
    int count() const { return static_cast<int>(m_entries.size()); }
    // The path of the kept picture at `index`, newest first; while the pointer is over the
    // panel the thumbnails may not show it yet.
    QString pathAt(int index) const { return m_entries.at(static_cast<std::size_t>(index)).path; }

    // Takes the free area of a window of `size`, or hides.
    void placeIn(const QSize& size);

signals:
    void chosen(const QString& path);
    // A right-click on a thumbnail, for a menu of what else to do with it.
    void menuAsked(const QString& path, QPoint globalPosition);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Shows the entries now, or once the pointer leaves the panel.
    void showEntries(const QString& removedPath = {});
    void rebuildKeepingPlace();
    void noteAnchor(int scrolled);
    void rebuild();
    void arrange();
    int columns() const;

    QWidget* m_content;
    std::vector<HistoryEntry> m_entries; // newest first
    std::vector<QToolButton*> m_buttons; // one per thumbnail shown
    std::vector<QString> m_shownPaths;   // the path of each thumbnail shown, same order
    bool m_isUnderPointer = false;
    bool m_isStale = false; // the thumbnails shown are not the entries
    bool m_isPlacing = false; // the panel, not the user, moves the scroll bar
    QString m_anchor;         // the picture first in view when the user last scrolled
};

// The tooltip of a kept picture: its name, its generation type and, for a picture that
// was not drawn at random, where it came from.
QString historyTooltip(const PictureRecord& record);

} // namespace mandalix
