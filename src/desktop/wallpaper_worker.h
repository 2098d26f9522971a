// Key W off the GUI thread: the wallpaper's own queue ("mandalix-wallpa") paints the
// picture at the screen's size, writes it and sets it, so the window keeps answering
// while the bus and the desktops' commands take their seconds. One wallpaper at a time.
// The GUI thread starts it; the line for the user comes back through a callback on the
// queue's thread. Destroying it lets a running job end at its next look at the flag.
#pragma once

#include "base/result.h"
#include "base/serial_queue.h"
#include "desktop/wallpaper_file.h"
#include "desktop/wallpaper_setter.h"

#include <QString>

#include <atomic>
#include <functional>

namespace mandalix {

class WallpaperWorker {
public:
    // The line for the user, ok or not: see makeWallpaper.
    using Done = std::function<void(const Result<QString>&)>;

    // Wallpapers go into `folder`.
    explicit WallpaperWorker(QString folder);
    ~WallpaperWorker();
    WallpaperWorker(const WallpaperWorker&) = delete;
    WallpaperWorker& operator=(const WallpaperWorker&) = delete;

    // Starts making `picture` the wallpaper; a null `picture.shown` is painted from the
    // record at the window's size first. False, and nothing done, while one is being set.
    // `onDone` is called on the queue's thread. GUI thread.
    bool start(WallpaperPicture picture, DesktopSession session, Done onDone);
    bool isBusy() const { return m_isBusy.load(std::memory_order_acquire); }
    // Waits until the wallpaper being set is set, at most `timeout`; true when it is (or
    // none was). Not from the queue's thread.
    bool waitIdleFor(std::chrono::milliseconds timeout) { return m_queue.waitIdleFor(timeout); }

private:
    QString m_folder;
    std::atomic<bool> m_isBusy{false};
    std::atomic<bool> m_cancel{false};
    SerialQueue m_queue{"mandalix-wallpa"};
};

} // namespace mandalix
