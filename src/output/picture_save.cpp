#include "output/picture_save.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace mandalix {

namespace {

// Copies Picture1 into Picture2 position by position over 0..sir and 0..vis; positions
// outside the drawing area read as no colour, which Picture2 ignores.
void copyPictureForSaving(WindowState& s, Surface& picture1, Surface& picture2)
{
    for (s.i = 0; s.i <= s.sir; s.i = s.i + 1) {
        for (s.j = 0; s.j <= s.vis; s.j = s.j + 1) {
            const int column = static_cast<int>(s.i);
            const int row = static_cast<int>(s.j);
            picture2.PSet(column, row, picture1.Point(column, row));
        }
    }
}

SaveResult failure(const QString& path, const QString& reason)
{
    return {false, path,
            QStringLiteral("Could not save \"%1\": %2").arg(QDir::toNativeSeparators(path), reason)};
}

// Why the file failed. Qt keeps the system's text when an open or a rename fails, but not
// when a write stops partway (a full disk): then the device knows only that it failed.
QString reasonOf(const QSaveFile& file)
{
    const QString text = file.errorString();
    if (text != QIODevice::tr("Unknown error"))
        return text;
    return QStringLiteral("the file could not be written in full; the disk may be full");
}

// Writes the image as a bitmap to path, aside first and renamed over an old file only
// when every byte is written.
SaveResult writeBitmap(const QImage& image, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, reasonOf(file));

    QImageWriter writer(&file, "bmp");
    if (!writer.write(image)) {
        const QString reason =
            file.error() != QFileDevice::NoError ? reasonOf(file) : writer.errorString();
        file.cancelWriting();
        return failure(path, reason);
    }
    // commit() flushes what is still buffered; a write that fails there (a full disk)
    // leaves the old file in place and removes the one written aside.
    if (!file.commit())
        return failure(path, reasonOf(file));
    return {true, path, {}};
}

} // namespace

SaveResult savePicture(WindowState& state, Surface& picture1, Surface& picture2, const QString& folder,
                       bool createMissingFolder)
{
    Q_ASSERT(!state.imeslike.isEmpty());
    copyPictureForSaving(state, picture1, picture2);

    const QString path =
        QDir::cleanPath(QFileInfo(QDir(folder).filePath(state.imeslike + QStringLiteral(".jpg")))
                            .absoluteFilePath());
    // A folder that cannot be made shows up below, when the file cannot be opened in it.
    if (createMissingFolder && !QFileInfo::exists(folder))
        QDir().mkpath(folder);

    // RGB888 holds exactly the 24 bits of each colour; the bitmap writer stores it at 24
    // bits per pixel.
    QImage image = picture2.image().convertToFormat(QImage::Format_RGB888);
    image.setDotsPerMeterX(kSavedDotsPerMeter);
    image.setDotsPerMeterY(kSavedDotsPerMeter);
    return writeBitmap(image, path);
}

SaveResult SaveOnDiskD(WindowState& state, Surface& picture1, Surface& picture2, const Drives& drives)
{
    return savePicture(state, picture1, picture2, drives.d, drives.createMissingD);
}

SaveResult SaveOnDiskC(WindowState& state, Surface& picture1, Surface& picture2, const Drives& drives)
{
    return savePicture(state, picture1, picture2, drives.c, false);
}

} // namespace mandalix
