// A muxer's output into the file the writer writes aside: FFmpeg writes and seeks through
// a buffer of its own into the Qt device, and the system's reason for the first write
// that failed is kept, since Qt's device drops it when a write stops partway (a full
// disk). Used by the video writer on whichever thread muxes, one at a time.
#pragma once

#include "video/ffmpeg_handles.h"

#include <QIODevice>

namespace mandalix {

// The file aside as FFmpeg's output sees it.
struct FileSink {
    QIODevice* device = nullptr;
    int systemError = 0; // errno of the first call that failed; 0 when none did
};

// The muxer with the file output it was given: that output is ours to free.
struct MuxerFree {
    void operator()(AVFormatContext* muxer) const;
};

// Gives `muxer` an output into `sink`, which must outlive it. False when out of memory.
bool attachFileSink(AVFormatContext& muxer, FileSink& sink);

} // namespace mandalix
