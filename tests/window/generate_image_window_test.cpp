// Pictures in the real window: the first picture of start-up is painted from the strip's
// colours, clicks made while a picture is painted wait for it and then run in order, and
// "exit" ends the program in the middle of a picture without running what waits.
#include "window/real_window_fixture.h"

#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

using namespace std::chrono_literals;

// The rows of the picture the help panel and its text can reach.
constexpr int kPanelTop = 20;
constexpr int kPanelBottom = 300;
const QRect kPanel(QPoint(20, kPanelTop), QPoint(430, kPanelBottom));

// Pixels of a picture that differ between two images, over the rows the help panel
// leaves alone.
double shareDifferingOutsideThePanelRows(const QImage& a, const QImage& b)
{
    int differing = 0;
    int all = 0;
    for (int y = 0; y < a.height(); ++y) {
        if (y >= kPanelTop && y <= kPanelBottom)
            continue;
        for (int x = 0; x < a.width(); ++x) {
            ++all;
            differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return static_cast<double>(differing) / all;
}

double shareOf(const QImage& image, const std::function<bool(QRgb)>& isWanted)
{
    int wanted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            wanted += isWanted(image.pixel(x, y)) ? 1 : 0;
    return static_cast<double>(wanted) / (image.width() * image.height());
}

TEST_F(RealWindowTest, StartUp_PaintsAPictureOfStripColoursSymmetricUnderAHalfTurn)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    // Noise first, then the picture: each pass takes a while on screen.
    const QImage picture = waitUntilPictureIsStill();
    const QImage shot = m_program->grab();
    ASSERT_EQ(pictureOf(shot), picture) << "the picture changed after standing still";
    const QSet<QRgb> colours = pictureColours(shot);

    // Noise would put colours of every kind there; a picture has only the strip's.
    int foreign = 0;
    QString first;
    QSet<QRgb> used;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            if (!isSurelyPainted(x, y))
                continue;
            const QRgb p = picture.pixel(x, y);
            used.insert(p);
            if (!colours.contains(p) && foreign++ == 0)
                first = QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(describe(p));
        }
    EXPECT_EQ(foreign, 0) << "pixels whose colour is not sampled from the strip; first "
                          << first.toStdString();
    EXPECT_GE(used.size(), 2) << "a picture, not one flat colour";

    // Position (x, y) and position (458 - x, 458 - y) lie opposite through the centre and
    // get the same colour but where the tiny offset of the angle tips a rounding.
    int pairs = 0;
    int equal = 0;
    for (int y = 458 - (picture.height() - 1); y < picture.height(); ++y)
        for (int x = 458 - (picture.width() - 1); x < picture.width(); ++x) {
            if (!isSurelyPainted(x, y))
                continue;
            ++pairs;
            equal += picture.pixel(x, y) == picture.pixel(458 - x, 458 - y) ? 1 : 0;
        }
    ASSERT_GT(pairs, 100000);
    EXPECT_GE(equal, pairs * 95 / 100) << equal << " of " << pairs << " pairs agree";
}

TEST_F(RealWindowTest, ClicksDuringAPicture_RunAfterItInTheirOrder)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    // Start-up's caption: "from order to chaos and back".
    QImage startCaption;
    ASSERT_TRUE(waitFor(
        [&] {
            startCaption = region(m_program->grab(), captionBox());
            return shareOf(startCaption, isPanelGrey) > 0.5 && shareOf(startCaption, isBlack) > 0;
        },
        kPaintDeadline))
        << "no caption in the caption box\n" << m_program->report();

    // Twice "generation type", then "help", while start-up still paints its picture.
    click("Command7");
    click("Command7");
    click("Command8");
    const QImage atClicks = pictureOf(m_program->grab());

    // Watch until all is done, keeping the picture as it was when the caption first changed.
    QImage whenCaptionChanged;
    const QRect watched = areaOf("Picture1").united(captionBox());
    waitUntilStill(watched, [&](const QImage& shot) {
        if (whenCaptionChanged.isNull() && region(shot, captionBox()) != startCaption)
            whenCaptionChanged = pictureOf(shot);
    });
    const QImage shot = m_program->grab();
    const QImage picture = pictureOf(shot);
    const QImage caption = region(shot, captionBox());
    ASSERT_FALSE(whenCaptionChanged.isNull()) << "the caption never changed";

    // The clicks were made early in the picture, and the caption changed only once the
    // picture was done (but for a batch or two the window had not shown yet).
    EXPECT_GT(shareDifferingOutsideThePanelRows(atClicks, picture), 0.2)
        << "the picture was nearly done before the clicks: they prove nothing";
    EXPECT_LT(shareDifferingOutsideThePanelRows(whenCaptionChanged, picture), 0.05)
        << "the generation type changed while the picture was being painted";

    // "help" ran after the picture: the panel lies whole on top of it, grey and black text.
    const QImage panel = picture.copy(kPanel);
    EXPECT_EQ(shareOf(panel, [](QRgb p) { return isPanelGrey(p) || isBlack(p); }), 1.0)
        << "the picture shows through the help panel";
    EXPECT_GT(shareOf(panel, isPanelGrey), 0.8);

    // Two clicks on "generation type" moved 4 to 2, "from centre ortogonal": two more reach
    // start-up's 4 again, passing 3, each shown in the box before the next click.
    EXPECT_NE(caption, startCaption);
    QImage shown = caption;
    for (int more = 1; more <= 2; ++more) {
        SCOPED_TRACE(testing::Message() << "click " << more << " after the wait");
        click("Command7");
        const QImage before = shown;
        ASSERT_TRUE(waitFor(
            [&] {
                shown = region(m_program->grab(), captionBox());
                return shown != before;
            },
            kPaintDeadline))
            << "the caption did not change\n" << m_program->report();
        ASSERT_EQ(waitUntilStill(captionBox()), shown);
        EXPECT_EQ(shown == startCaption, more == 2);
    }
}

TEST_F(RealWindowTest, ExitDuringANewPicture_EndsTheProgramWithoutRunningTheQueue)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QRect strip = areaOf("Picture3");
    const QImage startStrip = region(m_program->grab(), strip);

    // Three new pictures with new strips queue behind start-up's picture.
    for (int k = 0; k < 3; ++k)
        click("Command6");
    // The first of them has begun once its strip is on show; its picture follows at once.
    QImage shot;
    ASSERT_TRUE(waitFor(
        [&] {
            shot = m_program->grab();
            return region(shot, strip) != startStrip && stripIsPainted(shot);
        },
        kPaintDeadline))
        << "no new strip\n" << m_program->report();
    const QImage atNewStrip = pictureOf(shot);
    ASSERT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) != atNewStrip; }, 10s))
        << "the new picture is not being painted\n" << m_program->report();

    // The picture now needs more than 3 s more on screen, the queue far more: ending
    // within 3 s means "exit" waited for neither.
    click("Command2");
    expectEndsWithSuccessWithin(3s);
}

} // namespace
} // namespace mandalix::xtest
