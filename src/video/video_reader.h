// Reads a video back with FFmpeg's own demuxers and decoders: what the writer wrote, for
// the tests and for checks of an export. Plain functions, any thread; a file that cannot
// be read is a failed Result naming the path and FFmpeg's reason.
#pragma once

#include "base/result.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

namespace mandalix {

struct VideoInfo {
    QSize size;
    double framesPerSecond = 0; // as the container tells it, or as FFmpeg guesses it
    int frameCount = 0;         // frames decoded, every one
};

// The first video stream's size and rate, and its frames counted by decoding them all.
Result<VideoInfo> readVideoInfo(const QString& path);

// The first `maxFrames` frames (all when fewer) as Format_RGB32 images, in display order.
Result<std::vector<QImage>> decodeFrames(const QString& path, int maxFrames);

} // namespace mandalix
