// The save commands as the window runs them: what the user is told, and that a failed
// save leaves the program able to go on.
#include "program/program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(RunCommand_Save, AFailedSaveIsReportedAndTheProgramGoesOn)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QFile blocker(tmp.filePath(QStringLiteral("afile")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString badC = tmp.filePath(QStringLiteral("afile/c"));
    const QString goodD = tmp.filePath(QStringLiteral("d"));
    ASSERT_TRUE(QDir().mkpath(goodD));

    FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(10, 15, 0)));
    Program program(clock, Drives{badC, goodD, false});
    ASSERT_EQ(runCommand(program, cmd::StartUp{}, noPacing()).kind,
              CommandResult::Kind::None);
    program.state.imeslike = QStringLiteral("T20261208101500");
    for (int k = 0; k < kPictureSizePx; ++k)
        program.surfaces.Picture1.Line(k, 0, kPictureSizePx - 1 - k, kPictureSizePx - 1,
                                       rgbColour(k % 256, 255 - k % 256, 40));
    const QImage picture = program.surfaces.Picture1.image();
    const QImage strip = program.surfaces.Picture3.image();
    const double nac = program.state.nac;

    const CommandResult failed = runCommand(program, cmd::SaveOnDiskC{}, noPacing());
    EXPECT_EQ(failed.kind, CommandResult::Kind::Error);
    EXPECT_TRUE(failed.text.startsWith(
        QStringLiteral("Could not save \"%1/T20261208101500.jpg\": ").arg(badC)))
        << failed.text.toStdString();
    EXPECT_EQ(program.surfaces.Picture1.image(), picture);
    EXPECT_EQ(program.surfaces.Picture3.image(), strip);
    EXPECT_EQ(program.state.imeslike, QStringLiteral("T20261208101500"));
    EXPECT_EQ(program.state.nac, nac);

    // The next commands run as before, and the next save to a good folder works.
    EXPECT_EQ(runCommand(program, cmd::GenerationType{}, noPacing()).kind,
              CommandResult::Kind::None);
    const CommandResult saved = runCommand(program, cmd::SaveOnDiskD{}, noPacing());
    const QString path = goodD + QStringLiteral("/T20261208101500.jpg");
    EXPECT_EQ(saved.kind, CommandResult::Kind::Info);
    EXPECT_EQ(saved.text, QStringLiteral("Saved ") + path);
    EXPECT_EQ(QImage(path, "bmp").convertToFormat(QImage::Format_RGB32), picture);
}

} // namespace
} // namespace mandalix
