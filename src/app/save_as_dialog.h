// The Save as dialog: a file dialog (Qt's own, not the desktop's, so that it looks and
// behaves the same everywhere) with a choice of the picture's size below it. GUI thread
// only. Nothing fails here: the size asked for is checked by whoever saves.
#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

#include <optional>

namespace mandalix {

struct SaveAsChoice {
    QString path;
    QSize size;
};

// The sizes offered, in the order of the list: the window's picture, 2x to 16x its
// density, the screen's size, then a width and height typed in (an empty size here).
struct SizeChoice {
    QString label;
    QSize size;
};
std::vector<SizeChoice> sizeChoices(QSize screen);

// Asks where to save and at what size, starting in `folder` with `fileName` selected.
// Empty when the user cancelled.
std::optional<SaveAsChoice> askSaveAs(QWidget* parent, const QString& folder, const QString& fileName,
                                      QSize screen);

} // namespace mandalix
