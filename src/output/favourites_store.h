// The favourite palettes the program holds: read from their file once, and every change
// written back whole before it is taken, so the list and the file agree. A file that
// could not be read (damaged, unreadable) is left alone: the store then refuses every
// change and never writes over it. One owner (the window), one thread.
#pragma once

#include "output/favourites_file.h"

#include <QString>

namespace mandalix {

class FavouritesStore {
public:
    // Reads the file at `path`; see isDamaged().
    explicit FavouritesStore(QString path);
    FavouritesStore(const FavouritesStore&) = delete;
    FavouritesStore& operator=(const FavouritesStore&) = delete;

    const QString& path() const { return m_path; }
    const Favourites& favourites() const { return m_favourites; }
    // True when the file could not be read; loadMessage() says why.
    bool isDamaged() const { return !m_loadMessage.isEmpty(); }
    const QString& loadMessage() const { return m_loadMessage; }

    // Adds a favourite; a name already kept gets " (2)", " (3)", ... Answers the name
    // it was kept under.
    Result<QString> add(const QString& name, const PaletteWaves& waves);
    // Renames the favourite at `index` to a name that is not empty and not another's.
    Result<> rename(int index, const QString& name);
    Result<> remove(int index);
    // Adds the favourites of the file at `path`, renaming those whose names are taken.
    // Answers how many were added.
    Result<int> importFrom(const QString& path);
    // Writes the favourites at `indices` (all when empty), in the list's order, to the
    // file at `path`, which is not the store's own.
    Result<> exportTo(const QString& path, const std::vector<int>& indices) const;

private:
    // Writes `changed` and takes it as the list; on failure the list stays as it was.
    Result<> commit(Favourites changed);
    Result<> refusal() const;
    bool isIndex(int index) const { return index >= 0 && index < static_cast<int>(m_favourites.size()); }

    QString m_path;
    Favourites m_favourites;
    QString m_loadMessage;
};

} // namespace mandalix
