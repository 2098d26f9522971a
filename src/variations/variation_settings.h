// What the variations view remembers between runs: the locked groups, the grid's side
// and the strength, in a small settings file of the user's configuration folder. Reading
// a missing or damaged file gives the defaults (values out of range are brought into
// it); writing goes through QSettings, which replaces the file whole. GUI thread.
#pragma once

#include "variations/locks.h"
#include "variations/variation_walk.h"

#include <QString>

namespace mandalix {

struct VariationSettings {
    Locks locks;
    int side = kDefaultGridSide;
    double strength = kDefaultStrength;

    bool operator==(const VariationSettings&) const = default;
};

// The file in the user's configuration folder: mandalix/variations.ini.
QString defaultVariationSettingsPath();

VariationSettings readVariationSettings(const QString& path);
// False when the file could not be written; the view goes on with what it has.
bool writeVariationSettings(const QString& path, const VariationSettings& settings);

} // namespace mandalix
