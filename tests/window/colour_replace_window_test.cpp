// Recolouring in the real window: a press on the strip picks the colour under the pointer,
// a press on the picture turns every pixel of the colour under the pointer into it, and
// nothing else on screen changes.
#include "window/real_window_fixture.h"

#include <QHash>

#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

// A position of the commonest colour among the positions every picture paints, inside a
// patch of that colour where possible, so the press lands on it beyond doubt.
QPoint pressPointOfCommonestColour(const QImage& picture)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (isSurelyPainted(x, y))
                ++counts[picture.pixel(x, y)];
    QRgb commonest = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            commonest = it.key();
            most = it.value();
        }
    QPoint any(-1, -1);
    for (int y = 1; y + 1 < picture.height(); ++y)
        for (int x = 1; x + 1 < picture.width(); ++x) {
            if (!isSurelyPainted(x, y) || picture.pixel(x, y) != commonest)
                continue;
            if (any.x() < 0)
                any = QPoint(x, y);
            bool patch = true;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    patch = patch && picture.pixel(x + dx, y + dy) == commonest;
            if (patch)
                return {x, y};
        }
    return any;
}

// A column of the strip whose colour the picture does not hold, so every pixel that takes
// it on is one that changed; failing that, any other colour than `old`.
int stripColumnToPick(const QImage& strip, const QImage& picture, QRgb old)
{
    QSet<QRgb> inPicture;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            inPicture.insert(picture.pixel(x, y));
    int otherThanOld = -1;
    for (int x = 0; x < strip.width(); ++x) {
        const QRgb p = strip.pixel(x, 0);
        if (p == old)
            continue;
        if (!inPicture.contains(p))
            return x;
        if (otherThanOld < 0)
            otherThanOld = x;
    }
    return otherThanOld;
}

TEST_F(RealWindowTest, PickThenPress_RecoloursEveryPixelOfThePressedColourAndNoOther)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QImage before = waitUntilPictureIsStill();
    const QImage shot = m_program->grab();
    ASSERT_EQ(pictureOf(shot), before) << "the picture changed after standing still";
    const QImage strip = region(shot, areaOf("Picture3"));

    const QPoint pressed = pressPointOfCommonestColour(before);
    ASSERT_GE(pressed.x(), 0);
    const QRgb old = before.pixel(pressed);
    const int column = stripColumnToPick(strip, before, old);
    ASSERT_GE(column, 0) << "the strip has one colour only";
    const QRgb picked = strip.pixel(column, 10);
    int ofOldColour = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            ofOldColour += before.pixel(x, y) == old ? 1 : 0;
    SCOPED_TRACE(testing::Message()
                 << "pressed " << describe(old).toStdString() << " at (" << pressed.x() << ", "
                 << pressed.y() << "), " << ofOldColour << " pixels; picked "
                 << describe(picked).toStdString() << " at strip column " << column);

    clickInArea("Picture3", column, 10);
    clickInArea("Picture1", pressed.x(), pressed.y());
    ASSERT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) != before; }, kPaintDeadline))
        << "the picture did not change\n" << m_program->report();
    const QImage after = waitUntilPictureIsStill();

    int wrong = 0;
    QString first;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            const QRgb was = before.pixel(x, y);
            const QRgb expected = was == old ? picked : was;
            if (after.pixel(x, y) != expected && wrong++ == 0)
                first = QStringLiteral("(%1, %2) is %3, was %4")
                            .arg(x)
                            .arg(y)
                            .arg(describe(after.pixel(x, y)), describe(was));
        }
    EXPECT_EQ(wrong, 0) << "pixels not as the replacement leaves them; first "
                        << first.toStdString();
    // Picking draws nothing.
    EXPECT_EQ(region(m_program->grab(), areaOf("Picture3")), strip);
}

} // namespace
} // namespace mandalix::xtest
