// What the real-window tests share: where the controls and drawing areas sit on the
// window, reading colours off a screenshot, and a fixture that starts the real program on
// the test display and drives it. Test thread only; a failure to start ends the test with
// the reason.
#pragma once

#include "app/expected_controls.h"
#include "window/x_session.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QSet>
#include <QString>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

namespace mandalix::xtest {

inline constexpr std::chrono::seconds kWindowDeadline{30};
inline constexpr std::chrono::seconds kPaintDeadline{60};
inline constexpr std::chrono::seconds kExitDeadline{5};
// An area counts as finished once it has not changed for this long; while a picture is
// painted the window shows progress many times a second.
inline constexpr std::chrono::milliseconds kQuietPeriod{1500};

// The panel grey of the caption box and the help panel.
inline constexpr QRgb kPanelGrey = 0xFFC8C8C8;

QRect rectOf(const expected::Control& c);
// The drawing area of a surface, inside its border, in window pixels.
QRect areaOf(const char* name);
// The middle of a control, in window pixels.
QPoint centreOf(const char* name);

bool isBlack(QRgb pixel);
bool isPanelGrey(QRgb pixel);
int luma(QRgb pixel);
QString describe(QRgb pixel);

// Everything of the window that something may paint on: the shown controls, the caption
// box beside "generation type" and the status line.
QList<QRect> paintedAreas();
// The caption box beside "generation type", in window pixels.
QRect captionBox();

// The strip's drawing area holds one colour per column, from the top row to the bottom.
bool columnsAreUniform(const QImage& shot, QString* why = nullptr);
int distinctColumnColours(const QImage& shot);
// A strip of sine waves has many colours; the empty surface has one.
bool stripIsPainted(const QImage& shot);
// The colours a picture is painted from: row 10 of the strip's drawing area at columns
// 10, 15, ..., 345, as the screenshot shows them.
QSet<QRgb> pictureColours(const QImage& shot);

QImage region(const QImage& shot, const QRect& rect);
// The drawing area of the picture, one pixel per position from (0, 0).
QImage pictureOf(const QImage& shot);

// Drawing-area positions of the picture whose colour cannot fail to be painted: closer to
// the centre (229, 229) than any ring where a picture's logarithm has no value, and not
// the centre itself. Farther out, a picture may keep what was there before.
bool isSurelyPainted(int x, int y);

// xdotool on the shared display.
ToolRun xdotool(const QStringList& arguments);
// The first visible window whose name matches the pattern, or an empty id.
QString visibleWindowNamed(const QString& pattern);
// A window's rectangle on the screen as xdotool reads it; empty when it cannot.
QRect geometryOf(const QString& window);

// The history folder holds exactly one kept picture, and its pixels are `shown`.
void expectOnePictureKept(const QString& historyFolder, const QImage& shown);

// The real program on the shared display, started afresh for each test.
class RealWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    // The program's command line.
    virtual QStringList programArguments() const { return {}; }
    void TearDown() override;

    bool isMaximized() const;
    // Waits until the window is maximized and the start-up strip is on show: start-up is
    // then painting its picture.
    void waitUntilStartedUp();
    // Waits until an area of the window has stayed the same for the quiet period, showing
    // every screenshot taken meanwhile to `onShot`.
    QImage waitUntilStill(const QRect& rect,
                          const std::function<void(const QImage&)>& onShot = {});
    // Waits until the picture stands still and returns its drawing area.
    QImage waitUntilPictureIsStill() { return waitUntilStill(areaOf("Picture1")); }

    void click(const char* name);
    // A left click at (x, y) of the window.
    void clickAt(int x, int y);
    // A left click at (x, y) of a surface's drawing area.
    void clickInArea(const char* surface, int x, int y);
    void expectEndsWithSuccessWithin(std::chrono::milliseconds deadline);
    void expectEndsAtOnceWithSuccess() { expectEndsWithSuccessWithin(kExitDeadline); }
    // Saves a screenshot beside the test program for people to look at.
    void saveForTheEye(const QImage& shot, const char* fileName);

    std::unique_ptr<ProgramUnderTest> m_program;
};

} // namespace mandalix::xtest
