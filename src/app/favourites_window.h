// The favourite palettes: a window of its own listing each kept palette as its strip of
// colours with its name, to apply to the picture on show, use for new pictures, rename,
// delete, import from a file or export to one; Enter or a double-click on one applies it. It owns the store of favourites; what
// goes wrong (a damaged file, a failed write) shows in a line of the window, and the
// favourites stay as they were. GUI thread only.
#pragma once

#include "output/favourites_store.h"

#include <QWidget>

#include <vector>

class QLabel;
class QListWidget;

namespace mandalix {

class FavouritesWindow : public QWidget {
    Q_OBJECT
public:
    FavouritesWindow(const QString& path, QWidget* parent);

    const FavouritesStore& store() const { return m_store; }
    QListWidget* list() const { return m_list; }
    QLabel* messageLine() const { return m_message; }

    // Keeps `waves` under `name` (made unique) and chooses it; false with a line when the
    // file could not take it.
    bool keep(const QString& name, const PaletteWaves& waves);
    // Shows the window, raised, with the line telling of a damaged file if it is.
    void present();
    // What the buttons do once their dialogs are answered.
    void renameChosen(const QString& name);
    void importFile(const QString& path);
    void exportChosen(const QString& path);

signals:
    // The chosen favourite's waves, for the picture on show (repaint) or new pictures.
    void used(const mandalix::PaletteWaves& waves, bool repaint);

private:
    void buildControls();
    void refill(int chosen);
    void use(bool repaint);
    void deleteChosen();
    void askRename();
    void askImport();
    void askExport();
    // Shows `result`'s message when it failed, else `news`; true when it went well.
    bool report(const Result<>& result, const QString& news = {});
    std::vector<int> chosenRows() const;

    FavouritesStore m_store;
    QListWidget* m_list = nullptr;
    QLabel* m_message = nullptr;
};

} // namespace mandalix
