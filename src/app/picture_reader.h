// Reads pictures' PNGs for Open away from the GUI thread, one at a time in the order
// asked, so a slow or hostile file never freezes the window. Owned by PictureFiles; the
// GUI thread asks and stops, the reader's serial queue ("mandalix-open") reads and calls
// back with the result as a value. A read is bounded (see readPicturePng), so stopping never waits
// long; reads still queued are dropped.
#pragma once

#include "base/serial_queue.h"
#include "output/picture_png.h"

#include <QString>

#include <chrono>
#include <functional>

namespace mandalix {

class PictureReader {
public:
    // Called on the reader's queue with the path read and what was read.
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
    Done m_done;
    // Last: its thread ends before m_done goes.
    SerialQueue m_queue{"mandalix-open"};
};

} // namespace mandalix
