#include "output/output_files.h"

#include "base/work_pool.h"
#include "output/indexed_png.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mandalix {

namespace {

QString systemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

const QString kNotRegular = QStringLiteral("not a regular file; only regular files are replaced");

// The reason a target cannot be replaced before anything is written, or an empty text.
QString targetProblem(const QString& path)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return kNotRegular;
    return {};
}

// Why a file failed, once the device says it did: the system's reason for the last call
// when there is one (Qt drops it when a write stops partway, as on a full disk), else the
// device's text; when the device saw no error, the fallback (an image writer that gave
// up before writing) or the system's reason.
QString reasonOf(const QFileDevice& file, int systemError, const QString& fallback)
{
    if (file.error() != QFileDevice::NoError)
        return systemError != 0 ? systemText(systemError) : file.errorString();
    if (!fallback.isEmpty())
        return fallback;
    // A short write that the device took for no error.
    return systemError != 0 ? systemText(systemError) : QStringLiteral("the file could not be written in full");
}

// Encodes the image into the device; the writer's text when it fails.
QString writeImage(QIODevice& device, QImage image, const char* format, const QString& textKey,
                   const QString& text, bool& ok)
{
    // A large picture comes as palette indices: written by rows as they are deflated on
    // every core, without a second copy of its pixels.
    if (image.format() == QImage::Format_Indexed8 && std::strcmp(format, "png") == 0) {
        const Result<> written = writeIndexedPng(device, image, kOutputDotsPerMeter, textKey, text, processorCount());
        ok = written.ok;
        return ok ? QString() : written.message;
    }
    image.setDotsPerMeterX(kOutputDotsPerMeter);
    image.setDotsPerMeterY(kOutputDotsPerMeter);
    // Through the image, not the writer: the writer's own texts lose their line breaks.
    if (!textKey.isEmpty())
        image.setText(textKey, text);
    QImageWriter writer(&device, format);
    ok = writer.write(image);
    return ok ? QString() : writer.errorString();
}

// Writes all of `bytes` to standard output; false with errno set when it cannot.
bool writeStandardOutput(const QByteArray& bytes)
{
    const char* at = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, at, static_cast<std::size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        at += written;
        left -= written;
    }
    return true;
}

// Holds off the signals that end the program, on this thread, for its lifetime.
class EndSignalsHeld {
public:
    EndSignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : {SIGTERM, SIGINT, SIGHUP})
            sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &m_before);
    }
    ~EndSignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_before, nullptr); }
    EndSignalsHeld(const EndSignalsHeld&) = delete;
    EndSignalsHeld& operator=(const EndSignalsHeld&) = delete;

private:
    sigset_t m_before{};
};

} // namespace

WriteResult checkOutputPath(const QString& path, const QString& verb)
{
    if (path == QLatin1String(kStandardOutput))
        return WriteResult::success();
    const auto failure = [&](const QString& reason) {
        return WriteResult::failure(QStringLiteral("Could not %1 \"%2\": %3").arg(verb, path, reason));
    };
    const QFileInfo target(path);
    if (target.isDir())
        return failure(systemText(EISDIR));
    if (const QString problem = targetProblem(path); !problem.isEmpty())
        return failure(problem);
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        return failure(systemText(ENOENT));
    if (!folder.isDir())
        return failure(systemText(ENOTDIR));
    if (!folder.isWritable())
        return failure(systemText(EACCES));
    return WriteResult::success();
}

OutputFiles::~OutputFiles()
{
    for (const auto& file : m_files)
        file->cancelWriting();
}

WriteResult OutputFiles::fail(const QString& path, const QString& reason)
{
    const WriteResult result =
        WriteResult::failure(QStringLiteral("Could not %1 \"%2\": %3").arg(m_verb, path, reason));
    if (m_firstFailure.ok)
        m_firstFailure = result;
    return result;
}

WriteResult OutputFiles::failFile(QSaveFile& file, const QString& fallbackReason)
{
    const QString reason = reasonOf(file, errno, fallbackReason);
    file.cancelWriting();
    return fail(file.fileName(), reason);
}

QSaveFile* OutputFiles::open(const QString& path, WriteResult& result)
{
    if (const QString problem = targetProblem(path); !problem.isEmpty()) {
        result = fail(path, problem);
        return nullptr;
    }
    m_files.push_back(std::make_unique<QSaveFile>(path));
    QSaveFile& file = *m_files.back();
    errno = 0;
    result = file.open(QIODevice::WriteOnly) ? WriteResult::success() : failFile(file, {});
    return result.ok ? &file : nullptr;
}

WriteResult OutputFiles::addWritten(const QString& path, const std::function<QString(QIODevice&, bool&)>& write)
{
    bool written = false;
    if (path == QLatin1String(kStandardOutput)) {
        m_hasStandardOutput = true;
        QBuffer buffer(&m_standardOutput);
        buffer.open(QIODevice::WriteOnly | QIODevice::Append);
        const QString reason = write(buffer, written);
        return written ? WriteResult::success() : fail(path, reason);
    }
    WriteResult opened;
    QSaveFile* file = open(path, opened);
    if (!file)
        return opened;
    errno = 0;
    const QString reason = write(*file, written);
    return written ? WriteResult::success() : failFile(*file, reason);
}

WriteResult OutputFiles::addImage(const QString& path, QImage image, const char* format,
                                  const QString& textKey, const QString& text)
{
    return addWritten(path, [&](QIODevice& device, bool& written) {
        return writeImage(device, std::move(image), format, textKey, text, written);
    });
}

WriteResult OutputFiles::addPng(const QString& path, const PngRows& rows, const QString& textKey,
                                const QString& text)
{
    return addWritten(path, [&](QIODevice& device, bool& written) {
        const Result<> result = writePngRows(device, rows, kOutputDotsPerMeter, textKey, text, processorCount());
        written = result.ok;
        return result.message;
    });
}

WriteResult OutputFiles::addText(const QString& path, const QByteArray& bytes)
{
    if (path == QLatin1String(kStandardOutput)) {
        m_hasStandardOutput = true;
        m_standardOutput += bytes;
        return WriteResult::success();
    }
    WriteResult opened;
    QSaveFile* file = open(path, opened);
    if (!file)
        return opened;
    errno = 0;
    if (file->write(bytes) != bytes.size())
        return failFile(*file, {});
    return WriteResult::success();
}

Result<QIODevice*> OutputFiles::addStream(const QString& path)
{
    Q_ASSERT(path != QLatin1String(kStandardOutput));
    WriteResult opened;
    QSaveFile* file = open(path, opened);
    if (!file)
        return Result<QIODevice*>::failure(opened.message);
    return Result<QIODevice*>::success(file);
}

WriteResult OutputFiles::commit()
{
    if (!m_firstFailure.ok)
        return m_firstFailure;
    // Every file reaches the disk before any is renamed: a disk that fills at the last
    // block of the last file leaves every earlier one as it was. QSaveFile::commit would
    // flush what is still buffered but answer true when that flush fails; look here.
    for (const auto& file : m_files) {
        errno = 0;
        if (!file->flush() || file->error() != QFileDevice::NoError)
            return failFile(*file, {});
        if (::fsync(file->handle()) != 0) {
            const int error = errno;
            file->cancelWriting();
            return fail(file->fileName(), systemText(error));
        }
    }
    {
        // Nothing is left to write: the renames run back to back, and a kill waits for them.
        const EndSignalsHeld held;
        for (const auto& file : m_files) {
            errno = 0;
            if (!file->commit())
                return fail(file->fileName(), reasonOf(*file, errno, {}));
        }
    }
    m_files.clear();
    if (m_hasStandardOutput && !writeStandardOutput(m_standardOutput))
        return fail(QLatin1String(kStandardOutput), systemText(errno));
    return WriteResult::success();
}

} // namespace mandalix
