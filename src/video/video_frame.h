// Turns the program's images into an encoder's frames: any QImage format, through 32-bit
// RGB, into packed RGB (exact) or 4:2:0 BT.709 in the studio range. Alpha is dropped.
// One owner, one thread; out of memory is a failed Result.
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

    // The frame holding `image` (of the size opened) with `pts`; valid until the next
    // call. The encoder may keep a reference to it: the next call writes a fresh buffer.
    Result<AVFrame*> convert(const QImage& image, long long pts);

private:
    QSize m_size;
    AvFramePtr m_frame;
    SwsContextPtr m_scaler;
};

} // namespace mandalix
