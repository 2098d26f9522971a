#include "output/png_text.h"

#include <QString>

#include <zlib.h>


namespace mandalix {

namespace {

using TextResult = Result<QByteArray>;

// Inflates a zlib stream to at most maxBytes; empty optional-like failure otherwise.
TextResult inflateBounded(const QByteArray& compressed, qint64 maxBytes)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return TextResult::failure(QStringLiteral("the PNG's text cannot be decompressed"));
    QByteArray out;
    char buffer[kInflateBufferBytes];
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, static_cast<qsizetype>(sizeof buffer - stream.avail_out));
        if (out.size() > maxBytes) {
            inflateEnd(&stream);
            return TextResult::failure(QStringLiteral("the PNG's text is too large for a parameters file"));
        }
        if (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0)
            status = Z_DATA_ERROR; // the stream ends before its end mark
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END)
        return TextResult::failure(QStringLiteral("the PNG's text is damaged (it does not decompress)"));
    return TextResult::success(out);
}

// The text of a chunk whose keyword matched; `rest` is what follows the keyword's NUL.
TextResult decodeText(const QByteArray& type, const QByteArray& rest, qint64 maxBytes)
{
    const auto damaged = TextResult::failure(QStringLiteral("the PNG's %1 chunk is damaged").arg(QLatin1String(type)));
    if (type == "tEXt")
        return TextResult::success(QString::fromLatin1(rest).toUtf8());
    if (type == "zTXt") {
        if (rest.isEmpty() || rest[0] != 0)
            return damaged;
        TextResult text = inflateBounded(rest.mid(1), maxBytes);
        if (text.ok)
            text.value = QString::fromLatin1(text.value).toUtf8();
        return text;
    }
    // iTXt: compression flag, method, language NUL, translated keyword NUL, text.
    if (rest.size() < 2)
        return damaged;
    const bool isCompressed = rest[0] != 0;
    const qsizetype languageEnd = rest.indexOf('\0', 2);
    const qsizetype translatedEnd = languageEnd < 0 ? -1 : rest.indexOf('\0', languageEnd + 1);
    if (translatedEnd < 0 || (isCompressed && rest[1] != 0))
        return damaged;
    const QByteArray text = rest.mid(translatedEnd + 1);
    return isCompressed ? inflateBounded(text, maxBytes) : TextResult::success(text);
}

// The walk's fault as this reader words it.
TextResult walkFailure(PngWalkFault fault, const QByteArray& key)
{
    switch (fault) {
    case PngWalkFault::TooLong:
        return TextResult::failure(QStringLiteral("the PNG is damaged (a chunk longer than PNG allows)"));
    case PngWalkFault::TooManyChunks:
        return TextResult::failure(QStringLiteral("the PNG's \"%1\" text is not among its first %2 chunks")
                                       .arg(QLatin1String(key)).arg(kPngMaxChunksWalked));
    case PngWalkFault::TooManyTextBytes:
        return TextResult::failure(QStringLiteral("the PNG's \"%1\" text lies behind more than %2 MiB of other texts")
                                       .arg(QLatin1String(key)).arg(kPngMaxTextBytesWalked >> 20));
    default:
        return TextResult::failure(QStringLiteral("the PNG is truncated"));
    }
}

} // namespace

TextResult pngText(QIODevice& device, const QByteArray& key, qint64 maxBytes)
{
    if (device.read(kPngSignatureBytes) != QByteArray(kPngSignature, kPngSignatureBytes))
        return TextResult::failure(QStringLiteral("not a PNG"));
    // A text chunk holds a keyword of up to 79 bytes and a few header bytes besides.
    const qint64 maxChunkBytes = maxBytes + 100;
    // A damaged text chunk may have been the one looked for, with its key damaged too.
    QString damagedText;
    PngChunkWalk walk(device);
    for (PngChunk chunk;;) {
        if (!walk.next(chunk))
            return walkFailure(walk.fault(), key);
        if (chunk.type == "IEND")
            break;
        if (!isPngChunkType(chunk.type))
            return TextResult::failure(QStringLiteral("the PNG is damaged (a chunk of no valid type)"));
        if (!isPngTextChunk(chunk.type)) {
            if (!walk.skipData(chunk))
                return walkFailure(walk.fault(), key);
            continue;
        }
        if (chunk.length > maxChunkBytes)
            return TextResult::failure(QStringLiteral("the PNG's text is too large for a parameters file"));
        if (!walk.readData(chunk))
            return walkFailure(walk.fault(), key);
        if (!chunk.isCrcRight) {
            if (damagedText.isEmpty())
                damagedText = QStringLiteral("the PNG's %1 chunk is damaged (CRC error)").arg(QLatin1String(chunk.type));
            continue;
        }
        const qsizetype keywordEnd = chunk.data.indexOf('\0');
        if (keywordEnd >= 0 && chunk.data.left(keywordEnd) == key)
            return decodeText(chunk.type, chunk.data.mid(keywordEnd + 1), maxBytes);
    }
    if (!damagedText.isEmpty())
        return TextResult::failure(damagedText);
    return TextResult::failure(QStringLiteral("the PNG carries no \"%1\" text").arg(QLatin1String(key)));
}

} // namespace mandalix
