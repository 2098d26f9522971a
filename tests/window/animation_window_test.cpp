// An animation exported from the real window: A opens the dialog, a 453 x 453 animated PNG
// of the painting at 5 frames a second with no hold is written while the window goes on,
// the status line then holds a line, and the video's last frame is the picture on show.
#include "window/real_window_fixture.h"

#include "export/painting_video.h"
#include "state/window_state.h"
#include "video/video_reader.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

using namespace std::chrono_literals;

class AnimationWindowTest : public RealWindowTest { };

TEST_F(AnimationWindowTest, APaintingExportedFromTheDialogEndsOnThePictureOnShow)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QImage shown = waitUntilPictureIsStill();
    QString error;
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("a"), &error)) << error.toStdString();
    ASSERT_TRUE(m_program->waitForWindowTitled(QStringLiteral("Export an animation"), 10s, &error))
        << error.toStdString() << "\n" << m_program->report();
    const QString path = QDir(m_program->folder()).filePath(QStringLiteral("painting.png"));
    // Each field by its label's letter: the kind and size lists by their entries' first
    // letters, the numbers and the file typed over what they hold.
    const struct {
        const char* field;
        const char* typed;
        bool isList; // a list takes the first letters of an entry, and no Ctrl+A
    } fields[] = {{"alt+a", "T", true}, {"alt+z", "W", true}, {"alt+f", "5", false}, {"alt+h", "0", false}};
    for (const auto& row : fields) {
        ASSERT_TRUE(m_program->pressKeysInFocus(QString::fromLatin1(row.field), &error)) << error.toStdString();
        if (!row.isList) {
            ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("ctrl+a"), &error)) << error.toStdString();
        }
        ASSERT_TRUE(m_program->typeInFocus(QString::fromLatin1(row.typed), &error)) << error.toStdString();
    }
    ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("alt+o"), &error)) << error.toStdString();
    ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("ctrl+a"), &error)) << error.toStdString();
    ASSERT_TRUE(m_program->typeInFocus(path, &error)) << error.toStdString();
    ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("Return"), &error)) << error.toStdString();

    ASSERT_TRUE(waitFor([&] { return QFile::exists(path); }, kPaintDeadline))
        << "no video was written\n" << m_program->report();
    const QRect status(expected::kStatusX, expected::kStatusY, expected::kStatusW, expected::kStatusH);
    const QImage line = waitUntilStill(status);
    bool hasText = false;
    for (int y = 0; y < line.height() && !hasText; ++y)
        for (int x = 0; x < line.width() && !hasText; ++x)
            hasText = !isBlack(line.pixel(x, y));
    EXPECT_TRUE(hasText) << "the status line says where the video went";
    saveForTheEye(m_program->grab(), "animation_exported.png");

    // Painted in the window's generation type, the start-up one.
    PictureRecord record;
    record.nac = kStartNac;
    const AnimationSettings settings{AnimationKind::Painting, {453, 453}, 5, 0};
    const Result<VideoInfo> info = readVideoInfo(path);
    ASSERT_TRUE(info.ok) << info.message.toStdString();
    EXPECT_EQ(info.value.size, QSize(453, 453));
    EXPECT_EQ(info.value.frameCount, paintingVideoFrames(record, settings));
    const Result<std::vector<QImage>> frames = decodeFrames(path, info.value.frameCount);
    ASSERT_TRUE(frames.ok) << frames.message.toStdString();
    ASSERT_FALSE(frames.value.empty());
    EXPECT_TRUE(frames.value.back() == shown) << "the last frame is the picture on show, exactly";
}

} // namespace
} // namespace mandalix::xtest
