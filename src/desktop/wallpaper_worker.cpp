#include "desktop/wallpaper_worker.h"

#include "program/record_painting.h"

#include <utility>

namespace mandalix {

WallpaperWorker::WallpaperWorker(QString folder) : m_folder(std::move(folder)) { }

WallpaperWorker::~WallpaperWorker()
{
    m_cancel.store(true, std::memory_order_release);
    m_queue.stop();
}

bool WallpaperWorker::start(WallpaperPicture picture, DesktopSession session, Done onDone)
{
    if (m_isBusy.exchange(true, std::memory_order_acq_rel))
        return false;
    m_queue.post([this, picture = std::move(picture), session = std::move(session), onDone = std::move(onDone)]() mutable {
        if (picture.shown.isNull())
            picture.shown = paintRecordAtWindowSize(picture.record);
        const Result<QString> line = makeWallpaper(m_folder, picture, session, m_cancel);
        m_isBusy.store(false, std::memory_order_release);
        if (onDone && !m_cancel.load(std::memory_order_acquire))
            onDone(line);
    });
    return true;
}

} // namespace mandalix
