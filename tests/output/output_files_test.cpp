#include "output/output_files.h"
#include "output/file_size_limit.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace mandalix {
namespace {

struct OutputFiles_Write : ::testing::Test {
    QTemporaryDir dir;
    QImage image = makeImage();

    static QImage makeImage()
    {
        QImage picture(5, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                picture.setPixel(x, y, qRgb(40 * x, 80 * y, 7));
        return picture;
    }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QByteArray contents(const QString& of) const
    {
        QFile file(of);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString& to, const QByteArray& bytes) const
    {
        QFile file(to);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden); }
};

TEST_F(OutputFiles_Write, WritesEveryFileOnlyAtCommitAndReplacesOldOnes)
{
    write(path("old.png"), "not a picture");
    OutputFiles files;
    ASSERT_TRUE(files.addImage(path("old.png"), image, "png", "mandalix-params", "{\"a\": 1}").ok);
    ASSERT_TRUE(files.addImage(path("b.bmp"), image, "bmp").ok);
    ASSERT_TRUE(files.addText(path("c.json"), "{}\n").ok);
    EXPECT_EQ(contents(path("old.png")), "not a picture");
    EXPECT_FALSE(QFile::exists(path("b.bmp")));

    ASSERT_TRUE(files.commit().ok);
    EXPECT_EQ(entries(), (QStringList{"b.bmp", "c.json", "old.png"}));
    EXPECT_EQ(contents(path("c.json")), "{}\n");

    QImageReader png(path("old.png"));
    EXPECT_EQ(png.format(), "png");
    EXPECT_EQ(png.text("mandalix-params"), "{\"a\": 1}");
    const QImage readPng = png.read();
    EXPECT_EQ(readPng.convertToFormat(QImage::Format_RGB32), image);
    EXPECT_EQ(readPng.dotsPerMeterX(), kOutputDotsPerMeter);

    QImageReader bmp(path("b.bmp"));
    EXPECT_EQ(bmp.format(), "bmp");
    EXPECT_EQ(bmp.read().convertToFormat(QImage::Format_RGB32), image);
}

TEST_F(OutputFiles_Write, OneFailureWritesNothingAndKeepsOldFiles)
{
    write(path("keep.png"), "old picture");
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/p.json"));
    OutputFiles files;
    ASSERT_TRUE(files.addImage(path("keep.png"), image, "png").ok);
    const WriteResult failed = files.addText(missing, "{}");
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message.toStdString(),
              QStringLiteral("Could not write \"%1\": No such file or directory").arg(missing).toStdString());
    ASSERT_TRUE(files.addImage(path("new.bmp"), image, "bmp").ok);

    const WriteResult committed = files.commit();
    EXPECT_FALSE(committed.ok);
    EXPECT_EQ(committed.message, failed.message);
    EXPECT_EQ(contents(path("keep.png")), "old picture");
    EXPECT_EQ(entries(), QStringList{"keep.png"});
}

TEST_F(OutputFiles_Write, AFolderInTheWayIsAFailureWithItsReason)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.png")));
    OutputFiles files;
    const WriteResult result = files.addImage(path("taken.png"), image, "png");
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.startsWith(QStringLiteral("Could not write \"%1\": ").arg(path("taken.png"))))
        << result.message.toStdString();
    EXPECT_GT(result.message.size(), QStringLiteral("Could not write \"%1\": ").arg(path("taken.png")).size());
    EXPECT_FALSE(files.commit().ok);
    EXPECT_EQ(entries(), QStringList{"taken.png"});
}

TEST_F(OutputFiles_Write, FilesNeverCommittedLeaveNothingBehind)
{
    {
        OutputFiles files;
        ASSERT_TRUE(files.addImage(path("a.png"), image, "png").ok);
        ASSERT_TRUE(files.addText(path("a.json"), "{}").ok);
    }
    EXPECT_TRUE(entries().isEmpty());
}

// A file whose last buffered block cannot be written is a failure at commit: the old
// file stays and nothing is left aside, for text and images alike.
TEST_F(OutputFiles_Write, AFileThatFailsAtItsLastByteKeepsTheOldOne)
{
    const QByteArray text(100000, 'x');
    write(path("a.json"), "old text");
    write(path("a.bmp"), "old picture");
    QImage large(300, 300, QImage::Format_RGB888);
    large.fill(Qt::red);
    OutputFiles measure;
    ASSERT_TRUE(measure.addImage(path("measure.bmp"), large, "bmp").ok && measure.commit().ok);
    const qint64 bitmapBytes = QFileInfo(path("measure.bmp")).size();
    ASSERT_TRUE(QFile::remove(path("measure.bmp")));

    const struct {
        const char* name;
        qint64 limit;
        bool isImage;
    } rows[] = {{"text", text.size() - 1, false}, {"bitmap", bitmapBytes - 1, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteResult result;
        {
            FileSizeLimit lowered(static_cast<rlim_t>(row.limit));
            OutputFiles files;
            result = row.isImage ? files.addImage(path("a.bmp"), large, "bmp") : files.addText(path("a.json"), text);
            if (result.ok)
                result = files.commit();
        }
        const QString target = path(row.isImage ? "a.bmp" : "a.json");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message.toStdString(),
                  QStringLiteral("Could not write \"%1\": File too large").arg(target).toStdString());
        EXPECT_EQ(entries(), (QStringList{"a.bmp", "a.json"}));
        EXPECT_EQ(contents(target), row.isImage ? "old picture" : "old text");
    }
}

// Devices, FIFOs and links to them are refused, before writing and when adding; a
// missing folder is found before writing too.
TEST_F(OutputFiles_Write, OnlyRegularFilesAreReplaced)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path("fifo"), path("to-fifo")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), path("to-null")));
    const QString notRegular = QStringLiteral("not a regular file; only regular files are replaced");
    const struct {
        QString target;
        QString reason; // empty: may be written
    } rows[] = {
        {QStringLiteral("/dev/null"), notRegular},
        {path("fifo"), notRegular},
        {path("to-fifo"), notRegular},
        {path("to-null"), notRegular},
        {path("no/such/a.png"), QStringLiteral("No such file or directory")},
        {dir.path(), QStringLiteral("Is a directory")},
        {path("new.png"), {}},
        {QStringLiteral("-"), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.target.toStdString());
        const WriteResult checked = checkOutputPath(row.target);
        EXPECT_EQ(checked.ok, row.reason.isEmpty());
        if (!row.reason.isEmpty()) {
            const std::string expected = QStringLiteral("Could not write \"%1\": %2").arg(row.target, row.reason).toStdString();
            EXPECT_EQ(checked.message.toStdString(), expected);
            if (row.reason == notRegular) {
                OutputFiles files;
                EXPECT_EQ(files.addText(row.target, "x").message.toStdString(), expected);
                EXPECT_EQ(files.addImage(row.target, image, "png").message.toStdString(), expected);
                EXPECT_FALSE(files.commit().ok);
            }
        }
    }
    EXPECT_FALSE(QFileInfo(path("fifo")).isFile());
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());
    EXPECT_EQ(entries(), (QStringList{"fifo", "to-fifo", "to-null"}));
}

} // namespace
} // namespace mandalix
