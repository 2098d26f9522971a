#include "output/picture_save.h"
#include "output/output_files.h"
#include "program/surfaces.h"
#include "output/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_EQ(littleEndian(bytes, 38, 4), static_cast<quint32>(kOutputDotsPerMeter));
    EXPECT_EQ(littleEndian(bytes, 42, 4), static_cast<quint32>(kOutputDotsPerMeter));
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
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(result.value, f.fileIn(tmp.path()));
    EXPECT_TRUE(result.message.isEmpty());
    expectBitmapOf(result.value, f.surfaces.Picture1);
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
    ASSERT_TRUE(savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false).ok);

    // What a help panel or a recolouring leaves on the picture.
    f.surfaces.Picture1.Line(0, 0, kSide - 1, kSide - 1, kWhite);
    f.surfaces.Picture1.setCurrentX(10);
    f.surfaces.Picture1.setCurrentY(10);
    f.surfaces.Picture1.Print(QStringLiteral("new img / old palette"));
    ASSERT_TRUE(savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false).ok);

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
    ASSERT_TRUE(onD.ok && onC.ok);
    EXPECT_EQ(onD.value, f.fileIn(drives.d));
    EXPECT_EQ(onC.value, f.fileIn(drives.c));
    EXPECT_EQ(readAll(onC.value), readAll(onD.value));
    expectBitmapOf(onC.value, f.surfaces.Picture1);
}

TEST(SaveOnDisk, MakesOnlyTheDefaultPicturesFolder)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString missingC = tmp.filePath(QStringLiteral("no c"));
    const QString missingD = tmp.filePath(QStringLiteral("home/Pictures"));
    Fixture f;

    const SaveResult onC = SaveOnDiskC(f.state, f.surfaces.Picture1, f.surfaces.Picture2, Drives{missingC, missingD, true});
    EXPECT_FALSE(onC.ok);
    EXPECT_FALSE(QFileInfo::exists(missingC));

    const SaveResult onD = SaveOnDiskD(f.state, f.surfaces.Picture1, f.surfaces.Picture2, Drives{missingC, missingD, true});
    ASSERT_TRUE(onD.ok) << onD.message.toStdString();
    EXPECT_TRUE(QFileInfo(onD.value).isFile());

    const QString namedD = tmp.filePath(QStringLiteral("named d"));
    EXPECT_FALSE(SaveOnDiskD(f.state, f.surfaces.Picture1, f.surfaces.Picture2, Drives{missingC, namedD, false}).ok);
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
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.value, f.fileIn(row.folder));
        const QString prefix = QStringLiteral("Could not save \"%1\": ").arg(result.value);
        EXPECT_TRUE(result.message.startsWith(prefix)) << result.message.toStdString();
        EXPECT_GT(result.message.size(), prefix.size() + 3) << "no reason given";
    }
    EXPECT_EQ(readAll(blocker.fileName()), QByteArray("x"));
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath(QStringLiteral("missing"))));
    EXPECT_TRUE(QFileInfo(f.fileIn(tmp.filePath(QStringLiteral("taken")))).isDir());
}

// Early in the file, and at its very last byte: Qt buffers the end of the file and
// flushes it only when the save is committed.
TEST(SavePicture, AWriteThatFailsMidwayOrAtTheEndKeepsTheEarlierFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    Fixture f;
    paintPattern(f.surfaces.Picture1, 0);
    ASSERT_TRUE(savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false).ok);
    const QByteArray earlier = readAll(f.fileIn(tmp.path()));

    paintPattern(f.surfaces.Picture1, 1);
    for (const rlim_t limit : {rlim_t{4096}, static_cast<rlim_t>(earlier.size() - 1)}) {
        SCOPED_TRACE(limit);
        SaveResult failed;
        {
            FileSizeLimit lowered(limit);
            failed = savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false);
        }
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.message.toStdString(),
                  QStringLiteral("Could not save \"%1\": File too large").arg(failed.value).toStdString());
        EXPECT_EQ(readAll(f.fileIn(tmp.path())), earlier);
        EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{f.state.imeslike + QStringLiteral(".jpg")})
            << "nothing written aside is left";
    }

    // The next save, with room again, writes the new picture.
    ASSERT_TRUE(savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, tmp.path(), false).ok);
    expectBitmapOf(f.fileIn(tmp.path()), f.surfaces.Picture1);
}

// A FIFO or a link to a device where the file would go stays what it is.
TEST(SavePicture, RefusesToReplaceWhatIsNotARegularFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    Fixture f;
    const QString fifoFolder = tmp.filePath(QStringLiteral("fifo"));
    const QString linkFolder = tmp.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QDir().mkpath(fifoFolder) && QDir().mkpath(linkFolder));
    ASSERT_EQ(mkfifo(QFile::encodeName(f.fileIn(fifoFolder)).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), f.fileIn(linkFolder)));
    for (const QString& folder : {fifoFolder, linkFolder}) {
        SCOPED_TRACE(folder.toStdString());
        const SaveResult result = savePicture(f.state, f.surfaces.Picture1, f.surfaces.Picture2, folder, false);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message.toStdString(),
                  QStringLiteral("Could not save \"%1\": not a regular file; only regular files are replaced")
                      .arg(f.fileIn(folder))
                      .toStdString());
        EXPECT_FALSE(QFileInfo(f.fileIn(folder)).isFile());
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden).size(), 1);
    }
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/null")).exists());
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());
}

} // namespace
} // namespace mandalix
