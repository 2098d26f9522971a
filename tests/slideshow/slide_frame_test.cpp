// Where the slide show's picture sits on a screen.
#include "slideshow/slide_frame.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(SlideFrame_Centring, ASquareOfTheShorterSideInTheMiddle)
{
    const struct {
        const char* name;
        QSize screen;
        QRect picture;
    } rows[] = {
        {"full HD", {1920, 1080}, {420, 0, 1080, 1080}},
        {"4K", {3840, 2160}, {840, 0, 2160, 2160}},
        {"portrait", {1080, 1920}, {0, 420, 1080, 1080}},
        {"odd difference goes right", {1921, 1080}, {420, 0, 1080, 1080}},
        {"square", {1024, 1024}, {0, 0, 1024, 1024}},
        {"just the picture", {800, 453}, {173, 0, 453, 453}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Result<QRect> frame = slideFrameFor(row.screen);
        EXPECT_TRUE(frame.ok) << frame.message.toStdString();
        EXPECT_EQ(frame.value, row.picture);
    }
}

TEST(SlideFrame_Centring, NoScreenOrOneSmallerThanThePictureIsRefusedWithASentence)
{
    for (const QSize screen : {QSize(), QSize(0, 0), QSize(1920, 452), QSize(300, 200)}) {
        SCOPED_TRACE(screen.width());
        const Result<QRect> frame = slideFrameFor(screen);
        EXPECT_FALSE(frame.ok);
        EXPECT_TRUE(frame.message.endsWith(u'.')) << frame.message.toStdString();
    }
    EXPECT_TRUE(slideFrameFor(QSize(1920, 452)).message.contains(QStringLiteral("1920 x 452")));
    EXPECT_TRUE(slideFrameFor(QSize()).message.contains(QStringLiteral("no screen")));
}

TEST(SlideFrame_Centring, ASmallerSmallestSideTakesASmallWindowAndNoSizeStill)
{
    // XScreenSaver's settings show a preview a few hundred pixels wide.
    const Result<QRect> preview = slideFrameFor(QSize(301, 200), 1);
    EXPECT_TRUE(preview.ok);
    EXPECT_EQ(preview.value, QRect(50, 0, 200, 200));
    EXPECT_EQ(slideFrameFor(QSize(1, 1), 1).value, QRect(0, 0, 1, 1));
    EXPECT_FALSE(slideFrameFor(QSize(0, 200), 1).ok);
    EXPECT_TRUE(slideFrameFor(QSize(640, 479), 480).message.contains(QStringLiteral("(480 x 480 pixels)")));
}

} // namespace
} // namespace mandalix
