// Writing a kept picture: its PNG bytes as handed over, written aside under a name of
// this process's own, flushed to the disk, then given its name by a link that fails when
// the name is taken. Two programs keeping pictures of the same second into one folder each find their
// own name; neither ever replaces the other's file.
#include "history/history_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mandalix {

namespace {

// The most "-2", "-3", ... names tried for pictures of one second.
constexpr int kMostNamesPerSecond = 9999;

QString systemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

Result<QString> failure(const QString& path, const QString& reason)
{
    return Result<QString>::failure(
        QStringLiteral("Could not write \"%1\": %2").arg(QDir::toNativeSeparators(path), reason));
}

// Writes the bytes into a new file at `aside`, stamped as modified at `keptAt`, and
// flushes them to the disk. The system's reason when it fails; then no file is left.
QString writeAside(const QString& aside, const QByteArray& bytes, const QDateTime& keptAt)
{
    const QByteArray name = QFile::encodeName(aside);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return systemText(errno);
    const char* at = bytes.constData();
    qsizetype left = bytes.size();
    int error = 0;
    while (left > 0 && error == 0) {
        const ssize_t written = ::write(fd, at, static_cast<std::size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            error = written < 0 ? errno : ENOSPC;
        else {
            at += written;
            left -= written;
        }
    }
    const qint64 ms = keptAt.toMSecsSinceEpoch();
    const timespec stamp{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
    const timespec times[2] = {stamp, stamp};
    if (error == 0 && (::futimens(fd, times) != 0 || ::fsync(fd) != 0))
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        ::unlink(name.constData());
    return error == 0 ? QString() : systemText(error);
}

// Gives the file at `aside` the name `path` when no file has it: 0, EEXIST when one has,
// or the system's error. Where the file system has no links, a rename that refuses to
// replace does the same.
int linkWhenFree(const QString& aside, const QString& path)
{
    const QByteArray from = QFile::encodeName(aside);
    const QByteArray to = QFile::encodeName(path);
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return 0;
    }
    const int linkError = errno;
    if (linkError == EEXIST)
        return EEXIST;
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    return errno == EEXIST ? EEXIST : linkError;
}

QString nameFor(const PictureRecord& record, int k)
{
    return k == 1 ? record.imeslike + QStringLiteral(".png")
                  : QStringLiteral("%1-%2.png").arg(record.imeslike).arg(k);
}

} // namespace

void removeAbandonedAside(const QString& folder)
{
    const QRegularExpression pattern(QStringLiteral("^%1([0-9]+)-[0-9]+\\.png$")
                                         .arg(QRegularExpression::escape(QLatin1String(kKeptAsidePrefix))));
    for (const KeptOrigin origin : {KeptOrigin::Window, KeptOrigin::SlideShow}) {
        const QDir dir(keptFolderFor(folder, origin));
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
            const QRegularExpressionMatch match = pattern.match(name);
            bool isNumber = false;
            const pid_t writer = static_cast<pid_t>(match.captured(1).toLongLong(&isNumber));
            // Its writer ended before linking it: no other program will.
            if (match.hasMatch() && isNumber && writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH)
                ::unlink(QFile::encodeName(dir.filePath(name)).constData());
        }
    }
}

Result<QString> writeKeptPicture(const QString& folder, const QByteArray& png,
                                 const PictureRecord& record, const QDateTime& keptAt,
                                 const QString& replacing)
{
    const QDir dir(folder);
    const QString first = dir.filePath(nameFor(record, 1));
    if (!QDir().mkpath(folder))
        return failure(first, QStringLiteral("cannot make the folder"));
    if (png.isEmpty())
        return failure(first, QStringLiteral("the picture could not be encoded"));
    static std::atomic<unsigned> written{0};
    const QString aside = dir.filePath(QStringLiteral("%1%2-%3.png")
                                           .arg(QLatin1String(kKeptAsidePrefix))
                                           .arg(::getpid())
                                           .arg(written.fetch_add(1)));
    if (const QString reason = writeAside(aside, png, keptAt); !reason.isEmpty())
        return failure(first, reason);

    // The file of this same picture, under the name it would get: written over whole.
    const QFileInfo own(replacing);
    if (!replacing.isEmpty() && own.absolutePath() == QFileInfo(first).absolutePath()
        && keptPictureName(own.fileName()) == record.imeslike) {
        if (::rename(QFile::encodeName(aside).constData(), QFile::encodeName(replacing).constData()) == 0)
            return Result<QString>::success(replacing);
        const int error = errno;
        ::unlink(QFile::encodeName(aside).constData());
        return failure(replacing, systemText(error));
    }
    for (int k = 1; k <= kMostNamesPerSecond; ++k) {
        const QString path = dir.filePath(nameFor(record, k));
        const int error = linkWhenFree(aside, path);
        if (error == 0)
            return Result<QString>::success(path);
        if (error != EEXIST) {
            ::unlink(QFile::encodeName(aside).constData());
            return failure(path, systemText(error));
        }
    }
    ::unlink(QFile::encodeName(aside).constData());
    return failure(first, QStringLiteral("too many pictures of that name"));
}

} // namespace mandalix
