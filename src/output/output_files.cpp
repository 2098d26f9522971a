#include "output/output_files.h"

#include "output/indexed_png.h"

#include <QImageWriter>

#include <algorithm>
#include <cstring>
#include <thread>

namespace mandalix {

namespace {

WriteResult failure(const QString& path, const QString& reason)
{
    return {false, QStringLiteral("Could not write \"%1\": %2").arg(path, reason)};
}

// Why a file failed. Qt keeps the system's text when an open or a rename fails, but not
// when a write stops partway (a full disk).
QString reasonOf(const QSaveFile& file)
{
    const QString text = file.errorString();
    if (!text.isEmpty() && text != QIODevice::tr("Unknown error"))
        return text;
    return QStringLiteral("the file could not be written in full; the disk may be full");
}

} // namespace

OutputFiles::~OutputFiles()
{
    for (const auto& file : m_files)
        file->cancelWriting();
}

QSaveFile& OutputFiles::open(const QString& path, WriteResult& result)
{
    m_files.push_back(std::make_unique<QSaveFile>(path));
    QSaveFile& file = *m_files.back();
    result = file.open(QIODevice::WriteOnly) ? WriteResult{true, {}} : fail(file, reasonOf(file));
    return file;
}

WriteResult OutputFiles::fail(QSaveFile& file, const QString& reason)
{
    file.cancelWriting();
    const WriteResult result = failure(file.fileName(), reason);
    if (m_firstFailure.ok)
        m_firstFailure = result;
    return result;
}

WriteResult OutputFiles::addImage(const QString& path, const QImage& image, const char* format,
                                  const QString& textKey, const QString& text)
{
    WriteResult opened;
    QSaveFile& file = open(path, opened);
    if (!opened.ok)
        return opened;

    // A large picture comes as palette indices: written by rows as they are deflated on
    // every core, without a second copy of its pixels.
    if (image.format() == QImage::Format_Indexed8 && std::strcmp(format, "png") == 0) {
        const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        const PngWritten written = writeIndexedPng(file, image, kOutputDotsPerMeter, textKey, text, threads);
        if (!written.ok)
            return fail(file, file.error() != QFileDevice::NoError ? reasonOf(file) : written.reason);
        return {true, {}};
    }
    QImage stamped = image;
    stamped.setDotsPerMeterX(kOutputDotsPerMeter);
    stamped.setDotsPerMeterY(kOutputDotsPerMeter);
    // Through the image, not the writer: the writer's own texts lose their line breaks.
    if (!textKey.isEmpty())
        stamped.setText(textKey, text);
    QImageWriter writer(&file, format);
    if (!writer.write(stamped))
        return fail(file, file.error() != QFileDevice::NoError ? reasonOf(file)
                                                               : writer.errorString());
    return {true, {}};
}

WriteResult OutputFiles::addText(const QString& path, const QByteArray& bytes)
{
    WriteResult opened;
    QSaveFile& file = open(path, opened);
    if (!opened.ok)
        return opened;
    if (file.write(bytes) != bytes.size())
        return fail(file, reasonOf(file));
    return {true, {}};
}

WriteResult OutputFiles::commit()
{
    if (!m_firstFailure.ok)
        return m_firstFailure;
    for (const auto& file : m_files) {
        // commit() flushes what is still buffered; when that or the rename fails, the
        // file written aside is removed and the old one stays.
        if (!file->commit())
            return failure(file->fileName(), reasonOf(*file));
    }
    m_files.clear();
    return {true, {}};
}

} // namespace mandalix
