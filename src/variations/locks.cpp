#include "variations/locks.h"

#include <array>

namespace mandalix {

namespace {

constexpr std::array<const char*, kGroupCount> kGroupNames = {
    "formula", "rings", "rays", "amplitudes", "position", "palette"};

} // namespace

QString groupName(Group group)
{
    return QString::fromLatin1(kGroupNames[static_cast<std::size_t>(group)]);
}

Result<Group> parseGroup(const QString& name)
{
    for (int g = 0; g < kGroupCount; ++g) {
        if (name == QLatin1String(kGroupNames[static_cast<std::size_t>(g)]))
            return Result<Group>::success(static_cast<Group>(g));
    }
    return Result<Group>::failure(
        QStringLiteral("Unknown group \"%1\": the groups are formula, rings, rays, "
                       "amplitudes, position and palette.")
            .arg(name));
}

} // namespace mandalix
