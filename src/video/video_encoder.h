// The encoder of each video format, set up for the program's videos: VP9 and H.264 fast
// enough to keep up with painting at 1080p on two cores, lossless RGB for animated PNG.
// Used by the video writer on its owner's thread; the encoders run threads of their own.
// An encoder this FFmpeg lacks is a failed Result naming the format.
#pragma once

#include "base/result.h"
#include "video/ffmpeg_handles.h"
#include "video/video_format.h"

#include <QSize>

namespace mandalix {

// FFmpeg's encoder `encoderName` for the format, or the sentence that says this FFmpeg
// lacks it ("WebM needs FFmpeg's libvpx-vp9 encoder, which this FFmpeg lacks").
Result<const AVCodec*> findVideoEncoder(VideoFormat format, const char* encoderName);

// The format's encoder opened for frames of `size` at `framesPerSecond`, stamped one
// frame per tick of its time base. `globalHeader` when the container wants the codec's
// headers apart from the frames.
Result<AvCodecContextPtr> openVideoEncoder(VideoFormat format, QSize size, int framesPerSecond, bool globalHeader);

} // namespace mandalix
