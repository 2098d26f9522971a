// Colour cycling: frame N is frame 0 with its palette positions shifted N places, the
// loop closes after the 68 positions, frame 0 is the picture as the window shows it, and
// a key or a command stops it, leaving Picture1 as it was.
#include "app/colour_cycle_view.h"
#include "app/form1.h"
#include "generator/pixel_terms.h"
#include "palette/colour_cycle.h"
#include "palette/strip_colours.h"

#include <QTest>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

TEST(ColourCycle, EachShiftRotatesThePositionsAndTheLoopCloses)
{
    PictureRecord record;
    record.palette.period = {25, 30, 35};
    record.palette.phase = {1, 2, 3};
    record.palette.wavelength = {30, 40, 50};
    record.replacements.push_back({stripColours(record.palette)[3], 0x123456});
    const QList<QRgb> table = frameColourTable(record);
    for (const int shift : {0, 1, 5, 67, 68, 69, -1}) {
        SCOPED_TRACE(shift);
        const QList<QRgb> cycled = cycledColourTable(table, shift);
        ASSERT_EQ(cycled.size(), table.size());
        for (int k = 0; k < kPaletteIndices; ++k)
            EXPECT_EQ(cycled[k], table[(k + shift + 2 * kPaletteIndices) % kPaletteIndices]);
        EXPECT_EQ(cycled[kFailedIndex], table[kFailedIndex]) << "failed pixels keep their colour";
    }
    EXPECT_EQ(cycledColourTable(table, kPaletteIndices), table) << "the loop closes";
    EXPECT_EQ(cycledColourTable(cycledColourTable(table, 5), 7), cycledColourTable(table, 12));
}

TEST(ColourCycle, YCyclesOverThePictureAndAKeyOrACommandStopsItLeavingThePicture)
{
    QTemporaryDir drive;
    FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(20, 1, 2, 300)));
    Session program(clock, Drives{drive.path(), drive.path()});
    Form1 form(program, nullptr, 0ms);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.start();
    ASSERT_TRUE(form.worker().waitUntilIdle(120s));
    QTest::qWait(50); // the view copies the finished picture
    const QImage shown = program.surfaces.Picture1.image();

    QTest::keyClick(&form, Qt::Key_Y);
    ASSERT_TRUE(form.isCyclingColours());
    ColourCycleView* cycle = form.colourCycle();
    const QImage first = cycle->frame();
    int painted = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            painted += first.pixel(x, y) == shown.pixel(x, y);
    EXPECT_EQ(painted, first.width() * first.height()) << "frame 0 is the picture on show";
    ASSERT_TRUE(QTest::qWaitFor([&] { return cycle->shift() >= 2; }, 5000));
    EXPECT_NE(cycle->frame(), first) << "the colours move";

    QTest::keyClick(&form, Qt::Key_Y);
    EXPECT_FALSE(form.isCyclingColours()) << "Y stops it too";
    EXPECT_FALSE(cycle->isVisible());
    QTest::keyClick(&form, Qt::Key_Y);
    EXPECT_TRUE(form.isCyclingColours());
    QTest::keyClick(&form, Qt::Key_Shift);
    EXPECT_FALSE(form.isCyclingColours()) << "any key stops it";
    QTest::keyClick(&form, Qt::Key_Y);
    form.post(cmd::Help{});
    EXPECT_FALSE(form.isCyclingColours()) << "a command stops it first";
    ASSERT_TRUE(form.worker().waitUntilIdle(120s));
    form.post(cmd::RepeatImage{});
    ASSERT_TRUE(form.worker().waitUntilIdle(120s));
    EXPECT_EQ(program.surfaces.Picture1.image(), shown) << "cycling never touched the picture";
}

} // namespace
} // namespace mandalix
