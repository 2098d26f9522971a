// What an exported animation is and the limits its settings keep to: the painting of a
// picture as a viewer watches it, the picture's colours cycling along the strip, or a
// loop morphing one picture into another and back. The window's export dialog and the
// renderer check the same settings here before anything is painted. Plain functions of
// values, any thread; a refusal is a failed Result with one line naming the field.
#pragma once

#include "base/result.h"

#include <QSize>
#include <QString>

namespace mandalix {

enum class AnimationKind { Painting, Cycle, Morph };

// The painting is framed as Save as frames a picture: from the window's own size up to
// the largest video.
inline constexpr int kMinPaintingSidePx = 453;
// Cycling and morph loops last at most ten minutes; so does the painting's hold.
inline constexpr double kMaxAnimationSeconds = 600;
inline constexpr int kDefaultAnimationFps = 30;
inline constexpr double kDefaultPaintingHoldSeconds = 1;
inline constexpr double kDefaultLoopSeconds = 4;

struct AnimationSettings {
    AnimationKind kind = AnimationKind::Painting;
    QSize size{kMinPaintingSidePx, kMinPaintingSidePx};
    int framesPerSecond = kDefaultAnimationFps;
    // The painting: how long the finished picture is held at its end (0 allowed). The
    // loops: how long one round lasts (more than 0).
    double seconds = kDefaultPaintingHoldSeconds;
};

// "painting", "cycle" or "morph", as the renderer's --animate takes them.
Result<AnimationKind> animationKindOf(const QString& name);
QString animationKindName(AnimationKind kind);

// Whether `settings` can be written to `path`: the path names a video format, the size
// and rate suit that format, the painting is no smaller than the window's picture, and
// the seconds are a finite number within their bounds. The first field out of bounds
// is named. The file itself is checked when the video is opened.
Result<> checkAnimationSettings(const AnimationSettings& settings, const QString& path);

} // namespace mandalix
