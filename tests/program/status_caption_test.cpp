#include "program/status_caption.h"

#include "program/program.h"

#include <QRect>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace mandalix {
namespace {

const QRect kBox(690, 97, 161, 16); // columns 690..850, rows 97..112

// The box as it should look: a fresh grey box with the name printed at (700, 98).
QImage expectedBox(const QString& name)
{
    Surface box(kBox.width(), kBox.height(), rgbColour(200, 200, 200));
    box.setCurrentX(700 - kBox.left());
    box.setCurrentY(98 - kBox.top());
    box.Print(name);
    return box.image();
}

QImage boxOf(const Surface& form1) { return form1.image().copy(kBox); }

// True when nothing outside the box differs from `colour`.
bool onlyBoxPainted(const Surface& form1, Colour colour)
{
    for (int y = 0; y < form1.height(); ++y)
        for (int x = 0; x < form1.width(); ++x)
            if (!kBox.contains(x, y) && form1.Point(x, y) != colour)
                return false;
    return true;
}

TEST(StatusCaption_References, DifferForEveryName)
{
    // Guards the comparisons below: a box showing the wrong name must not pass.
    const QString names[] = {QString(), "from left to right", "from centre ortogonal",
                             "random point after point", "from order to chaos and back"};
    for (const QString& a : names) {
        for (const QString& b : names) {
            if (a != b) {
                EXPECT_NE(expectedBox(a), expectedBox(b)) << a.toStdString() << " / "
                                                          << b.toStdString();
            }
        }
    }
}

TEST(StatusCaption_StartUp, NamesOrderToChaosAndBack)
{
    FixedClock clock(QDateTime(QDate(2024, 3, 1), QTime(10, 20, 30)));
    Program program(clock, Drives{});
    StartUp(program, noPacing());
    EXPECT_EQ(boxOf(program.surfaces.Form1), expectedBox("from order to chaos and back"));
}

TEST(StatusCaption_GenerationTypeCommand, CyclesThroughTheNamesAndRepaintsTheWholeBox)
{
    FixedClock clock(QDateTime(QDate(2024, 3, 1), QTime(10, 20, 30)));
    Program program(clock, Drives{});
    StartUp(program, noPacing());
    // The fourth step replaces the longest name by a shorter one.
    const char* expected[] = {"from left to right", "from centre ortogonal",
                              "random point after point", "from order to chaos and back",
                              "from left to right"};
    for (const char* name : expected) {
        SCOPED_TRACE(name);
        program.state.x = 0;
        runCommand(program, cmd::GenerationType{}, noPacing());
        EXPECT_EQ(boxOf(program.surfaces.Form1), expectedBox(name));
        EXPECT_EQ(program.state.x, 851);
        EXPECT_TRUE(onlyBoxPainted(program.surfaces.Form1, kBlack));
    }
}

TEST(StatusCaption_ShowGenerationType, PrintsNothingForAnIndexOutsideTheTable)
{
    struct Row {
        const char* name;
        double nac;
        QString shown;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Row rows[] = {
        {"whole", 2, "from centre ortogonal"},
        {"rounded down", 1.4, "from left to right"},
        {"half to even", 2.5, "from centre ortogonal"},
        {"empty entry", 0, QString()},
        {"last entry", 10, QString()},
        {"past the end", 11, QString()},
        {"negative", -1, QString()},
        {"huge", 1e300, QString()},
        {"not a number", nan, QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WindowState s;
        s.imenac[1] = "from left to right";
        s.imenac[2] = "from centre ortogonal";
        s.nac = row.nac;
        Surface form1(kFormWidthPx, kFormHeightPx, kBlack);
        ShowGenerationType(s, form1);
        EXPECT_EQ(boxOf(form1), expectedBox(row.shown));
        EXPECT_TRUE(onlyBoxPainted(form1, kBlack));
        EXPECT_EQ(s.x, 851);
    }
}

} // namespace
} // namespace mandalix
