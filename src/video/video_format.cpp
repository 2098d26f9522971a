#include "video/video_format.h"

#include <QFileInfo>

namespace mandalix {

namespace {

bool isWithin(int value, int low, int high) { return value >= low && value <= high; }

} // namespace

Result<VideoFormat> videoFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("webm"))
        return Result<VideoFormat>::success(VideoFormat::WebM);
    if (suffix == QLatin1String("mp4"))
        return Result<VideoFormat>::success(VideoFormat::Mp4);
    if (suffix == QLatin1String("png"))
        return Result<VideoFormat>::success(VideoFormat::AnimatedPng);
    return Result<VideoFormat>::failure(
        QStringLiteral("\"%1\" names no video format: end it in .webm (VP9), .mp4 (H.264) or .png (animated PNG)")
            .arg(path));
}

QString videoFormatName(VideoFormat format)
{
    switch (format) {
    case VideoFormat::WebM: return QStringLiteral("WebM");
    case VideoFormat::Mp4: return QStringLiteral("MP4");
    case VideoFormat::AnimatedPng: return QStringLiteral("animated PNG");
    }
    return {};
}

const char* videoEncoderName(VideoFormat format)
{
    switch (format) {
    case VideoFormat::WebM: return "libvpx-vp9";
    case VideoFormat::Mp4: return "libx264";
    case VideoFormat::AnimatedPng: return "apng";
    }
    return "";
}

Result<> checkVideoSettings(VideoFormat format, QSize size, int framesPerSecond)
{
    if (!isWithin(size.width(), kMinVideoSidePx, kMaxVideoWidthPx))
        return Result<>::failure(QStringLiteral("The video's width %1 is not within %2..%3 pixels")
                                     .arg(size.width()).arg(kMinVideoSidePx).arg(kMaxVideoWidthPx));
    if (!isWithin(size.height(), kMinVideoSidePx, kMaxVideoHeightPx))
        return Result<>::failure(QStringLiteral("The video's height %1 is not within %2..%3 pixels")
                                     .arg(size.height()).arg(kMinVideoSidePx).arg(kMaxVideoHeightPx));
    // 4:2:0 keeps one colour sample for each 2x2 block of pixels.
    if (format != VideoFormat::AnimatedPng && (size.width() % 2 != 0 || size.height() % 2 != 0))
        return Result<>::failure(QStringLiteral("%1 needs an even width and height, not %2x%3")
                                     .arg(videoFormatName(format)).arg(size.width()).arg(size.height()));
    if (!isWithin(framesPerSecond, kMinVideoFps, kMaxVideoFps))
        return Result<>::failure(QStringLiteral("The video's frame rate %1 is not within %2..%3 frames per second")
                                     .arg(framesPerSecond).arg(kMinVideoFps).arg(kMaxVideoFps));
    return Result<>::success();
}

} // namespace mandalix
