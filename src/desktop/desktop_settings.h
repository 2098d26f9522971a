// Setting the wallpaper through a desktop's own settings: GNOME's gsettings keys, KDE
// Plasma's plasma-apply-wallpaperimage and Xfce's xfconf properties. Each changes nothing
// when it fails: keys already written are put back as they were. For the wallpaper's
// thread; each blocks while its commands run. Failures come back as a short reason.
#pragma once

#include "base/result.h"
#include "desktop/desktop_command.h"

#include <QSize>
#include <QString>

namespace mandalix {

// The schema GNOME keeps its background in.
inline constexpr char kGnomeBackgroundSchema[] = "org.gnome.desktop.background";

// How GNOME is to show a picture of `picturePx` on a screen of `screenPx`: "centered"
// when it has the screen's size, so no pixel is scaled, else "zoom", which fills it.
QString gnomePictureOption(QSize picturePx, QSize screenPx);

// Whether gsettings is there and knows GNOME's background schema.
bool hasGnomeBackground(const CommandPath& path);

// Sets GNOME's picture-uri and picture-uri-dark (where the schema has it) to the file's
// URI, and picture-options to `option`.
Result<> setGnomeWallpaper(const CommandPath& path, const QString& file, const QString& option);

// plasma-apply-wallpaperimage FILE.
Result<> setKdeWallpaper(const CommandPath& path, const QString& file);

// Every ".../last-image" property of the xfce4-desktop channel set to the file.
Result<> setXfceWallpaper(const CommandPath& path, const QString& file);

} // namespace mandalix
