#include "desktop/wallpaper_setter.h"

#include "desktop/desktop_settings.h"
#include "desktop/portal_wallpaper.h"
#include "desktop/x_root_background.h"

#include <QDir>
#include <QImage>
#include <QStringList>

#include <optional>

namespace mandalix {

namespace {

bool names(const QString& desktop, const char* name)
{
    return desktop.split(u':').contains(QString::fromLatin1(name), Qt::CaseInsensitive);
}

// Which desktop's own way applies, or none.
std::optional<WallpaperWay> desktopWay(const DesktopSession& session)
{
    if (session.desktop.isEmpty())
        return session.hasXDisplay ? std::optional(WallpaperWay::XRoot) : std::nullopt;
    if (names(session.desktop, "GNOME"))
        return WallpaperWay::Gnome;
    if (names(session.desktop, "KDE"))
        return WallpaperWay::Kde;
    if (names(session.desktop, "XFCE"))
        return WallpaperWay::Xfce;
    // Desktops built on GNOME's (Unity, Budgie, Pantheon, ...) read its keys.
    return hasGnomeBackground(session.commands) ? std::optional(WallpaperWay::Gnome) : std::nullopt;
}

Result<> setThrough(WallpaperWay way, const QString& file, QSize screenPx, const CommandPath& commands)
{
    switch (way) {
    case WallpaperWay::Gnome: {
        const QSize picturePx = QImage(file).size();
        return setGnomeWallpaper(commands, file, gnomePictureOption(picturePx, screenPx));
    }
    case WallpaperWay::Kde:
        return setKdeWallpaper(commands, file);
    case WallpaperWay::Xfce:
        return setXfceWallpaper(commands, file);
    case WallpaperWay::XRoot: {
        const QImage picture(file);
        if (picture.isNull())
            return Result<>::failure(QStringLiteral("the picture cannot be read back"));
        return setXRootBackground(picture);
    }
    case WallpaperWay::Portal:
        break;
    }
    return Result<>::failure(QString());
}

} // namespace

QString wallpaperWayName(WallpaperWay way)
{
    switch (way) {
    case WallpaperWay::Portal: return QStringLiteral("the desktop portal");
    case WallpaperWay::Gnome: return QStringLiteral("GNOME's settings");
    case WallpaperWay::Kde: return QStringLiteral("KDE Plasma");
    case WallpaperWay::Xfce: return QStringLiteral("Xfce's settings");
    case WallpaperWay::XRoot: return QStringLiteral("the X root window");
    }
    return {};
}

DesktopSession DesktopSession::fromEnvironment()
{
    DesktopSession session;
    session.desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    session.hasXDisplay = !qEnvironmentVariableIsEmpty("DISPLAY");
    return session;
}

Result<WallpaperWay> setWallpaper(const QString& file, QSize screenPx, const DesktopSession& session)
{
    const Result<> portal = setPortalWallpaper(file, session.portalTimeoutMs, session.commands.cancel);
    if (portal.ok)
        return Result<WallpaperWay>::success(WallpaperWay::Portal);
    QStringList reasons{portal.message};
    const std::optional<WallpaperWay> way = desktopWay(session);
    if (!way) {
        reasons << (session.desktop.isEmpty() ? QStringLiteral("no desktop and no X display")
                                              : QStringLiteral("%1 is a desktop this program cannot set").arg(session.desktop));
        return Result<WallpaperWay>::failure(reasons.join(QStringLiteral("; ")));
    }
    const Result<> set = setThrough(*way, file, screenPx, session.commands);
    if (set.ok)
        return Result<WallpaperWay>::success(*way);
    reasons << set.message;
    return Result<WallpaperWay>::failure(reasons.join(QStringLiteral("; ")));
}

Result<QString> makeWallpaper(const QString& folder, const WallpaperPicture& picture, const DesktopSession& session,
                              const std::atomic<bool>& cancel)
{
    const Result<WallpaperFile> file = writeWallpaperFile(folder, picture, cancel);
    if (!file.ok)
        return Result<QString>::failure(QStringLiteral("Could not set the wallpaper. %1").arg(file.message));
    DesktopSession ending = session;
    ending.commands.cancel = &cancel;
    const Result<WallpaperWay> set = setWallpaper(file.value.path, picture.screenPx, ending);
    if (!set.ok) {
        withdrawWallpaperFile(file.value);
        return Result<QString>::failure(QStringLiteral("Could not set the wallpaper: %1").arg(set.message));
    }
    keepNewestWallpapers(folder);
    return Result<QString>::success(QStringLiteral("Wallpaper set through %1: %2")
                                        .arg(wallpaperWayName(set.value), QDir::toNativeSeparators(file.value.path)));
}

} // namespace mandalix
