#include "output/png_text.h"

#include <QString>

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace mandalix {

namespace {

using TextResult = Result<QByteArray>;

quint32 bigEndian(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return (quint32{b[0]} << 24) | (quint32{b[1]} << 16) | (quint32{b[2]} << 8) | quint32{b[3]};
}

// Inflates a zlib stream to at most maxBytes; empty optional-like failure otherwise.
TextResult inflateBounded(const QByteArray& compressed, qint64 maxBytes)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return TextResult::failure(QStringLiteral("the PNG's text cannot be decompressed"));
    QByteArray out;
    char buffer[16384];
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

// A chunk's type is four ASCII letters; zero bytes, as in a file that was never written
// in full, are none.
bool isChunkType(const QByteArray& type)
{
    return std::all_of(type.begin(), type.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

} // namespace

TextResult pngText(QIODevice& device, const QByteArray& key, qint64 maxBytes)
{
    const auto truncated = TextResult::failure(QStringLiteral("the PNG is truncated"));
    if (device.read(8) != QByteArray(kPngSignature, 8))
        return TextResult::failure(QStringLiteral("not a PNG"));
    // A text chunk holds a keyword of up to 79 bytes and a few header bytes besides.
    const qint64 maxChunkBytes = maxBytes + 100;
    // A damaged text chunk may have been the one looked for, with its key damaged too.
    QString damagedText;
    qint64 textBytes = 0;
    for (int walked = 0;; ++walked) {
        if (walked == kPngMaxChunksWalked)
            return TextResult::failure(QStringLiteral("the PNG's \"%1\" text is not among its first %2 chunks")
                                           .arg(QLatin1String(key)).arg(kPngMaxChunksWalked));
        const QByteArray header = device.read(8);
        if (header.size() < 8)
            return truncated;
        const quint32 length = bigEndian(header.constData());
        const QByteArray type = header.mid(4);
        if (length > 0x7fffffffu)
            return TextResult::failure(QStringLiteral("the PNG is damaged (a chunk longer than PNG allows)"));
        if (type == "IEND")
            break;
        if (!isChunkType(type))
            return TextResult::failure(QStringLiteral("the PNG is damaged (a chunk of no valid type)"));
        const bool isText = type == "tEXt" || type == "zTXt" || type == "iTXt";
        if (!isText) {
            if (device.bytesAvailable() < qint64{length} + 4 || !device.seek(device.pos() + length + 4))
                return truncated;
            continue;
        }
        if (length > maxChunkBytes)
            return TextResult::failure(QStringLiteral("the PNG's text is too large for a parameters file"));
        textBytes += length;
        if (textBytes > kPngMaxTextBytesWalked)
            return TextResult::failure(QStringLiteral("the PNG's \"%1\" text lies behind more than %2 MiB of other texts")
                                           .arg(QLatin1String(key)).arg(kPngMaxTextBytesWalked >> 20));
        const QByteArray data = device.read(length);
        const QByteArray crc = device.read(4);
        if (data.size() < qsizetype{length} || crc.size() < 4)
            return truncated;
        uLong sum = crc32(0, reinterpret_cast<const Bytef*>(type.constData()), 4);
        sum = crc32(sum, reinterpret_cast<const Bytef*>(data.constData()), static_cast<uInt>(data.size()));
        if (sum != bigEndian(crc.constData())) {
            if (damagedText.isEmpty())
                damagedText = QStringLiteral("the PNG's %1 chunk is damaged (CRC error)").arg(QLatin1String(type));
            continue;
        }
        const qsizetype keywordEnd = data.indexOf('\0');
        if (keywordEnd >= 0 && data.left(keywordEnd) == key)
            return decodeText(type, data.mid(keywordEnd + 1), maxBytes);
    }
    if (!damagedText.isEmpty())
        return TextResult::failure(damagedText);
    return TextResult::failure(QStringLiteral("the PNG carries no \"%1\" text").arg(QLatin1String(key)));
}

} // namespace mandalix
