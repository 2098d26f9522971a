#include "output/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

namespace mandalix {

namespace {

// The folder a variable names, absolute, or an empty text when it is unset or empty.
QString folderFromVariable(const char* name)
{
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        return {};
    return QDir::cleanPath(QFileInfo(value).absoluteFilePath());
}

} // namespace

Drives drivesFromEnvironment()
{
    Drives drives;
#ifdef Q_OS_WIN
    drives.c = QStringLiteral("C:\\");
    drives.d = QStringLiteral("D:\\");
#else
    drives.c = folderFromVariable("MANDALIX_DRIVE_C");
    if (drives.c.isEmpty())
        drives.c = QDir::homePath();

    drives.d = folderFromVariable("MANDALIX_DRIVE_D");
    if (drives.d.isEmpty()) {
        drives.d = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (drives.d.isEmpty())
            drives.d = QDir::homePath();
        drives.createMissingD = true;
    }
#endif
    return drives;
}

} // namespace mandalix
