// Where the slide show's picture sits on a screen, and which position of the window's
// grid each of its pixels stands for.
#include "slideshow/slide_frame.h"

#include "generator/scaled_picture.h"

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

TEST(SlideFrame_Position, AMultipleOfThePictureFramesExactlyAsTheExportAndItsEdgesAreSymmetric)
{
    for (int scale : {1, 2, 3, 5}) {
        for (int index : {0, 1, 452, 453 * scale - 1}) {
            SCOPED_TRACE(scale * 10000 + index);
            EXPECT_EQ(slidePosition(index, 453 * scale), framedPosition(index, 453 * scale, 453 * scale));
        }
    }
    // Any side: the first and last pixels stand as far inside the grid's two edges.
    for (int side : {1080, 2160, 1000}) {
        SCOPED_TRACE(side);
        EXPECT_NEAR(slidePosition(0, side) + slidePosition(side - 1, side), 452.0, 1e-9);
        EXPECT_LT(slidePosition(0, side), 0.0);
    }
}

} // namespace
} // namespace mandalix
