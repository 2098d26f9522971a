#include "window/real_window_fixture.h"

#include "history/history_folder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QMap>

#include <cmath>

namespace mandalix::xtest {

namespace {

// Where the strip is sampled for a picture: row 10, columns 10, 15, ..., 345.
constexpr int kSampleRow = 10;
constexpr int kFirstSampleColumn = 10;
constexpr int kLastSampleColumn = 345;
constexpr int kSampleStep = 5;

// Position 229 of the 458-position grid is the picture's centre, and 458 / 6 positions
// make one unit of the picture's coordinates.
constexpr int kCentre = 229;
constexpr double kPixelsPerUnit = 458.0 / 6.0;
// A picture's logarithm of 2 sin(n4 r) has no value first where n4 r reaches pi; n4 stays
// below 0.9, so nothing closer than pi / 0.9 units (266.4 pixels) can fail. 260 leaves a
// margin for the rounding of the grid.
constexpr double kSurelyPaintedRadiusPx = 260;
static_assert(kSurelyPaintedRadiusPx < 3.14159265 / 0.9 * kPixelsPerUnit);

} // namespace

QRect rectOf(const expected::Control& c) { return {c.x, c.y, c.w, c.h}; }

QRect areaOf(const char* name)
{
    const QRect outer = rectOf(*expected::control(name));
    return outer.adjusted(expected::kBorderPx, expected::kBorderPx, -expected::kBorderPx,
                          -expected::kBorderPx);
}

QPoint centreOf(const char* name)
{
    const expected::Control& c = *expected::control(name);
    return {c.x + c.w / 2, c.y + c.h / 2};
}

bool isBlack(QRgb pixel) { return (pixel & 0xFFFFFFu) == 0; }

bool isPanelGrey(QRgb pixel) { return (pixel & 0xFFFFFFu) == (kPanelGrey & 0xFFFFFFu); }

int luma(QRgb pixel)
{
    return (qRed(pixel) * 299 + qGreen(pixel) * 587 + qBlue(pixel) * 114) / 1000;
}

QString describe(QRgb pixel)
{
    return QStringLiteral("#%1").arg(pixel & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

QRect captionBox()
{
    return {expected::kCaptionBoxX, expected::kCaptionBoxY, expected::kCaptionBoxW,
            expected::kCaptionBoxH};
}

QList<QRect> paintedAreas()
{
    QList<QRect> areas;
    for (const expected::Control& c : expected::kControls)
        if (c.isShown)
            areas << rectOf(c);
    areas << captionBox()
          << QRect(expected::kStatusX, expected::kStatusY, expected::kStatusW,
                   expected::kStatusH)
          << QRect(expected::kVariationsX, expected::kVariationsY, expected::kVariationsW,
                   expected::kVariationsH)
          << QRect(expected::kVariationsX, expected::kEditorY, expected::kVariationsW, expected::kVariationsH)
          << QRect(expected::kFavouritesX, expected::kFavouritesY, expected::kFavouritesW,
                   expected::kFavouritesH);
    return areas;
}

bool columnsAreUniform(const QImage& shot, QString* why)
{
    const QRect area = areaOf("Picture3");
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top() + 1; y <= area.bottom(); ++y)
            if (shot.pixel(x, y) != shot.pixel(x, area.top())) {
                if (why)
                    *why = QStringLiteral("column %1 changes colour at row %2")
                               .arg(x - area.left())
                               .arg(y - area.top());
                return false;
            }
    return true;
}

int distinctColumnColours(const QImage& shot)
{
    const QRect area = areaOf("Picture3");
    QSet<QRgb> colours;
    for (int x = area.left(); x <= area.right(); ++x)
        colours.insert(shot.pixel(x, area.top()));
    return static_cast<int>(colours.size());
}

bool stripIsPainted(const QImage& shot)
{
    return shot.width() > areaOf("Picture3").right()
        && shot.height() > areaOf("Picture3").bottom() && distinctColumnColours(shot) >= 20
        && columnsAreUniform(shot);
}

QSet<QRgb> pictureColours(const QImage& shot)
{
    const QRect area = areaOf("Picture3");
    QSet<QRgb> colours;
    for (int x = kFirstSampleColumn; x <= kLastSampleColumn; x += kSampleStep)
        colours.insert(shot.pixel(area.left() + x, area.top() + kSampleRow));
    return colours;
}

QImage region(const QImage& shot, const QRect& rect) { return shot.copy(rect); }

QImage pictureOf(const QImage& shot) { return region(shot, areaOf("Picture1")); }

bool isSurelyPainted(int x, int y)
{
    if (x == kCentre && y == kCentre)
        return false;
    return std::hypot(x - kCentre, y - kCentre) < kSurelyPaintedRadiusPx;
}

ToolRun xdotool(const QStringList& arguments)
{
    using namespace std::chrono_literals;
    return runTool(QStringLiteral("xdotool"), arguments, sharedSession().session->environment(), 5s);
}

QString visibleWindowNamed(const QString& pattern)
{
    const ToolRun run = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), pattern});
    return run.finished && run.exitCode == 0 ? QString::fromLatin1(run.out.trimmed().split('\n').value(0))
                                             : QString();
}

QRect geometryOf(const QString& window)
{
    const ToolRun run = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    QMap<QByteArray, int> values;
    for (const QByteArray& line : run.out.split('\n')) {
        const QList<QByteArray> pair = line.split('=');
        if (pair.size() == 2)
            values[pair[0]] = pair[1].toInt();
    }
    return run.exitCode == 0 ? QRect(values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]) : QRect();
}

void expectOnePictureKept(const QString& historyFolder, const QImage& shown)
{
    const QDir history(historyFolder);
    const QStringList kept = history.entryList({QStringLiteral("T*.png")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1) << kept.join(u' ').toStdString();
    const KeptRead read = readKeptPicture(history.filePath(kept.front()));
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_TRUE(read.value.pixels == shown) << "the picture kept is not the one on show";
}

void RealWindowTest::SetUp()
{
    const SharedSession& shared = sharedSession();
    ASSERT_NE(shared.session, nullptr) << shared.error.toStdString();
    m_program = std::make_unique<ProgramUnderTest>(*shared.session);
    QString error;
    ASSERT_TRUE(m_program->start(&error, programArguments())) << error.toStdString();
    ASSERT_TRUE(m_program->findWindow(kWindowDeadline, &error))
        << error.toStdString() << "\n" << m_program->report();
}

void RealWindowTest::TearDown() { m_program.reset(); }

bool RealWindowTest::isMaximized() const
{
    const QStringList state = m_program->windowState();
    return state.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_VERT"))
        && state.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_HORZ"));
}

void RealWindowTest::waitUntilStartedUp()
{
    ASSERT_TRUE(waitFor([&] { return isMaximized(); }, kWindowDeadline))
        << "the window manager never marked the window maximized: "
        << m_program->windowState().join(u' ').toStdString() << "\n" << m_program->report();
    ASSERT_TRUE(waitFor([&] { return stripIsPainted(m_program->grab()); }, kPaintDeadline))
        << "no painted palette strip appeared\n" << m_program->report();
}

QImage RealWindowTest::waitUntilStill(const QRect& rect,
                                      const std::function<void(const QImage&)>& onShot)
{
    QImage last = region(m_program->grab(), rect);
    QDeadlineTimer still(kQuietPeriod);
    const bool settled = waitFor(
        [&] {
            const QImage shot = m_program->grab();
            if (onShot)
                onShot(shot);
            QImage now = region(shot, rect);
            // A screenshot that could not be had says nothing about the picture.
            if (now.isNull()) {
                still.setRemainingTime(kQuietPeriod);
                return false;
            }
            if (now != last || last.isNull()) {
                last = now;
                still.setRemainingTime(kQuietPeriod);
            }
            return still.hasExpired();
        },
        kPaintDeadline);
    EXPECT_TRUE(settled) << "the area never stood still\n" << m_program->report();
    return last;
}

void RealWindowTest::click(const char* name)
{
    const QPoint at = centreOf(name);
    clickAt(at.x(), at.y());
}

void RealWindowTest::clickAt(int x, int y)
{
    QString error;
    ASSERT_TRUE(m_program->click(x, y, &error)) << error.toStdString();
}

void RealWindowTest::clickInArea(const char* surface, int x, int y)
{
    const QRect area = areaOf(surface);
    clickAt(area.left() + x, area.top() + y);
}

void RealWindowTest::expectEndsWithSuccessWithin(std::chrono::milliseconds deadline)
{
    QProcess& process = m_program->process();
    ASSERT_TRUE(process.state() == QProcess::NotRunning
                || process.waitForFinished(static_cast<int>(deadline.count())))
        << "the program still runs " << deadline.count() << " ms later";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << m_program->report();
    EXPECT_EQ(process.exitCode(), 0) << m_program->report();
}

void RealWindowTest::saveForTheEye(const QImage& shot, const char* fileName)
{
    const QString saved =
        QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(fileName));
    EXPECT_TRUE(shot.save(saved)) << saved.toStdString();
}

} // namespace mandalix::xtest
