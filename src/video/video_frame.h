// Turns the program's images into an encoder's frames: into packed RGB (exact) or 4:2:0
// BT.709 in the studio range. Palette indices, as the frame engine paints them, and 32-bit
// RGB are taken as they are, any other format through 32-bit RGB. Alpha is dropped.
// One owner, one thread at a time; out of memory is a failed Result. The frames it makes
// are the caller's, free to hand to another thread.
#pragma once

#include "base/result.h"
#include "video/ffmpeg_handles.h"

#include <QImage>
#include <QSize>

namespace mandalix {

class VideoFrameConverter {
public:
    VideoFrameConverter() = default;
    VideoFrameConverter(const VideoFrameConverter&) = delete;
    VideoFrameConverter& operator=(const VideoFrameConverter&) = delete;

    // Prepares frames of `size` in `pixelFormat` (AV_PIX_FMT_RGB24 or AV_PIX_FMT_YUV420P).
    Result<> open(QSize size, AVPixelFormat pixelFormat);

    // A new frame holding `image` (of the size opened) with `pts`, in buffers of its own:
    // no later call writes over it, so an encoder may still read it on another thread.
    // The buffers come from a pool of the converter's, to which a frame's go back when
    // the encoder lets go of it, on any thread: a long video is not a fresh allocation a
    // frame.
    Result<AvFramePtr> convert(const QImage& image, long long pts);

private:
    // The scaler from `source`, made anew only when the source's format changes.
    bool setSource(AVPixelFormat source);

    QSize m_size;
    AVPixelFormat m_target = AV_PIX_FMT_NONE;
    SwsContextPtr m_scaler;
    AvBufferPoolPtr m_pool;
};

} // namespace mandalix
