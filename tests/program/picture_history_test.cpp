#include "program/picture_history.h"

#include "output/params_file.h"
#include "surface/surface_sizes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <unistd.h>

namespace mandalix {
namespace {

// A picture of one colour (or of noise, too large for a small disk) begun `n` seconds
// after a fixed moment, named after it. Made before a history's thread starts: local
// times read the time zone through the C library, whose own lock ThreadSanitizer does
// not see.
PictureStep pictureNumber(int n, bool isNoise = false)
{
    PictureStep step;
    step.picture.moment = QDateTime(QDate(2026, 12, 7), QTime(8, 0)).addSecs(n);
    step.picture.imeslike = step.picture.moment.toString(QStringLiteral("'T'yyyyMMddHHmmss"));
    step.picture.seed = static_cast<float>(n);
    QImage pixels(kPictureSizePx, kPictureSizePx, QImage::Format_RGB32);
    pixels.fill(QColor::fromRgb(n % 256, 100, 200));
    std::uint32_t noise = 12345u + static_cast<std::uint32_t>(n);
    for (int y = 0; isNoise && y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            pixels.setPixel(x, y, 0xFF000000u | (noise >> 8));
        }
    step.picture1 = packPixels(pixels);
    return step;
}

// The news a history gave, gathered from its thread.
struct News {
    std::mutex mutex;
    std::vector<HistoryNews> all;
    PictureHistory::Listener listener()
    {
        return [this](const HistoryNews& news) {
            std::lock_guard lock(mutex);
            all.push_back(news);
        };
    }
    template <typename T> int count()
    {
        std::lock_guard lock(mutex);
        return static_cast<int>(std::count_if(all.begin(), all.end(), [](const HistoryNews& n) {
            return std::holds_alternative<T>(n);
        }));
    }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// Files the program did not write, or that are damaged: each is left alone.
void addStrangers(const QDir& dir)
{
    writeFile(dir.filePath("notes.txt"), "not a picture");
    writeFile(dir.filePath("T20260101000000.png"), QByteArray(300, 'x'));
    const QByteArray whole = [] {
        QTemporaryDir aside;
        const QString path = aside.filePath("T20260101000001.png");
        EXPECT_TRUE(writeKeptPicture(path, unpackPixels(pictureNumber(1).picture1),
                                     pictureNumber(1).picture).ok);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    writeFile(dir.filePath("T19990101000000.png"), whole.left(whole.size() / 2)); // truncated
    writeFile(dir.filePath("T19990101000001.png"), whole); // its record names another picture
    QImage small(10, 10, QImage::Format_RGB32);
    small.fill(Qt::red);
    small.save(dir.filePath("T19990101000002.png"));
    QFile huge(dir.filePath("T19990101000003.png"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(kKeptFileMaxBytes + 1));
    ASSERT_TRUE(dir.mkdir("T19990101000004.png"));
}

TEST(HistoryFolder_Scan, SkipsForeignAndDamagedFilesAndReadsItsOwn)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    addStrangers(dir);
    for (int n : {5, 3})
        ASSERT_TRUE(writeKeptPicture(dir.filePath(pictureNumber(n).picture.imeslike + ".png"),
                                     unpackPixels(pictureNumber(n).picture1), pictureNumber(n).picture).ok);
    const HistoryScan scan = scanHistoryFolder(folder.path());
    ASSERT_EQ(scan.entries.size(), 2u);
    EXPECT_EQ(scan.entries[0].record, pictureNumber(5).picture) << "newest first";
    EXPECT_EQ(scan.entries[1].record, pictureNumber(3).picture);
    EXPECT_EQ(scan.entries[0].thumbnail.size(), QSize(kThumbnailPx, kThumbnailPx));
    EXPECT_EQ(scan.skipped.size(), 6) << scan.skipped.join('\n').toStdString();
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 9);

    QTemporaryDir aside;
    const QString file = aside.filePath("history");
    writeFile(file, "a file where the folder should be");
    EXPECT_EQ(scanHistoryFolder(file).skipped.size(), 1);
}

// A chunk whose length runs past the end of the file is damage, told before the image
// library reads the file: it would allocate whatever the length says, gigabytes for a
// file of a few hundred bytes.
TEST(HistoryFolder_Read, AChunkRunningPastTheFileIsDamage)
{
    QTemporaryDir folder;
    const PictureStep step = pictureNumber(7);
    const QString path = QDir(folder.path()).filePath(step.picture.imeslike + ".png");
    ASSERT_TRUE(writeKeptPicture(path, unpackPixels(step.picture1), step.picture).ok);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    ASSERT_TRUE(readKeptPicture(path).ok);
    const QByteArray huge("\x73\x65\x65\x64", 4); // 1.9 GB
    const qsizetype text = whole.indexOf("zTXt") - 4;
    const qsizetype end = whole.indexOf("IEND") - 4;
    ASSERT_GT(text, 8);
    ASSERT_GT(end, text);
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } rows[] = {
        {"the record's chunk, before the pixels", QByteArray(whole).replace(text, 4, huge),
         "damaged: a chunk runs past the end of the file"},
        {"a text after the pixels", whole.left(end) + huge + "tEXtab",
         "damaged: a chunk runs past the end of the file"},
        {"no end", whole.left(end), "damaged: the file ends before its last chunk"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(path, row.bytes);
        const KeptRead read = readKeptPicture(path);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.error.toStdString(),
                  QStringLiteral("Skipped \"%1\": %2").arg(path, QLatin1String(row.reason)).toStdString());
    }
}

TEST(PictureHistory_Cap, KeepsTheNewestTwoHundredOfItsOwnAndRemovesNothingElse)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    addStrangers(dir);
    for (int n = 1; n <= kHistoryKept; ++n)
        ASSERT_TRUE(writeKeptPicture(dir.filePath(pictureNumber(n).picture.imeslike + ".png"),
                                     unpackPixels(pictureNumber(n).picture1), pictureNumber(n).picture).ok);
    // Made before the history's thread starts: see pictureNumber.
    std::vector<PictureStep> newer{pictureNumber(kHistoryKept + 1), pictureNumber(kHistoryKept + 2)};
    News news;
    PictureHistory history(folder.path());
    history.start(news.listener());
    for (PictureStep& step : newer)
        history.keep(std::move(step));
    history.finish();

    EXPECT_EQ(news.count<history::Kept>(), 2);
    EXPECT_EQ(news.count<history::Removed>(), 2);
    EXPECT_FALSE(dir.exists(pictureNumber(1).picture.imeslike + ".png"));
    EXPECT_FALSE(dir.exists(pictureNumber(2).picture.imeslike + ".png"));
    EXPECT_TRUE(dir.exists(pictureNumber(3).picture.imeslike + ".png"));
    EXPECT_EQ(scanHistoryFolder(folder.path()).entries.size(), std::size_t{kHistoryKept});
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), kHistoryKept + 7)
        << "every stranger stays";
}

TEST(PictureHistory_Write, ReplacesItsOwnFileWholeAndNeverAStrangersOfTheSameName)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    PictureStep a = pictureNumber(7);
    const QString stranger = dir.filePath(a.picture.imeslike + ".png");
    writeFile(stranger, "someone else's file");
    PictureStep recoloured = a;
    recoloured.picture.replacements.push_back({0x102030, 0x405060});
    PictureStep sameSecond = pictureNumber(7);
    sameSecond.picture.seed = 7.5f;
    sameSecond.picture.moment = sameSecond.picture.moment.addMSecs(500);
    News news;
    PictureHistory history(folder.path());
    history.start(news.listener());
    history.keep(a);
    history.keep(recoloured);
    history.keep(sameSecond);
    history.finish();

    QFile file(stranger);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "someone else's file");
    const KeptRead second = readKeptPicture(dir.filePath(a.picture.imeslike + "-2.png"));
    ASSERT_TRUE(second.ok) << second.error.toStdString();
    EXPECT_EQ(second.record, recoloured.picture) << "written again, whole, with its recolouring";
    EXPECT_EQ(readKeptPicture(dir.filePath(a.picture.imeslike + "-3.png")).record, sameSecond.picture);
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 3)
        << "nothing written aside is left over";
}

// A folder that is a file, and a disk that is full: every picture fails, and that is told once.
TEST(PictureHistory_Failure, IsToldOnceForARunOfFailedWrites)
{
    QTemporaryDir aside;
    const QString notAFolder = aside.filePath("history");
    writeFile(notAFolder, "x");
    QString full = aside.filePath("full");
    QDir().mkpath(full);
    // Not under ThreadSanitizer: QProcess starts its child sharing this process's memory,
    // which leaves ThreadSanitizer blind to the locks taken after it.
#ifdef __SANITIZE_THREAD__
    const bool canMount = false;
#else
    const bool canMount = geteuid() == 0;
#endif
    const bool isMounted = canMount
        && QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", full}) == 0;
    std::vector<QString> folders{notAFolder};
    if (isMounted)
        folders.push_back(full);
    for (const QString& folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        std::vector<PictureStep> steps;
        for (int n = 1; n <= 3; ++n)
            steps.push_back(pictureNumber(n, true));
        News news;
        auto history = std::make_unique<PictureHistory>(folder);
        history->start(news.listener());
        for (PictureStep& step : steps)
            history->keep(std::move(step));
        history.reset();
        EXPECT_EQ(news.count<history::Failed>(), 1);
        EXPECT_EQ(news.count<history::Kept>(), 0);
    }
    if (isMounted) {
        EXPECT_TRUE(QDir(full).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "no partial file";
        QProcess::execute("umount", {full});
    } else {
        GTEST_SKIP() << "no small disk could be mounted: only the folder that is a file was tried";
    }
}

} // namespace
} // namespace mandalix
