// The limits of an exported animation: each refusal names its field in one line, before
// anything is painted; names of the kinds round-trip.
#include "video/animation_settings.h"

#include <gtest/gtest.h>

#include <limits>

namespace mandalix {
namespace {

TEST(AnimationSettings, RefusesEachFieldOutOfBoundsByName)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        AnimationKind kind;
        QSize size;
        int fps;
        double seconds;
        const char* path;
        const char* named; // empty: accepted
    } cases[] = {
        {AnimationKind::Painting, {453, 453}, 30, 0, "a.png", ""},
        {AnimationKind::Painting, {452, 453}, 30, 1, "a.png", "size 452x453"},
        {AnimationKind::Painting, {453, 453}, 30, 1, "a.mp4", "even width"},
        {AnimationKind::Painting, {3840, 2160}, 120, 600, "a.webm", ""},
        {AnimationKind::Painting, {3842, 2160}, 30, 1, "a.webm", "width 3842"},
        {AnimationKind::Painting, {1920, 2162}, 30, 1, "a.webm", "height 2162"},
        {AnimationKind::Painting, {1920, 1080}, 0, 1, "a.mp4", "frame rate 0"},
        {AnimationKind::Painting, {1920, 1080}, 121, 1, "a.mp4", "frame rate 121"},
        {AnimationKind::Painting, {1920, 1080}, 30, -0.5, "a.mp4", "hold"},
        {AnimationKind::Painting, {1920, 1080}, 30, 600.5, "a.mp4", "hold"},
        {AnimationKind::Cycle, {16, 16}, 30, 0.1, "a.png", ""},
        {AnimationKind::Cycle, {16, 16}, 30, 0, "a.png", "loop's length"},
        {AnimationKind::Morph, {64, 48}, 30, nan, "a.webm", "loop's length"},
        {AnimationKind::Morph, {64, 48}, 30, 4, "a.gif", ".webm"},
    };
    for (const auto& c : cases) {
        const Result<> checked = checkAnimationSettings({c.kind, c.size, c.fps, c.seconds}, QString::fromUtf8(c.path));
        const QString named = QString::fromUtf8(c.named);
        SCOPED_TRACE(c.path + (" " + named).toStdString());
        EXPECT_EQ(checked.ok, named.isEmpty()) << checked.message.toStdString();
        EXPECT_TRUE(checked.message.contains(named)) << checked.message.toStdString();
        EXPECT_FALSE(checked.message.contains(QLatin1Char('\n')));
    }
}

TEST(AnimationSettings, KindsAreNamedAsTheRendererTakesThem)
{
    for (AnimationKind kind : {AnimationKind::Painting, AnimationKind::Cycle, AnimationKind::Morph}) {
        const Result<AnimationKind> read = animationKindOf(animationKindName(kind));
        EXPECT_TRUE(read.ok);
        EXPECT_EQ(read.value, kind);
    }
    EXPECT_FALSE(animationKindOf(QStringLiteral("Painting")).ok);
    EXPECT_FALSE(animationKindOf(QString()).ok);
}

} // namespace
} // namespace mandalix
