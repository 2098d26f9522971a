// The kinds of video the program writes, told by the output path's suffix, and the
// limits a video's size and frame rate keep to. Plain functions of values, any thread;
// a refusal is a failed Result with a one-line sentence for the user.
#pragma once

#include "base/result.h"

#include <QSize>
#include <QString>

namespace mandalix {

// WebM is VP9, MP4 is H.264 (both 4:2:0, so of even sizes); an animated PNG keeps every
// pixel as given.
enum class VideoFormat { WebM, Mp4, AnimatedPng };

inline constexpr int kMinVideoSidePx = 16;
inline constexpr int kMaxVideoWidthPx = 3840;
inline constexpr int kMaxVideoHeightPx = 2160;
inline constexpr int kMinVideoFps = 1;
inline constexpr int kMaxVideoFps = 120;

// The format of a path ending in .webm, .mp4 or .png (any case); any other path fails
// with a sentence naming the three.
Result<VideoFormat> videoFormatOf(const QString& path);

// "WebM", "MP4" or "animated PNG".
QString videoFormatName(VideoFormat format);

// The FFmpeg encoder that writes the format: "libvpx-vp9", "libx264" or "apng".
const char* videoEncoderName(VideoFormat format);

// Whether a video of `size` at `framesPerSecond` can be written in the format: each side
// within its limits, even sides for the 4:2:0 formats, the rate within its limits. The
// first field out of bounds is named.
Result<> checkVideoSettings(VideoFormat format, QSize size, int framesPerSecond);

} // namespace mandalix
