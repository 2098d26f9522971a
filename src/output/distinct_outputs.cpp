#include "output/output_files.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace mandalix {

namespace {

// What a path names: its canonical path (of the folder, for a file not there yet), and
// the device and inode of a file that exists.
struct FileIdentity {
    QString canonical;
    dev_t device = 0;
    ino_t inode = 0;
    bool exists = false;

    bool isSame(const FileIdentity& other) const
    {
        return canonical == other.canonical
            || (exists && other.exists && device == other.device && inode == other.inode);
    }
};

FileIdentity identityOf(const QString& path)
{
    FileIdentity identity;
    if (path == QLatin1String(kStandardOutput)) {
        identity.canonical = path;
        return identity;
    }
    const QFileInfo info(path);
    struct stat status{};
    identity.exists = ::stat(QFile::encodeName(path).constData(), &status) == 0;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    identity.canonical = identity.exists ? info.canonicalFilePath() : QString();
    if (identity.canonical.isEmpty()) {
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        identity.canonical = (folder.isEmpty() ? info.absolutePath() : folder) + u'/' + info.fileName();
    }
    return identity;
}

} // namespace

WriteResult checkDistinctOutputs(const QStringList& paths, const QString& verb)
{
    std::vector<FileIdentity> identities;
    for (const QString& path : paths) {
        const FileIdentity identity = identityOf(path);
        for (std::size_t k = 0; k < identities.size(); ++k)
            if (identity.isSame(identities[k]))
                return WriteResult::failure(QStringLiteral("Could not %1 \"%2\": it is the same file as \"%3\"")
                                                .arg(verb, path, paths[static_cast<qsizetype>(k)]));
        identities.push_back(identity);
    }
    return WriteResult::success();
}

} // namespace mandalix
