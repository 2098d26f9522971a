#include "render_wallpaper.h"

#include "base/work_pool.h"
#include "desktop/wallpaper_setter.h"
#include "desktop/x_root_background.h"
#include "program/record_painting.h"

#include <atomic>

namespace mandalix {

Result<QString> setRenderedWallpaper(const PictureRecord& record, int threads)
{
    // The renderer opens no window: the display's default screen gives the size.
    const Result<QSize> screenPx = xScreenSize();
    if (!screenPx.ok)
        return Result<QString>::failure(QStringLiteral("Could not set the wallpaper: %1").arg(screenPx.message));
    const WallpaperPicture picture{record, paintRecordAtWindowSize(record), screenPx.value,
                                   threads > 0 ? threads : processorCount()};
    const std::atomic<bool> cancel{false};
    return makeWallpaper(wallpaperFolderFromEnvironment(), picture, DesktopSession::fromEnvironment(), cancel);
}

} // namespace mandalix
