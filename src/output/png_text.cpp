#include "output/png_text.h"

#include "output/png_inflate.h"

#include <QString>

namespace mandalix {

namespace {

using TextResult = Result<QByteArray>;

// Inflates a zlib stream to at most maxBytes.
TextResult inflateBounded(const QByteArray& compressed, qint64 maxBytes)
{
    QByteArray out;
    const auto take = [&](const unsigned char* bytes, std::size_t count) {
        out.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(count));
        return out.size() <= maxBytes;
    };
    // A text may carry bytes after its stream's end; they are passed over.
    switch (inflatePieces({compressed}, take, true)) {
    case Inflated::GivenUp:
        return TextResult::failure(QStringLiteral("the PNG's text is too large for a parameters file"));
    case Inflated::Damaged:
        return TextResult::failure(QStringLiteral("the PNG's text is damaged (it does not decompress)"));
    default:
        return TextResult::success(out);
    }
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
