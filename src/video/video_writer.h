// Writes a video frame by frame: WebM (VP9), MP4 (H.264) or an animated PNG, told by the
// path's suffix. Frames go to the encoder as they come, so memory stays bounded however
// long the video. The file is written aside and put in place only by finish(): a video
// cancelled, failed or never finished leaves no file and never replaces an earlier one.
// One owner, on one thread at a time; failures come back as Results naming the path.
#pragma once

#include "base/result.h"
#include "video/video_format.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace mandalix {

class VideoWriter {
public:
    VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;
    // Cancels a video not finished.
    ~VideoWriter();

    // Starts the video at `path` of `size` at `framesPerSecond`. Refuses a path of no video
    // format, settings out of bounds (video_format.h), a path that names anything but a
    // regular file, and a format whose encoder this FFmpeg lacks; the other formats still
    // work. Requires that no video is open.
    Result<> open(const QString& path, QSize size, int framesPerSecond);

    // Encodes the next frame: an image of the size opened, in any format. A failure
    // cancels the video; later calls answer it again.
    Result<> addFrame(const QImage& frame);

    // Encodes what the encoder holds back, closes the file and puts it in place.
    Result<> finish();

    // Drops the video: the file written aside is removed. Nothing happens when none is open.
    void cancel();

    bool isOpen() const { return m_encoding != nullptr; }
    long long framesWritten() const;

private:
    struct Encoding;
    Result<> fail(const QString& reason);

    std::unique_ptr<Encoding> m_encoding;
    Result<> m_failure = Result<>::success();
};

} // namespace mandalix
