// The slide show in the real program on a 1920 x 1080 screen: F11 covers the screen,
// the picture grows from the centre in the window's generation type (rings), a new
// picture with a new strip follows after the interval, S saves what is on show at the
// screen's size, Esc brings the window back with the slide show's last picture as its
// own, and Ctrl+Q there ends the program as "exit" does.
#include "window/real_window_fixture.h"

#include "output/params_file.h"
#include "history/history_folder.h"
#include "program/picture_replay.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <gtest/gtest.h>

#include <csignal>

namespace mandalix::xtest {
namespace {

using namespace std::chrono_literals;

// The picture's square on the test screen: the shorter side, centred.
const QRect kSquare(420, 0, 1080, 1080);

QImage grabScreen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

// The smallest rectangle holding every pixel of the screen that is not black.
QRect paintedBox(const QImage& shot)
{
    QRect box;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x)
            if (!isBlack(line[x]))
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

QSet<QRgb> coloursOf(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return colours;
}

// The slide show's window, or an empty id.
QString slideShowWindow() { return visibleWindowNamed(QStringLiteral("slide show")); }

bool isSlideShowOpen() { return !slideShowWindow().isEmpty(); }

// Presses a key in the slide show's window, once it is the active one.
bool pressOnSlideShow(const char* key)
{
    const QString id = slideShowWindow();
    const bool active = !id.isEmpty() && waitFor([&] {
        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
        return xdotool({QStringLiteral("getactivewindow")}).out.trimmed() == id.toLatin1();
    }, 5s);
    return active && xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"),
                              QString::fromLatin1(key)}).exitCode == 0;
}

class SlideShowWindowTest : public RealWindowTest {
protected:
    // Waits until the picture's square stands still for the quiet period.
    QImage waitUntilSquareIsStill()
    {
        QImage last;
        auto since = std::chrono::steady_clock::now();
        const bool still = waitFor(
            [&] {
                const QImage now = region(grabScreen(), kSquare);
                if (now != last) {
                    last = now;
                    since = std::chrono::steady_clock::now();
                }
                return std::chrono::steady_clock::now() - since >= kQuietPeriod;
            },
            kPaintDeadline);
        EXPECT_TRUE(still) << "the slide show's picture never stood still";
        return last;
    }

    void pressKey(const char* key)
    {
        QString error;
        ASSERT_TRUE(m_program->pressKeys(QString::fromLatin1(key), &error)) << error.toStdString();
    }
};

TEST_F(SlideShowWindowTest, F11ShowsRingsFullScreenThenANewStripAndEscBringsTheLastPictureHome)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    waitUntilPictureIsStill();
    // Type 4 at start-up; twice "generation type" gives type 2, rings from the centre.
    for (int k = 0; k < 2; ++k) {
        const QImage caption = region(m_program->grab(), captionBox());
        click("Command7");
        ASSERT_TRUE(waitFor([&] { return region(m_program->grab(), captionBox()) != caption; }, kPaintDeadline));
    }

    ASSERT_NO_FATAL_FAILURE(pressKey("F11"));
    const auto pressed = std::chrono::steady_clock::now();
    // Growing from the centre: squares of painted pixels, each larger than the one before.
    QList<QRect> growing;
    const bool grew = waitFor(
        [&] {
            const QRect box = paintedBox(grabScreen());
            const bool isPartial = box.isValid() && box.width() < kSquare.width() - 10;
            if (isPartial && (growing.isEmpty() || box.width() > growing.last().width() + 4))
                growing << box;
            return growing.size() >= 3;
        },
        3s);
    ASSERT_TRUE(grew) << "no growing painting within 3 s of F11; boxes seen " << growing.size();
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, 3s);
    for (const QRect& box : growing) {
        EXPECT_LE(std::abs(box.center().x() - kSquare.center().x()), 2) << box.x() << "," << box.width();
        EXPECT_LE(std::abs(box.center().y() - kSquare.center().y()), 2) << box.y() << "," << box.height();
        EXPECT_LE(std::abs(box.width() - box.height()), 4) << "a square of rings";
    }

    const QImage first = waitUntilSquareIsStill();
    const QImage shot = grabScreen();
    EXPECT_EQ(paintedBox(shot), kSquare) << "the picture fills the screen's height, centred, and "
                                            "the rest of the screen is black";
    ASSERT_TRUE(isSlideShowOpen());
    saveForTheEye(shot, "slide_show_first.png");

    // After the interval the next picture grows over it, in colours of a new strip.
    ASSERT_TRUE(waitFor([&] { return region(grabScreen(), kSquare) != first; }, kPaintDeadline));
    const QImage second = waitUntilSquareIsStill();
    const QSet<QRgb> before = coloursOf(first);
    const QSet<QRgb> after = coloursOf(second);
    EXPECT_LT(QSet<QRgb>(before).intersect(after).size(), std::min(before.size(), after.size()) / 4)
        << "the second picture's colours come from another strip";

    // Pause, save what is on show, leave.
    ASSERT_TRUE(pressOnSlideShow("space"));
    ASSERT_TRUE(pressOnSlideShow("s"));
    const QDir folder(m_program->driveFolder());
    QStringList saved;
    ASSERT_TRUE(waitFor([&] {
        saved = folder.entryList({QStringLiteral("*.png")}, QDir::Files);
        return !saved.isEmpty();
    }, kPaintDeadline)) << m_program->report();
    const QString path = folder.filePath(saved.first());
    ASSERT_TRUE(waitFor([&] { return !QImage(path).isNull(); }, kPaintDeadline));
    const QImage file = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(file.size(), QSize(XSession::kScreenWidth, XSession::kScreenHeight)) << "the screen's size";
    EXPECT_EQ(region(file, kSquare), region(grabScreen(), kSquare))
        << "the file's middle square is the picture on show";
    const ParamsRead read = readParamsFile(path);
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_EQ(read.value.nac, 2);
    ASSERT_TRUE(pressOnSlideShow("Escape"));
    ASSERT_TRUE(waitFor([&] { return !isSlideShowOpen(); }, kExitDeadline));

    // The window paints the record of the picture left on show.
    const QImage picture = waitUntilPictureIsStill();
    saveForTheEye(m_program->grab(), "slide_show_left.png");
    WindowState s;
    Surfaces surfaces;
    Rnd rnd;
    paintRecordedPicture(s, surfaces, rnd, read.value, noPacing());
    const QImage expected = surfaces.Picture1.image();
    int compared = 0;
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            if (!isSurelyPainted(x, y))
                continue;
            ++compared;
            differing += picture.pixel(x, y) != expected.pixel(x, y) ? 1 : 0;
        }
    EXPECT_GT(compared, 10000);
    EXPECT_EQ(differing, 0) << "Picture1 holds the slide show's last picture";
}

TEST_F(SlideShowWindowTest, CtrlQInTheSlideShowEndsTheProgramAsExitDoesKeepingThePicture)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    waitUntilPictureIsStill();
    ASSERT_NO_FATAL_FAILURE(pressKey("F11"));
    ASSERT_TRUE(waitFor([] { return isSlideShowOpen(); }, kWindowDeadline)) << m_program->report();
    waitUntilSquareIsStill();
    ASSERT_TRUE(pressOnSlideShow("ctrl+q"));
    ASSERT_NO_FATAL_FAILURE(expectEndsAtOnceWithSuccess());
    const QStringList kept = QDir(m_program->historyFolder()).entryList({QStringLiteral("T*.png")}, QDir::Files);
    EXPECT_FALSE(kept.isEmpty()) << "the picture on show in the window is kept";
}

// SIGTERM while the slide show is open ends the program as Esc and "exit" would: at once,
// with status 0, the finished picture the slide show has on show kept in the history.
class SlideShowSignalTest : public SlideShowWindowTest {
protected:
    QStringList programArguments() const override { return {}; }
};

TEST_F(SlideShowSignalTest, Sigterm_EndsAsExitKeepingThePictureOnShow)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    waitUntilPictureIsStill();
    ASSERT_NO_FATAL_FAILURE(pressKey("F11"));
    ASSERT_TRUE(waitFor([] { return isSlideShowOpen(); }, kWindowDeadline));
    waitUntilSquareIsStill();
    // Paused and saved, so the record of the picture on show is known.
    ASSERT_TRUE(pressOnSlideShow("space"));
    ASSERT_TRUE(pressOnSlideShow("s"));
    const QDir folder(m_program->driveFolder());
    QStringList saved;
    ASSERT_TRUE(waitFor([&] {
        saved = folder.entryList({QStringLiteral("*.png")}, QDir::Files);
        return !saved.isEmpty() && readParamsFile(folder.filePath(saved.first())).ok;
    }, kPaintDeadline)) << m_program->report();
    const PictureRecord onShow = readParamsFile(folder.filePath(saved.first())).value;

    ASSERT_EQ(::kill(static_cast<pid_t>(m_program->process().processId()), SIGTERM), 0);
    ASSERT_NO_FATAL_FAILURE(expectEndsAtOnceWithSuccess());
    // The slide show keeps its pictures in a share of their own.
    const QDir history(m_program->historyFolder() + QStringLiteral("/slideshow"));
    bool isKept = false;
    for (const QString& name : history.entryList({QStringLiteral("T*.png")}, QDir::Files)) {
        const KeptRead read = readKeptPicture(history.filePath(name));
        isKept = isKept || (read.ok && read.value.record.imeslike == onShow.imeslike && read.value.record.seed == onShow.seed);
    }
    EXPECT_TRUE(isKept) << "the slide show's picture " << onShow.imeslike.toStdString()
                        << " is not kept\n" << m_program->report();
}

} // namespace
} // namespace mandalix::xtest
