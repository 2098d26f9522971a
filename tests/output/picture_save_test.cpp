#include "output/picture_save.h"
#include "program/surfaces.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace mandalix {
namespace {

constexpr int kSide = kPictureSizePx;

// Every pixel different in some channel, with all three channels in use.
Colour patternAt(int x, int y, int shift)
{
    return rgbColour((x + shift) % 256, y % 256, (x + 2 * y + 3 * shift) % 256);
}

void paintPattern(Surface& surface, int shift)
{
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            surface.PSet(x, y, patternAt(x, y, shift));
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 littleEndian(const QByteArray& bytes, int offset, int size)
{
    quint32 value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = (value << 8) | static_cast<quint8>(bytes[offset + k]);
    return value;
}

// Checks that the file is a 24-bit bitmap of the picture's size holding surface's pixels,
// through Qt's reader and through the raw bytes.
void expectBitmapOf(const QString& path, const Surface& surface)
{
    const QByteArray bytes = readAll(path);
    // Header of an uncompressed bottom-up 24-bit bitmap: rows of 453 * 3 bytes padded to 1360.
    const int rowBytes = 1360;
    ASSERT_EQ(bytes.size(), 54 + rowBytes * kSide);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(littleEndian(bytes, 2, 4), static_cast<quint32>(bytes.size()));
    EXPECT_EQ(littleEndian(bytes, 10, 4), 54u);
    EXPECT_EQ(littleEndian(bytes, 18, 4), static_cast<quint32>(kSide));
    EXPECT_EQ(littleEndian(bytes, 22, 4), static_cast<quint32>(kSide));
    EXPECT_EQ(littleEndian(bytes, 28, 2), 24u);
    EXPECT_EQ(littleEndian(bytes, 30, 4), 0u); // no compression
    EXPECT_EQ(littleEndian(bytes, 38, 4), static_cast<quint32>(kSavedDotsPerMeter));
    EXPECT_EQ(littleEndian(bytes, 42, 4), static_cast<quint32>(kSavedDotsPerMeter));
    // Corners from the raw bytes: the last row of the file is the top of the picture,
    // each pixel blue, green, red.
    const struct {
        int x, y;
    } corners[] = {{0, 0}, {kSide - 1, 0}, {0, kSide - 1}, {kSide - 1, kSide - 1}, {5, 200}};
    for (const auto& p : corners) {
        SCOPED_TRACE(testing::Message() << "raw pixel " << p.x << "," << p.y);
        const int at = 54 + (kSide - 1 - p.y) * rowBytes + 3 * p.x;
        const Colour c = surface.Point(p.x, p.y);
        EXPECT_EQ(static_cast<quint8>(bytes[at]), blueOf(c));
        EXPECT_EQ(static_cast<quint8>(bytes[at + 1]), greenOf(c));
        EXPECT_EQ(static_cast<quint8>(bytes[at + 2]), redOf(c));
    }

    // The name says ".jpg": the reader must go by the content.
    EXPECT_EQ(QImageReader::imageFormat(path), QByteArray("bmp"));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(image.size(), QSize(kSide, kSide));
    EXPECT_FALSE(image.hasAlphaChannel());
    int wrong = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            wrong += fromArgb(image.pixel(x, y)) != surface.Point(x, y);
    EXPECT_EQ(wrong, 0);
}

struct Fixture {
    Fixture() { state.imeslike = QStringLiteral("T20261207200302"); }
    QString fileIn(const QString& folder) const
    {
        return QDir(folder).filePath(state.imeslike + QStringLiteral(".jpg"));
    }
    WindowState state;
    Surfaces surfaces;
};

TEST(SavePicture, WritesPicture1AsA24BitBitmapThroughPicture2)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    Fixture f;
    paintPattern(f.surfaces.Picture1, 0);
    f.surfaces.Picture2.setBackColor(kBlack);
    f.surfaces.Picture2.Cls();

    const SaveResult result = savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false);
    ASSERT_TRUE(result.saved) << result.message.toStdString();
    EXPECT_EQ(result.path, f.fileIn(tmp.path()));
    EXPECT_TRUE(result.message.isEmpty());
    expectBitmapOf(result.path, f.surfaces.Picture1);
    // The copy went through Picture2, with i and j as the counters of the 459 x 459 loop.
    EXPECT_EQ(f.surfaces.Picture2.image(), f.surfaces.Picture1.image());
    EXPECT_EQ(f.state.i, 459);
    EXPECT_EQ(f.state.j, 459);
}

TEST(SavePicture, SavingAgainReplacesTheFileWithWhatIsDrawnOverThePicture)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    Fixture f;
    paintPattern(f.surfaces.Picture1, 0);
    ASSERT_TRUE(savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false).saved);

    // What a help panel or a recolouring leaves on the picture.
    f.surfaces.Picture1.Line(0, 0, kSide - 1, kSide - 1, kWhite);
    f.surfaces.Picture1.setCurrentX(10);
    f.surfaces.Picture1.setCurrentY(10);
    f.surfaces.Picture1.Print(QStringLiteral("new img / old palette"));
    ASSERT_TRUE(savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false).saved);

    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{f.state.imeslike + QStringLiteral(".jpg")});
    expectBitmapOf(f.fileIn(tmp.path()), f.surfaces.Picture1);
}

TEST(SaveOnDisk, BothDrivesGiveTwoFilesOfTheSameName)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const Drives drives{tmp.filePath(QStringLiteral("c")), tmp.filePath(QStringLiteral("d")),
                        false};
    ASSERT_TRUE(QDir().mkpath(drives.c) && QDir().mkpath(drives.d));
    Fixture f;
    paintPattern(f.surfaces.Picture1, 7);

    const SaveResult onD = SaveOnDiskD(f.state, f.surfaces.Picture1, f.surfaces.Picture2, drives);
    const SaveResult onC = SaveOnDiskC(f.state, f.surfaces.Picture1, f.surfaces.Picture2, drives);
    ASSERT_TRUE(onD.saved && onC.saved);
    EXPECT_EQ(onD.path, f.fileIn(drives.d));
    EXPECT_EQ(onC.path, f.fileIn(drives.c));
    EXPECT_EQ(readAll(onC.path), readAll(onD.path));
    expectBitmapOf(onC.path, f.surfaces.Picture1);
}

TEST(SaveOnDisk, MakesOnlyTheDefaultPicturesFolder)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString missingC = tmp.filePath(QStringLiteral("no c"));
    const QString missingD = tmp.filePath(QStringLiteral("home/Pictures"));
    Fixture f;

    const SaveResult onC = SaveOnDiskC(f.state, f.surfaces.Picture1, f.surfaces.Picture2, Drives{missingC, missingD, true});
    EXPECT_FALSE(onC.saved);
    EXPECT_FALSE(QFileInfo::exists(missingC));

    const SaveResult onD = SaveOnDiskD(f.state, f.surfaces.Picture1, f.surfaces.Picture2, Drives{missingC, missingD, true});
    ASSERT_TRUE(onD.saved) << onD.message.toStdString();
    EXPECT_TRUE(QFileInfo(onD.path).isFile());

    const QString namedD = tmp.filePath(QStringLiteral("named d"));
    EXPECT_FALSE(SaveOnDiskD(f.state, f.surfaces.Picture1, f.surfaces.Picture2, Drives{missingC, namedD, false}).saved);
    EXPECT_FALSE(QFileInfo::exists(namedD));
}

// Failures that hold for root too, who may write anywhere: a folder inside a file, a
// folder that does not exist, and a name taken by a folder.
TEST(SavePicture, ReportsAFolderThatCannotTakeTheFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QFile blocker(tmp.filePath(QStringLiteral("afile")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly) && blocker.write("x") == 1);
    blocker.close();
    Fixture f;
    ASSERT_TRUE(QDir().mkpath(f.fileIn(tmp.filePath(QStringLiteral("taken")))));

    struct Row {
        const char* name;
        QString folder;
    };
    const Row rows[] = {
        {"inside a file", tmp.filePath(QStringLiteral("afile/sub"))},
        {"missing", tmp.filePath(QStringLiteral("missing"))},
        {"name taken by a folder", tmp.filePath(QStringLiteral("taken"))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SaveResult result = savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, row.folder, false);
        EXPECT_FALSE(result.saved);
        EXPECT_EQ(result.path, f.fileIn(row.folder));
        const QString prefix = QStringLiteral("Could not save \"%1\": ").arg(result.path);
        EXPECT_TRUE(result.message.startsWith(prefix)) << result.message.toStdString();
        EXPECT_GT(result.message.size(), prefix.size() + 3) << "no reason given";
    }
    EXPECT_EQ(readAll(blocker.fileName()), QByteArray("x"));
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath(QStringLiteral("missing"))));
    EXPECT_TRUE(QFileInfo(f.fileIn(tmp.filePath(QStringLiteral("taken")))).isDir());
}

// Lowers the process's file size limit, as a full disk would stop a write midway; the
// signal that the limit raises is ignored so the write fails with an error instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(SavePicture, AWriteThatFailsMidwayKeepsTheEarlierFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    Fixture f;
    paintPattern(f.surfaces.Picture1, 0);
    ASSERT_TRUE(savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false).saved);
    const QByteArray earlier = readAll(f.fileIn(tmp.path()));

    paintPattern(f.surfaces.Picture1, 1);
    SaveResult failed;
    {
        FileSizeLimit limit(4096);
        failed = savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false);
    }
    EXPECT_FALSE(failed.saved);
    EXPECT_TRUE(failed.message.startsWith(QStringLiteral("Could not save \"%1\": ").arg(failed.path)))
        << failed.message.toStdString();
    EXPECT_FALSE(failed.message.contains(QStringLiteral("Unknown error")))
        << failed.message.toStdString();
    EXPECT_EQ(readAll(f.fileIn(tmp.path())), earlier);
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{f.state.imeslike + QStringLiteral(".jpg")})
        << "nothing written aside is left";

    // The next save, with room again, writes the new picture.
    ASSERT_TRUE(savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false).saved);
    expectBitmapOf(f.fileIn(tmp.path()), f.surfaces.Picture1);
}

} // namespace
} // namespace mandalix
