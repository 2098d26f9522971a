// Setting the wallpaper through the desktop portal's Wallpaper interface on the session
// bus: SetWallpaperURI answers with a request object, whose Response signal tells how it
// ended. A connection of its own is opened for each call (the bus named by the
// environment at that moment) and closed after it. For the wallpaper's thread, which must
// belong to a program with an application object: it runs an event loop of its own while
// it waits. A portal that is absent, answers an error, or ends other than with success
// comes back as a short reason.
#pragma once

#include "base/result.h"

#include <QString>

#include <atomic>

namespace mandalix {

inline constexpr char kPortalService[] = "org.freedesktop.portal.Desktop";
inline constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
inline constexpr char kPortalWallpaperInterface[] = "org.freedesktop.portal.Wallpaper";
inline constexpr char kPortalRequestInterface[] = "org.freedesktop.portal.Request";

// How long the portal may take to answer the call, and then to say how it ended.
inline constexpr int kPortalCallTimeoutMs = 5000;
inline constexpr int kPortalResponseTimeoutMs = 30000;

// The session bus's address: as the environment names it, else the socket in the
// session's runtime folder; empty when there is none.
QString sessionBusAddress();

// Asks the portal to show the file on the desktop and the lock screen, without a preview.
// Stops waiting for the answer when `cancel` turns true (the program is ending).
Result<> setPortalWallpaper(const QString& file, int responseTimeoutMs = kPortalResponseTimeoutMs,
                            const std::atomic<bool>* cancel = nullptr);

} // namespace mandalix
