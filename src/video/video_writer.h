// Writes a video frame by frame: WebM (VP9), MP4 (H.264) or an animated PNG, told by the
// path's suffix. Each frame is converted on the caller's thread and encoded on the
// writer's own serial queue while the caller makes the next; at most two frames wait
// there, so memory stays bounded however long the video. The file is written aside and
// put in place only by finish(): a video cancelled, failed or never finished leaves no
// file and never replaces an earlier one. One owner, on one thread at a time; failures
// come back as Results naming the path.
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

    // Hands over the next frame: an image of the size opened, in any format. The image is
    // converted before this returns, so the caller may change it at once; the same image
    // again (same QImage::cacheKey) reuses that conversion. Waits while two frames wait to
    // be encoded. A failure cancels the video, an encoder's failure showing at the next
    // call; later calls answer it again.
    Result<> addFrame(const QImage& frame);

    // Encodes the frames handed over and what the encoder holds back, closes the file and
    // puts it in place.
    Result<> finish();

    // Drops the video: the frame being encoded is finished, those waiting are dropped and
    // the file written aside is removed. Nothing happens when none is open.
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
