#include "variations/variation_settings.h"

#include "variations/mutation.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>

namespace mandalix {

QString defaultVariationSettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
         + QStringLiteral("/mandalix/variations.ini");
}

VariationSettings readVariationSettings(const QString& path)
{
    const QSettings file(path, QSettings::IniFormat);
    VariationSettings settings;
    for (const QString& name : file.value(QStringLiteral("locks")).toStringList())
        if (const Result<Group> group = parseGroup(name); group.ok)
            settings.locks = settings.locks.with(group.value);
    bool isNumber = false;
    const int side = file.value(QStringLiteral("side")).toInt(&isNumber);
    if (isNumber)
        settings.side = std::clamp(side, kMinGridSide, kMaxGridSide);
    const double strength = file.value(QStringLiteral("strength")).toDouble(&isNumber);
    if (isNumber)
        settings.strength = clampStrength(strength).value;
    return settings;
}

bool writeVariationSettings(const QString& path, const VariationSettings& settings)
{
    QSettings file(path, QSettings::IniFormat);
    QStringList locked;
    for (int g = 0; g < kGroupCount; ++g)
        if (settings.locks.isLocked(static_cast<Group>(g)))
            locked << groupName(static_cast<Group>(g));
    file.setValue(QStringLiteral("locks"), locked);
    file.setValue(QStringLiteral("side"), settings.side);
    file.setValue(QStringLiteral("strength"), settings.strength);
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace mandalix
