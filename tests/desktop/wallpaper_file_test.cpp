// The wallpaper's file: painted at the screen's size as Save as paints it, carrying the
// picture's record, named after the picture and the size; the folder keeps the newest ten
// and a folder that cannot be written leaves everything as it was.
#include "desktop/wallpaper_file.h"

#include "export/picture_export.h"
#include "output/params_file.h"
#include "render_job.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

WallpaperPicture pictureOnShow()
{
    RenderRequest request;
    request.seed = 51234.5f;
    request.moment = momentOfSeed(QDate(2026, 12, 9), request.seed);
    RenderedPicture rendered = renderPicture(request, noPacing());
    return {rendered.record, rendered.picture.convertToFormat(QImage::Format_RGB32), {}, 2};
}

TEST(WallpaperFile, HasTheScreensSizeCarriesTheRecordAndMatchesSaveAs)
{
    const WallpaperPicture shown = pictureOnShow();
    const QTemporaryDir folder;
    const std::atomic<bool> cancel{false};
    // Wide, tall and the window's own size, whose picture is the one shown.
    for (const QSize screenPx : {QSize(160, 90), QSize(90, 160), QSize(453, 453)}) {
        SCOPED_TRACE(testing::Message() << screenPx.width() << " x " << screenPx.height());
        WallpaperPicture picture = shown;
        picture.screenPx = screenPx;
        const Result<WallpaperFile> written = writeWallpaperFile(folder.path() + "/wallpapers", picture, cancel);
        ASSERT_TRUE(written.ok) << written.message.toStdString();
        EXPECT_TRUE(written.value.isNew);
        EXPECT_EQ(QFileInfo(written.value.path).fileName(), wallpaperFileName(shown.record.imeslike, screenPx));
        const QImage read(written.value.path);
        ASSERT_EQ(read.size(), screenPx);
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32),
                  paintExport(shown.record, shown.shown, screenPx, 1, cancel).convertToFormat(QImage::Format_RGB32));
        const ParamsRead params = readParamsFile(written.value.path);
        ASSERT_TRUE(params.ok) << params.message.toStdString();
        EXPECT_EQ(params.value, shown.record);
    }
}

TEST(WallpaperFile, NamesAreThePicturesAndOnlyTheyAreEverRemoved)
{
    EXPECT_EQ(wallpaperFileName("T20261209101500", QSize(1920, 1080)), "T20261209101500-1920x1080.png");
    for (const char* name : {"T20261209101500-1920x1080.png", "T20261209101500-1x1.png"})
        EXPECT_TRUE(isWallpaperFileName(name)) << name;
    for (const char* name : {"T20261209101500.png", "T20261209101500-0x1080.png", "holiday-1920x1080.png",
                             "T20261209101500-1920x1080.png.jpg", "T2026120910150-1920x1080.png"})
        EXPECT_FALSE(isWallpaperFileName(name)) << name;
}

TEST(WallpaperFile, TheFolderKeepsTheNewestTen)
{
    const QTemporaryDir folder;
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-1);
    // Twelve wallpapers a minute apart, written in a shuffled order, and a file of the user's.
    const int order[] = {5, 0, 11, 3, 8, 1, 10, 2, 7, 4, 9, 6};
    auto nameOf = [](int i) { return QStringLiteral("T202612091015%1-800x600.png").arg(i, 2, 10, QChar(u'0')); };
    for (const int i : order) {
        QFile file(folder.filePath(nameOf(i)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.setFileTime(start.addSecs(60 * i), QFileDevice::FileModificationTime));
    }
    QFile mine(folder.filePath("holiday.png"));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.setFileTime(start.addDays(-30), QFileDevice::FileModificationTime);
    mine.close();

    keepNewestWallpapers(folder.path(), kWallpapersKept + 2); // twelve: none goes
    EXPECT_EQ(QDir(folder.path()).count(), 2u + 13u);
    keepNewestWallpapers(folder.path());
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(QFileInfo::exists(folder.filePath(nameOf(i))), i >= 2) << i;
    EXPECT_TRUE(QFileInfo::exists(folder.filePath("holiday.png")));
}

TEST(WallpaperFile, AFolderThatCannotBeWrittenLeavesTheEarlierFiles)
{
    const QTemporaryDir home;
    // The data folder lies under a file, so it can be neither made nor written.
    QFile blocker(home.filePath("data"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    WallpaperPicture picture = pictureOnShow();
    picture.screenPx = QSize(64, 48);
    const std::atomic<bool> cancel{false};
    const Result<WallpaperFile> written = writeWallpaperFile(home.filePath("data/wallpapers"), picture, cancel);
    ASSERT_FALSE(written.ok);
    EXPECT_TRUE(written.message.contains(home.filePath("data/wallpapers"))) << written.message.toStdString();
    EXPECT_FALSE(written.message.contains(u'\n'));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"data"});

    // A file that was there before is not taken back when setting it failed; a new one is.
    const QString folder = home.filePath("wallpapers");
    const Result<WallpaperFile> first = writeWallpaperFile(folder, picture, cancel);
    ASSERT_TRUE(first.ok);
    const Result<WallpaperFile> again = writeWallpaperFile(folder, picture, cancel);
    ASSERT_TRUE(again.ok);
    EXPECT_FALSE(again.value.isNew);
    withdrawWallpaperFile(again.value);
    EXPECT_TRUE(QFileInfo::exists(first.value.path));
    withdrawWallpaperFile(first.value);
    EXPECT_FALSE(QFileInfo::exists(first.value.path));
}

} // namespace
} // namespace mandalix
