#include "output/output_files.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }
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

} // namespace
} // namespace mandalix
