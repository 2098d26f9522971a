#include "output/picture_save.h"

#include "output/output_files.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

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
    OutputFiles files(QStringLiteral("save"));
    const QString shown = QDir::toNativeSeparators(path);
    WriteResult written = files.addImage(shown, std::move(image), "bmp");
    if (written.ok)
        written = files.commit();
    return {written.ok, written.message, path};
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
