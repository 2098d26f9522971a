// Reads pictures' PNGs for Open away from the GUI thread, one at a time in the order
// asked, so a slow or hostile file never freezes the window. Owned by PictureFiles; the
// GUI thread asks and stops, the reader's own thread reads and calls back with the
// result as a value. A read is bounded (see readPicturePng), so stopping never waits
// long; reads still queued are dropped.
#pragma once

#include "output/picture_png.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace mandalix {

class PictureReader {
public:
    // Called on the reader's thread with the path read and what was read.
    using Done = std::function<void(const QString& path, PictureRead read)>;

    explicit PictureReader(Done done);
    ~PictureReader();
    PictureReader(const PictureReader&) = delete;
    PictureReader& operator=(const PictureReader&) = delete;

    // Queues the file. GUI thread.
    void read(const QString& path);
    // Drops what is queued and joins once the read in progress is done. Harmless twice.
    void stop();
    // Waits until nothing is queued or being read, or the timeout passes; true when idle.
    bool waitUntilIdle(std::chrono::milliseconds timeout);

private:
    void run();

    Done m_done;
    std::mutex m_mutex; // guards the queue and the flags
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<QString> m_queue;
    bool m_isReading = false;
    bool m_isStopping = false;
    std::thread m_thread;
};

} // namespace mandalix
