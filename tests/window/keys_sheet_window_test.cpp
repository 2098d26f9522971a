// The keys sheet in the real program: `?` (typed with Shift on the keyboard) and Shift+F1
// open it as a window of its own, not over the picture, and Esc closes it.
#include "window/real_window_fixture.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

using namespace std::chrono_literals;

QString sheetWindow()
{
    return visibleWindowNamed(QStringLiteral("^mandalix keys$"));
}

class KeysSheetWindowTest : public RealWindowTest { };

TEST_F(KeysSheetWindowTest, QuestionMarkAndShiftF1OpenItBesideThePictureAndEscClosesIt)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QRect window = geometryOf(QString::number(m_program->window()));
    const QRect picture = areaOf("Picture1").translated(window.topLeft());
    for (const char* key : {"question", "shift+F1"}) {
        SCOPED_TRACE(key);
        QString error;
        ASSERT_TRUE(m_program->pressKeys(QString::fromLatin1(key), &error)) << error.toStdString();
        QString sheet;
        ASSERT_TRUE(waitFor([&] { return !(sheet = sheetWindow()).isEmpty(); }, kWindowDeadline))
            << m_program->report();
        EXPECT_FALSE(geometryOf(sheet).intersects(picture)) << "the sheet leaves the picture in view";
        if (QScreen* screen = QGuiApplication::primaryScreen())
            saveForTheEye(screen->grabWindow(0).toImage(), "keys_sheet.png");
        ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("Escape"), &error)) << error.toStdString();
        EXPECT_TRUE(waitFor([&] { return sheetWindow().isEmpty(); }, kExitDeadline)) << "Esc closes it";
    }
}

} // namespace
} // namespace mandalix::xtest
