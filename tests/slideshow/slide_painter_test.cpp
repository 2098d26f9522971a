// The slide show's painter: whatever the order, the finished frame holds the colours the
// export paints at the same framing; each pass is paced block by block and a stop at a
// block ends the picture there.
#include "slideshow/slide_painter.h"

#include "generator/scaled_picture.h"
#include "program/program.h"

#include <gtest/gtest.h>

#include <vector>

namespace mandalix {
namespace {

// Counts the passes and checkpoints; stops at checkpoint `stopAt` (0: never).
class CountingPacer final : public Pacer {
public:
    explicit CountingPacer(int stopAt = 0) : m_stopAt(stopAt) { }
    void beginPass(long long positions) override
    {
        passes.push_back(positions);
        last = 0;
    }
    bool checkpoint(long long done) override
    {
        EXPECT_GT(done, last) << "progress only grows within a pass";
        last = done;
        return ++checkpoints != m_stopAt;
    }
    std::vector<long long> passes;
    long long last = 0;
    int checkpoints = 0;

private:
    int m_stopAt;
};

struct Scene {
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(10, 30, 15, 250))};
    Program program{clock, Drives{}};
    Scene() { StartUp(program, noPacing()); }
};

int blackPixels(const QImage& image)
{
    int black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            black += image.pixel(x, y) == 0xFF000000 ? 1 : 0;
    return black;
}

TEST(SlidePainter_Frame, EveryOrderEndsWithTheExportsColoursAtTheSameFraming)
{
    Scene scene;
    WindowState s = scene.program.state;
    const Surface& strip = scene.program.surfaces.Picture3;
    const QImage exported = paintScaled(s, strip, 1, 2);
    for (int nac : {1, 2, 3, 4}) {
        SCOPED_TRACE(nac);
        s.nac = nac;
        SlidePainter painter(kPictureSizePx, 2);
        Rnd rnd(2.0f);
        CountingPacer pacer;
        ASSERT_TRUE(painter.paint(s, strip, rnd, pacer));
        const long long positions = static_cast<long long>(kPictureSizePx) * kPictureSizePx;
        EXPECT_EQ(pacer.passes, std::vector<long long>(nac == 4 ? 2 : 1, positions));
        EXPECT_EQ(pacer.last, positions);
        EXPECT_GE(pacer.checkpoints, kSlideBlocksPerPass * (nac == 4 ? 2 : 1) - 1);
        EXPECT_EQ(painter.changes(), static_cast<std::uint64_t>(pacer.checkpoints))
            << "one publish per block";

        const QImage frame = painter.snapshot();
        int differing = 0;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) {
                // Where the pipeline fails the export stays black and the frame keeps
                // what was there: black, or the noise of type 4.
                if (nac == 4 && exported.pixel(x, y) == 0xFF000000)
                    continue;
                differing += frame.pixel(x, y) != exported.pixel(x, y) ? 1 : 0;
            }
        EXPECT_EQ(differing, 0);
    }
    EXPECT_LT(blackPixels(exported), kPictureSizePx * kPictureSizePx / 2) << "a real picture";
}

TEST(SlidePainter_Stop, AStopAtABlockEndsThePictureWithThatBlockPublished)
{
    Scene scene;
    WindowState s = scene.program.state;
    s.nac = 2;
    SlidePainter painter(600, 2);
    Rnd rnd(2.0f);
    CountingPacer pacer(3);
    EXPECT_FALSE(painter.paint(s, scene.program.surfaces.Picture3, rnd, pacer));
    EXPECT_EQ(pacer.checkpoints, 3);
    EXPECT_EQ(painter.changes(), 3u);
    // Three blocks of rings from the centre: the corners are still black, the middle not.
    const QImage frame = painter.snapshot();
    const int painted = 600 * 600 - blackPixels(frame);
    EXPECT_GT(painted, 0);
    EXPECT_LE(painted, 3 * (600 * 600 + kSlideBlocksPerPass - 1) / kSlideBlocksPerPass);
    EXPECT_EQ(frame.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(frame.pixel(599, 599), 0xFF000000u);
}

} // namespace
} // namespace mandalix
