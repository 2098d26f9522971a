// Setting the picture on show as the desktop's wallpaper, the ways tried in order until
// one works: the desktop portal, GNOME's settings, KDE Plasma, Xfce, and the root window
// of an X session without a desktop. Each way that fails changes nothing, so the earlier
// wallpaper stays. For the wallpaper's thread (never the GUI thread: the ways block on
// the bus and on commands for a few seconds at most). The outcome is one line for the
// status line, whichever way it went.
#pragma once

#include "base/result.h"
#include "desktop/desktop_command.h"
#include "desktop/wallpaper_file.h"

#include <QSize>
#include <QString>

#include <atomic>

namespace mandalix {

enum class WallpaperWay { Portal, Gnome, Kde, Xfce, XRoot };

// "the desktop portal", "GNOME's settings", ...
QString wallpaperWayName(WallpaperWay way);

// The session the wallpaper is set in, as the environment describes it.
struct DesktopSession {
    QString desktop;          // $XDG_CURRENT_DESKTOP: "GNOME", "KDE", "XFCE", "ubuntu:GNOME"; empty: none
    bool hasXDisplay = false; // $DISPLAY names one
    CommandPath commands;     // where the desktops' commands are looked for
    int portalTimeoutMs = 30000;

    static DesktopSession fromEnvironment();
};

// Sets the file as the wallpaper; `screenPx` is the size it was painted for. When !ok the
// message gives each way's reason: "no desktop portal; gsettings is not installed".
Result<WallpaperWay> setWallpaper(const QString& file, QSize screenPx, const DesktopSession& session);

// The whole of key W: paints and writes the file, sets it, then keeps the newest files;
// a file that did not become the wallpaper is taken back. `cancel` (the program is
// ending) stops the painting, the command or the wait under way. The line for the status
// line either way: "Wallpaper set through the desktop portal: /h/T2026...-1920x1080.png",
// or "Could not set the wallpaper: ...".
Result<QString> makeWallpaper(const QString& folder, const WallpaperPicture& picture, const DesktopSession& session,
                              const std::atomic<bool>& cancel);

} // namespace mandalix
