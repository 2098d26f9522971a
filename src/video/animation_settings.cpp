#include "video/animation_settings.h"

#include "video/video_format.h"

#include <cmath>

namespace mandalix {

Result<AnimationKind> animationKindOf(const QString& name)
{
    for (AnimationKind kind : {AnimationKind::Painting, AnimationKind::Cycle, AnimationKind::Morph})
        if (name == animationKindName(kind))
            return Result<AnimationKind>::success(kind);
    return Result<AnimationKind>::failure(
        QStringLiteral("\"%1\" is no animation: painting, cycle or morph").arg(name));
}

QString animationKindName(AnimationKind kind)
{
    switch (kind) {
    case AnimationKind::Painting: return QStringLiteral("painting");
    case AnimationKind::Cycle: return QStringLiteral("cycle");
    case AnimationKind::Morph: return QStringLiteral("morph");
    }
    return {};
}

namespace {

Result<> checkSeconds(const AnimationSettings& settings)
{
    const double seconds = settings.seconds;
    const bool isHold = settings.kind == AnimationKind::Painting;
    const bool isWithin = std::isfinite(seconds) && seconds <= kMaxAnimationSeconds
                          && (isHold ? seconds >= 0 : seconds > 0);
    if (isWithin)
        return Result<>::success();
    const QString field = isHold ? QStringLiteral("The hold at the end") : QStringLiteral("The loop's length");
    const QString low = isHold ? QStringLiteral("0") : QStringLiteral("more than 0");
    return Result<>::failure(QStringLiteral("%1, %2 seconds, is not within %3..%4 seconds")
                                 .arg(field, QString::number(seconds), low)
                                 .arg(kMaxAnimationSeconds));
}

} // namespace

Result<> checkAnimationSettings(const AnimationSettings& settings, const QString& path)
{
    const Result<VideoFormat> format = videoFormatOf(path);
    if (!format.ok)
        return Result<>::failure(format.message);
    if (settings.kind == AnimationKind::Painting
        && (settings.size.width() < kMinPaintingSidePx || settings.size.height() < kMinPaintingSidePx))
        return Result<>::failure(QStringLiteral("The painting's size %1x%2 is smaller than the window's %3x%3")
                                     .arg(settings.size.width()).arg(settings.size.height())
                                     .arg(kMinPaintingSidePx));
    if (Result<> video = checkVideoSettings(format.value, settings.size, settings.framesPerSecond); !video.ok)
        return video;
    return checkSeconds(settings);
}

} // namespace mandalix
