// The user's favourite palettes: named strips kept in one JSON file of the user's
// configuration folder, {"favourites": [{"name", "period", "phase", "wavelength"}, ...]},
// each wave a list of three numbers (red, green, blue). Read and written whole; a write
// goes through the one atomic writer, so a failed write leaves the earlier file as it
// was. Pure functions on values and files; any thread, one writer of a file at a time.
// Failures come back as one-line messages naming the file and the problem.
#pragma once

#include "base/result.h"
#include "state/picture_record.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace mandalix {

struct FavouritePalette {
    QString name;
    PaletteWaves waves;

    bool operator==(const FavouritePalette&) const = default;
};

using Favourites = std::vector<FavouritePalette>;

// mandalix/favourite-palettes.json in the user's configuration folder.
QString defaultFavouritesPath();

// The file's text for `favourites`, in their order.
QByteArray favouritesJson(const Favourites& favourites);

// The favourites of a file's text; the failure says what is wrong (damaged JSON, a
// wrong type, a number that is not finite, a period or wavelength not above zero, an
// empty or repeated name), without the path.
Result<Favourites> parseFavourites(const QByteArray& text);

// The favourites of the file at `path`; a missing file has none. A file that cannot be
// read or is damaged is a failure naming the path and the problem.
Result<Favourites> readFavourites(const QString& path);

// Replaces the file at `path` with `favourites`, creating its folder when missing.
Result<> writeFavourites(const QString& path, const Favourites& favourites);

// The waves of the first favourite of a file, for painting with a kept palette. A file
// with none is a failure.
Result<PaletteWaves> firstFavouriteWaves(const QString& path);

// `name`, or the first of "name (2)", "name (3)", ... that no favourite of `taken` has.
QString unusedName(const QString& name, const Favourites& taken);

} // namespace mandalix
