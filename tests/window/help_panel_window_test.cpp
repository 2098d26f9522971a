// The help panel in the real window: grey with black text over the picture, the picture
// left as it was around it, and "repeat  image" painting the picture back over it. The
// screenshot with the panel is kept beside the test program for people to read.
#include "window/real_window_fixture.h"

#include <gtest/gtest.h>

#include <array>

namespace mandalix::xtest {
namespace {

// The panel on the picture's drawing area, both corners included, and its lines of text:
// each printed from x = 30 with its top at the row given, at most 15 rows high.
const QRect kPanel(QPoint(20, 20), QPoint(430, 300));
constexpr int kTextLeft = 30;
constexpr int kLineHeight = 15;
constexpr std::array<int, 14> kLineTops{40,  55,  70,  85,  100, 115, 130,
                                        160, 175, 190, 205, 220, 250, 265};
// A point of the panel between two groups of lines, where no text can be.
const QPoint kBetweenLines(225, 150);

// The line whose rows hold row y, or -1.
int lineAt(int y)
{
    for (std::size_t k = 0; k < kLineTops.size(); ++k)
        if (y >= kLineTops[k] && y < kLineTops[k] + kLineHeight)
            return static_cast<int>(k);
    return -1;
}

// Checks the panel: grey and black only; black only on the rows of a line and right of the
// text's left edge; every line has some black.
void expectPanelWithText(const QImage& picture)
{
    std::array<int, kLineTops.size()> inkOfLine{};
    int other = 0;
    int misplacedInk = 0;
    QString firstOther;
    QString firstMisplaced;
    for (int y = kPanel.top(); y <= kPanel.bottom(); ++y)
        for (int x = kPanel.left(); x <= kPanel.right(); ++x) {
            const QRgb p = picture.pixel(x, y);
            const QString where = QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(describe(p));
            if (!isBlack(p)) {
                if (!isPanelGrey(p) && other++ == 0)
                    firstOther = where;
                continue;
            }
            const int line = lineAt(y);
            if (line < 0 || x < kTextLeft) {
                if (misplacedInk++ == 0)
                    firstMisplaced = where;
                continue;
            }
            ++inkOfLine[static_cast<std::size_t>(line)];
        }
    EXPECT_EQ(other, 0) << "neither panel grey nor text; first " << firstOther.toStdString();
    EXPECT_EQ(misplacedInk, 0) << "text outside the lines; first " << firstMisplaced.toStdString();
    for (std::size_t k = 0; k < kLineTops.size(); ++k)
        EXPECT_GT(inkOfLine[k], 0) << "no text on the line at y " << kLineTops[k];
}

TEST_F(RealWindowTest, Help_PaintsAPanelOverThePictureThatRepeatImagePaintsOver)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QImage before = waitUntilPictureIsStill();

    click("Command8");
    ASSERT_TRUE(waitFor(
        [&] { return isPanelGrey(pictureOf(m_program->grab()).pixel(kBetweenLines)); },
        kPaintDeadline))
        << "no help panel\n" << m_program->report();
    const QImage withHelp = waitUntilPictureIsStill();
    saveForTheEye(m_program->grab(), "window-help.png");

    expectPanelWithText(withHelp);
    // Around the panel the picture stays, but for text longer than the panel, which runs
    // on to the right of it on the rows of its line.
    int changed = 0;
    QString first;
    for (int y = 0; y < withHelp.height(); ++y)
        for (int x = 0; x < withHelp.width(); ++x) {
            const QRgb p = withHelp.pixel(x, y);
            if (kPanel.contains(x, y) || p == before.pixel(x, y))
                continue;
            if (isBlack(p) && x > kPanel.right() && lineAt(y) >= 0)
                continue;
            if (changed++ == 0)
                first = QStringLiteral("(%1, %2) is %3, was %4")
                            .arg(x)
                            .arg(y)
                            .arg(describe(p), describe(before.pixel(x, y)));
        }
    EXPECT_EQ(changed, 0) << "the picture changed around the panel; first "
                          << first.toStdString();

    // "repeat  image" paints the same parameters with the same strip: the same picture,
    // but where a pixel of the picture cannot be painted (far from the centre under one
    // formula set) and keeps the new noise. Those lie in the panel's corners at most, a
    // few hundredths of it, so nine tenths of the panel must show the old picture again.
    click("Command5");
    ASSERT_TRUE(waitFor(
        [&] { return !isPanelGrey(pictureOf(m_program->grab()).pixel(kBetweenLines)); },
        kPaintDeadline))
        << "the picture was not painted again\n" << m_program->report();
    const QImage repeated = waitUntilPictureIsStill();
    int panelPixels = 0;
    int panelAsBefore = 0;
    int differentWherePainted = 0;
    for (int y = 0; y < repeated.height(); ++y)
        for (int x = 0; x < repeated.width(); ++x) {
            const bool same = repeated.pixel(x, y) == before.pixel(x, y);
            if (kPanel.contains(x, y)) {
                ++panelPixels;
                panelAsBefore += same ? 1 : 0;
            }
            if (isSurelyPainted(x, y) && !same && differentWherePainted++ == 0)
                first = QStringLiteral("(%1, %2)").arg(x).arg(y);
        }
    EXPECT_GT(panelAsBefore, panelPixels * 9 / 10)
        << panelAsBefore << " of " << panelPixels << " pixels of the panel as before";
    EXPECT_EQ(differentWherePainted, 0)
        << "pixels that every picture paints differ from the picture before; first "
        << first.toStdString();
}

} // namespace
} // namespace mandalix::xtest
