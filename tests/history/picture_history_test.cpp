#include "history/picture_history.h"

#include "output/params_file.h"
#include "output/picture_png_bytes.h"
#include "program/picture_replay.h"
#include "program/record_painting.h"
#include "render_job.h"
#include "surface/surface_sizes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace mandalix {
namespace {

// The record of a picture begun `n` seconds after a fixed moment, named after it, a
// picture of its own (its parameters hold n). Made before a history's thread starts:
// local times read the time zone through the C library, whose own lock
// ThreadSanitizer does not see.
PictureRecord pictureNumber(int n, bool isNoise = false)
{
    PictureRecord record;
    record.moment = QDateTime(QDate(2026, 12, 7), QTime(8, 0)).addSecs(n);
    record.imeslike = record.moment.toString(QStringLiteral("'T'yyyyMMddHHmmss"));
    record.seed = static_cast<float>(n);
    record.picture.f1 = n;
    record.picture.n1 = isNoise ? 1 : 0;
    return record;
}

// Stands in for the painting of a record, which takes long: one colour from the
// parameters, or noise (too large for a small disk).
QImage quickPixels(const PictureRecord& record)
{
    const int n = static_cast<int>(record.picture.f1);
    QImage pixels(kPictureSizePx, kPictureSizePx, QImage::Format_RGB32);
    pixels.fill(QColor::fromRgb(n % 256, n / 256 % 256, 200));
    std::uint32_t noise = 12345u + static_cast<std::uint32_t>(n);
    for (int y = 0; record.picture.n1 != 0 && y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            pixels.setPixel(x, y, 0xFF000000u | (noise >> 8));
        }
    return pixels;
}

// The PNG a caller hands to the history for those pixels.
QByteArray quickPng(const PictureRecord& record) { return encodePicturePng(quickPixels(record), record); }

// Writes picture n into the folder as the history would, kept at `keptAt`.
QString writePicture(const QString& folder, int n, const QDateTime& keptAt = QDateTime::currentDateTimeUtc())
{
    const Result<QString> written = writeKeptPicture(folder, quickPng(pictureNumber(n)),
                                                     pictureNumber(n), keptAt);
    EXPECT_TRUE(written.ok) << written.message.toStdString();
    return written.value;
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

// Entries the program did not write, or that are damaged: each is left alone, with its
// one line. A FIFO, a folder and a link loop named like a kept picture among them.
int addStrangers(const QDir& dir)
{
    writeFile(dir.filePath("notes.txt"), "not a picture");
    writeFile(dir.filePath("T20260101000000.png"), QByteArray(300, 'x'));
    const QByteArray whole = [] {
        QTemporaryDir aside;
        QFile file(writePicture(aside.path(), 1));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    writeFile(dir.filePath("T19990101000000.png"), whole.left(whole.size() / 2)); // truncated
    writeFile(dir.filePath("T19990101000001.png"), whole); // its record names another picture
    QImage small(10, 10, QImage::Format_RGB32);
    small.fill(Qt::red);
    small.save(dir.filePath("T19990101000002.png"));
    QFile huge(dir.filePath("T19990101000003.png"));
    EXPECT_TRUE(huge.open(QIODevice::WriteOnly));
    EXPECT_TRUE(huge.resize(kKeptFileMaxBytes + 1));
    EXPECT_TRUE(dir.mkdir("T19990101000004.png"));
    EXPECT_EQ(::mkfifo(QFile::encodeName(dir.filePath("T19990101000005.png")).constData(), 0644), 0);
    EXPECT_TRUE(QFile::link(dir.filePath("T19990101000006.png"), dir.filePath("T19990101000006.png")));
    return 9;
}

TEST(HistoryFolder_Scan, SkipsForeignAndDamagedEntriesAndReadsItsOwn)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const int strangers = addStrangers(dir);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    writePicture(folder.path(), 3, now);
    writePicture(folder.path(), 5, now.addSecs(-60)); // begun later, kept earlier
    writePicture(keptFolderFor(folder.path(), KeptOrigin::SlideShow), 4, now.addSecs(-30));
    const HistoryScan scan = scanHistoryFolder(folder.path());
    ASSERT_EQ(scan.entries.size(), 3u);
    EXPECT_EQ(scan.entries[0].record, pictureNumber(3)) << "newest kept first";
    EXPECT_EQ(scan.entries[1].record, pictureNumber(4));
    EXPECT_EQ(scan.entries[1].origin, KeptOrigin::SlideShow);
    EXPECT_EQ(scan.entries[2].record, pictureNumber(5));
    EXPECT_EQ(scan.entries[0].origin, KeptOrigin::Window);
    EXPECT_EQ(scan.entries[0].thumbnail.size(), QSize(kThumbnailPx, kThumbnailPx));
    EXPECT_EQ(scan.skipped.size(), strangers) << scan.skipped.join('\n').toStdString();
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(), strangers + 3);

    QTemporaryDir aside;
    const QString file = aside.filePath("history");
    writeFile(file, "a file where the folder should be");
    EXPECT_EQ(scanHistoryFolder(file).skipped.size(), 1);
}

// A chunk of `type` holding `data`, its checksum right.
QByteArray chunk(const QByteArray& type, const QByteArray& data)
{
    QByteArray bytes;
    for (int shift : {24, 16, 8, 0})
        bytes += static_cast<char>(data.size() >> shift & 0xFF);
    bytes += type + data;
    const QByteArray typeAndData = type + data;
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(typeAndData.constData()),
                            static_cast<uInt>(typeAndData.size()));
    for (int shift : {24, 16, 8, 0})
        bytes += static_cast<char>(crc >> shift & 0xFF);
    return bytes;
}

// The file with the data of its chunk at `at` (the chunk's length) changed by `change`,
// its checksum made right again.
QByteArray withChunkData(const QByteArray& png, qsizetype at, const std::function<void(QByteArray&)>& change)
{
    const auto* b = reinterpret_cast<const uchar*>(png.constData() + at);
    const qsizetype size = b[0] << 24 | b[1] << 16 | b[2] << 8 | b[3];
    QByteArray data = png.mid(at + 8, size);
    change(data);
    return png.left(at) + chunk(png.mid(at + 4, 4), data) + png.mid(at + 12 + size);
}

// Damage is told by the program's own walk over the chunks, before the image library
// reads the file: it would allocate whatever a length says, gigabytes for a file of a
// few hundred bytes, and complain of a wrong checksum on standard error.
TEST(HistoryFolder_Read, DamagedChunksAreToldAndTheImageLibrarySaysNothing)
{
    QTemporaryDir folder;
    const QString path = writePicture(folder.path(), 7);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    ASSERT_TRUE(readKeptPicture(path).ok);
    const QByteArray huge("\x73\x65\x65\x64", 4); // 1.9 GB
    const qsizetype text = whole.indexOf("zTXt") - 4;
    const qsizetype pixels = whole.indexOf("IDAT") - 4;
    const qsizetype end = whole.indexOf("IEND") - 4;
    ASSERT_GT(text, 8);
    ASSERT_GT(end, text);
    QByteArray flipped = whole;
    flipped[pixels + 10] = static_cast<char>(flipped[pixels + 10] ^ 0x40);
    const auto flip = [](QByteArray& data) { data[data.size() / 2] = static_cast<char>(data[data.size() / 2] ^ 0x40); };
    const qsizetype afterHeader = 8 + 25;
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
        {"a bit changed in the pixels", flipped, "damaged: the checksum of a IDAT chunk is wrong"},
        {"pixels that do not inflate, checksum right", withChunkData(whole, pixels, flip),
         "damaged: its pixels are damaged or cut short"},
        {"a record that does not inflate, checksum right", withChunkData(whole, text, flip),
         "damaged: a text chunk is damaged"},
        {"a chunk the history does not write", whole.left(afterHeader) + chunk("tIME", QByteArray(7, '\1'))
                                                   + whole.mid(afterHeader),
         "damaged: a tIME chunk the history does not write there"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(path, row.bytes);
        testing::internal::CaptureStderr();
        const KeptRead read = readKeptPicture(path);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.message.toStdString(),
                  QStringLiteral("Skipped \"%1\": %2").arg(path, QLatin1String(row.reason)).toStdString());
    }
}

// Kept pictures dated in the future (a clock once set wrong) are still the oldest kept:
// each new picture stays, and the cap never removes what it has just kept.
TEST(PictureHistory_Cap, RemovesTheFirstKeptBeyondTwoHundredAndNothingElse)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const int strangers = addStrangers(dir);
    const QDateTime future = QDateTime(QDate(2040, 1, 1), QTime(0, 0), Qt::UTC);
    std::vector<QString> oldest;
    for (int n = 1; n <= kHistoryKept; ++n) {
        PictureRecord record = pictureNumber(n);
        record.moment = record.moment.addYears(20);
        record.imeslike = record.moment.toString(QStringLiteral("'T'yyyyMMddHHmmss"));
        const Result<QString> written = writeKeptPicture(folder.path(), quickPng(record), record,
                                                         future.addSecs(n));
        ASSERT_TRUE(written.ok) << written.message.toStdString();
        oldest.push_back(written.value);
    }
    std::vector<PictureRecord> newer{pictureNumber(kHistoryKept + 1), pictureNumber(kHistoryKept + 2)};
    News news;
    {
        PictureHistory history(folder.path());
        history.start(news.listener());
        for (PictureRecord& record : newer)
            history.keep(record, quickPng(record));
    }
    EXPECT_EQ(news.count<history::Kept>(), 2);
    EXPECT_EQ(news.count<history::Removed>(), 2);
    EXPECT_FALSE(QFile::exists(oldest[0]));
    EXPECT_FALSE(QFile::exists(oldest[1]));
    EXPECT_TRUE(QFile::exists(oldest[2]));
    const HistoryScan scan = scanHistoryFolder(folder.path());
    ASSERT_EQ(scan.entries.size(), std::size_t{kHistoryKept});
    EXPECT_EQ(scan.entries[0].record, pictureNumber(kHistoryKept + 2)) << "the last kept is the newest";
    EXPECT_EQ(scan.entries[1].record, pictureNumber(kHistoryKept + 1));
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(),
              kHistoryKept + strangers)
        << "every stranger stays";
}

// 300 pictures of a slide show keep their own 50 places; the window's 200 all stay.
TEST(PictureHistory_Cap, ASlideShowKeepsItsOwnShareAndPushesOutNoWindowPicture)
{
    QTemporaryDir folder;
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-3600);
    std::vector<QString> window;
    for (int n = 1; n <= kHistoryKept; ++n)
        window.push_back(writePicture(folder.path(), n, before.addSecs(n)));
    std::vector<PictureRecord> shown;
    for (int n = 1001; n <= 1300; ++n)
        shown.push_back(pictureNumber(n));
    {
        PictureHistory history(folder.path());
        history.start({});
        for (PictureRecord& record : shown)
            history.keep(record, quickPng(record), KeptOrigin::SlideShow);
    }
    for (const QString& path : window)
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    const HistoryScan scan = scanHistoryFolder(folder.path());
    EXPECT_EQ(scan.entries.size(), std::size_t{kHistoryKept + kSlideShowKept});
    EXPECT_EQ(scan.entries[0].record, pictureNumber(1300));
    EXPECT_EQ(scan.entries[kSlideShowKept - 1].record, pictureNumber(1300 - kSlideShowKept + 1));
}

// Two programs on one folder keep pictures of the same seconds at the same time: every
// picture ends up kept, under a name of its own.
TEST(PictureHistory_Write, TwoHistoriesOnOneFolderKeepEveryPicture)
{
    QTemporaryDir folder;
    constexpr int kEach = 40;
    std::vector<PictureRecord> first, second;
    for (int n = 0; n < kEach; ++n) {
        first.push_back(pictureNumber(n / 4));
        second.push_back(pictureNumber(n / 4));
        first.back().picture.f2 = n + 1;
        second.back().picture.f2 = -n - 1;
    }
    {
        PictureHistory a(folder.path());
        PictureHistory b(folder.path());
        a.start({});
        b.start({});
        for (std::size_t n = 0; n < kEach; ++n) {
            a.keep(first[n], quickPng(first[n]));
            b.keep(second[n], quickPng(second[n]));
        }
    }
    const HistoryScan scan = scanHistoryFolder(folder.path());
    EXPECT_TRUE(scan.skipped.isEmpty()) << scan.skipped.join('\n').toStdString();
    std::vector<PictureRecord> kept;
    for (const HistoryEntry& entry : scan.entries)
        kept.push_back(entry.record);
    for (const auto* records : {&first, &second})
        for (const PictureRecord& record : *records)
            EXPECT_EQ(std::count(kept.begin(), kept.end(), record), 1) << record.picture.f2;
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
              2 * kEach)
        << "nothing written aside is left over";
}

TEST(PictureHistory_Write, OneFilePerPictureAndNeverAStrangersOfTheSameName)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const PictureRecord a = pictureNumber(7);
    const QString stranger = dir.filePath(a.imeslike + ".png");
    writeFile(stranger, "someone else's file");
    PictureRecord recoloured = a;
    recoloured.replacements.push_back({0x102030, 0x405060});
    PictureRecord sameSecond = pictureNumber(7);
    sameSecond.picture.f2 = 1; // another picture begun in the same second
    PictureRecord repeated = pictureNumber(9); // "repeat  image" of the recoloured one
    repeated.isRepeat = true;
    repeated.picture = a.picture;
    repeated.replacements = recoloured.replacements;
    News news;
    {
        PictureHistory history(folder.path());
        history.start(news.listener());
        for (const PictureRecord& record : {a, recoloured, sameSecond, repeated, repeated})
            history.keep(record, quickPng(record));
    }
    QFile file(stranger);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "someone else's file");
    EXPECT_FALSE(dir.exists(a.imeslike + "-2.png")) << "the repeat took its place";
    EXPECT_EQ(readKeptPicture(dir.filePath(a.imeslike + "-3.png")).value.record, sameSecond);
    const KeptRead repeat = readKeptPicture(dir.filePath(repeated.imeslike + ".png"));
    ASSERT_TRUE(repeat.ok) << repeat.message.toStdString();
    EXPECT_EQ(repeat.value.record, repeated);
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 3)
        << "one file per picture, nothing written aside left over";

    // A file written aside by a program that ended before naming it is removed at the
    // next start; one of a program still running stays.
    const QString abandoned = dir.filePath(QStringLiteral(".keeping-999999999-0.png"));
    const QString running = dir.filePath(QStringLiteral(".keeping-%1-77.png").arg(::getpid()));
    writeFile(abandoned, "x");
    writeFile(running, "x");
    PictureHistory(folder.path()).start({});
    EXPECT_FALSE(QFile::exists(abandoned));
    EXPECT_TRUE(QFile::exists(running));
    EXPECT_EQ(news.count<history::Removed>(), 1);
}

// What the slide show keeps is what the record paints, as the renderer paints it, and
// the file holds the bytes handed over, not encoded again.
TEST(PictureHistory_Write, KeepsTheBytesHandedOverOfThePixelsItsRecordPaints)
{
    QTemporaryDir folder;
    WindowState s;
    setStartUpDefaults(s, 2);
    PictureRecord record = newPictureRecord(s, PaletteWaves{{23, 31, 37}, {1, 2, 3}, {30, 40, 50}},
                                            QDateTime(QDate(2026, 12, 7), QTime(9, 0)), 32400);
    record.replacements.push_back({0x000000, 0x123456});
    const QByteArray png = paintKeptPng(record);
    News news;
    {
        PictureHistory history(folder.path());
        history.start(news.listener());
        history.keep(record, png, KeptOrigin::SlideShow);
    }
    ASSERT_EQ(news.count<history::Kept>(), 1);
    const QString path =
        QDir(keptFolderFor(folder.path(), KeptOrigin::SlideShow)).filePath(record.imeslike + ".png");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), png);
    const KeptRead kept = readKeptPicture(path);
    ASSERT_TRUE(kept.ok) << kept.message.toStdString();
    EXPECT_EQ(kept.value.record, record);
    RenderRequest request;
    request.recorded = record;
    EXPECT_EQ(kept.value.pixels, renderPicture(request, noPacing()).picture.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(std::get<history::Kept>(news.all.back()).entry.thumbnail, thumbnailOf(kept.value.pixels));
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
        std::vector<PictureRecord> records;
        for (int n = 1; n <= 3; ++n)
            records.push_back(pictureNumber(n, true));
        News news;
        auto history = std::make_unique<PictureHistory>(folder);
        history->start(news.listener());
        for (PictureRecord& record : records)
            history->keep(record, quickPng(record));
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

// The folder is mandalix/history in the user's data folder; one that earlier versions
// made one level deeper is moved there once, and never over a folder already there.
TEST(HistoryFolder_Place, IsInTheDataFolderAndAnEarlierOneIsMovedOnce)
{
    QTemporaryDir data;
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    const QByteArray savedChosen = qgetenv("MANDALIX_HISTORY_DIR");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    qunsetenv("MANDALIX_HISTORY_DIR");
    const QDir dir(data.path());
    const QString earlier = dir.filePath("mandalix/mandalix/history");
    const QString folder = dir.filePath("mandalix/history");
    const QString kept = writePicture(earlier, 1);
    EXPECT_EQ(historyFolderFromEnvironment(), folder);
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath(QFileInfo(kept).fileName())));
    EXPECT_FALSE(QFile::exists(earlier));

    writePicture(earlier, 2);
    EXPECT_EQ(historyFolderFromEnvironment(), folder);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1) << "both exist: the earlier is left alone";
    EXPECT_EQ(QDir(earlier).entryList(QDir::Files).size(), 1);

    qputenv("MANDALIX_HISTORY_DIR", "/chosen/history");
    EXPECT_EQ(historyFolderFromEnvironment(), QStringLiteral("/chosen/history"));
    savedData.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", savedData);
    savedChosen.isNull() ? qunsetenv("MANDALIX_HISTORY_DIR") : qputenv("MANDALIX_HISTORY_DIR", savedChosen);
}

} // namespace
} // namespace mandalix
