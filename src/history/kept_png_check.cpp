#include "history/kept_png_check.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include <zlib.h>

namespace mandalix {

namespace {

// A kept picture is far smaller; a larger one is not inflated to find out.
constexpr quint32 kMostSidePx = 4096;
// No text of a kept picture comes near this once inflated.
constexpr uLong kMostTextBytes = 1 << 20;

quint32 bigEndian(const char* at)
{
    const auto* b = reinterpret_cast<const uchar*>(at);
    return quint32{b[0]} << 24 | quint32{b[1]} << 16 | quint32{b[2]} << 8 | b[3];
}

// A chunk's type as text: letters as they are, anything else in hex.
QString typeName(const QByteArray& type)
{
    const bool isLetters = std::all_of(type.begin(), type.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
    return isLetters ? QString::fromLatin1(type) : QString::fromLatin1(type.toHex());
}

struct Chunk {
    QByteArray type;
    const char* data = nullptr;
    quint32 size = 0;
};

// Splits the file into its chunks, checking each one's bounds and checksum.
QString walkChunks(const QByteArray& png, std::vector<Chunk>& chunks)
{
    qsizetype at = 8;
    for (;;) {
        if (png.size() - at < 8)
            return QStringLiteral("the file ends before its last chunk");
        const quint64 dataBytes = bigEndian(png.constData() + at);
        if (dataBytes + 12 > quint64(png.size() - at))
            return QStringLiteral("a chunk runs past the end of the file");
        const QByteArray type = png.mid(at + 4, 4);
        const auto* typeAndData = reinterpret_cast<const Bytef*>(png.constData() + at + 4);
        if (crc32(0L, typeAndData, static_cast<uInt>(dataBytes + 4))
            != bigEndian(png.constData() + at + 8 + dataBytes))
            return QStringLiteral("the checksum of a %1 chunk is wrong").arg(typeName(type));
        chunks.push_back({type, png.constData() + at + 8, static_cast<quint32>(dataBytes)});
        if (type == "IEND")
            return {};
        at += static_cast<qsizetype>(dataBytes) + 12;
    }
}

// The chunks the history writes, in the order it writes them: the header, the
// resolution, texts, the pixels in a row, texts, the end. Nothing else, so the image
// library finds nothing to warn of.
QString orderDamage(const std::vector<Chunk>& chunks)
{
    const auto wrong = [](const Chunk& chunk) {
        return QStringLiteral("a %1 chunk the history does not write there").arg(typeName(chunk.type));
    };
    enum { BeforePixels, InPixels, AfterPixels } part = BeforePixels;
    bool hasResolution = false;
    for (std::size_t k = 0; k < chunks.size(); ++k) {
        const Chunk& chunk = chunks[k];
        const bool isFine = (k == 0) == (chunk.type == "IHDR")
            && (chunk.type == "IHDR"
                || (chunk.type == "pHYs" && part == BeforePixels && !hasResolution && chunk.size == 9
                    && uchar(chunk.data[8]) <= 1)
                || chunk.type == "zTXt" || (chunk.type == "IDAT" && part != AfterPixels)
                || (chunk.type == "IEND" && chunk.size == 0 && part != BeforePixels));
        if (!isFine)
            return wrong(chunk);
        hasResolution = hasResolution || chunk.type == "pHYs";
        if (chunk.type == "IDAT")
            part = InPixels;
        else if (part == InPixels)
            part = AfterPixels;
    }
    return {};
}

// Inflates the pieces as one zlib stream; each piece of output goes to `take`, which
// answers false to give up. True when the stream ends whole, nothing after it.
template <typename Take> bool inflatesWhole(const std::vector<Chunk>& pieces, Take take)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    std::array<Bytef, 16384> out{};
    int status = Z_OK;
    bool isGivenUp = false;
    std::size_t k = 0;
    for (; k < pieces.size() && status == Z_OK && !isGivenUp; ++k) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(pieces[k].data));
        stream.avail_in = pieces[k].size;
        do {
            stream.next_out = out.data();
            stream.avail_out = out.size();
            status = inflate(&stream, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
                break;
            isGivenUp = !take(out.data(), out.size() - stream.avail_out);
        } while (!isGivenUp && status == Z_OK && stream.avail_out == 0);
        if (status == Z_BUF_ERROR)
            status = Z_OK;
    }
    // Ended in the last piece, nothing after it.
    const bool isWhole = !isGivenUp && status == Z_STREAM_END && stream.avail_in == 0 && k == pieces.size();
    inflateEnd(&stream);
    return isWhole;
}

// The compressed pixels: an 8-bit RGB or RGBA picture, not interlaced, whose rows inflate
// to exactly their size, each with a filter the format knows.
QString pixelDamage(const std::vector<Chunk>& chunks)
{
    const Chunk& header = chunks.front();
    if (header.type != "IHDR" || header.size != 13)
        return QStringLiteral("its header is not where it belongs");
    const quint32 width = bigEndian(header.data);
    const quint32 height = bigEndian(header.data + 4);
    const int depth = header.data[8];
    const int colourType = header.data[9];
    if (depth != 8 || (colourType != 2 && colourType != 6) || header.data[12] != 0
        || width == 0 || height == 0 || width > kMostSidePx || height > kMostSidePx)
        return QStringLiteral("not a picture kept by the history (its pixel format)");
    const quint64 rowBytes = 1 + quint64{width} * (colourType == 2 ? 3 : 4);
    const quint64 total = rowBytes * height;
    std::vector<Chunk> pixels;
    for (const Chunk& chunk : chunks)
        if (chunk.type == "IDAT")
            pixels.push_back(chunk);
    quint64 seen = 0;
    const bool isWhole = inflatesWhole(pixels, [&](const Bytef* bytes, std::size_t n) {
        for (std::size_t k = 0; k < n; ++k, ++seen)
            if (seen >= total || (seen % rowBytes == 0 && bytes[k] > 4))
                return false;
        return true;
    });
    return isWhole && seen == total ? QString() : QStringLiteral("its pixels are damaged or cut short");
}

// Every compressed text inflates whole, and to no more than any kept text holds.
QString textDamage(const std::vector<Chunk>& chunks)
{
    for (const Chunk& chunk : chunks) {
        if (chunk.type != "zTXt")
            continue;
        const void* end = std::memchr(chunk.data, 0, chunk.size);
        const auto keyBytes = end ? static_cast<const char*>(end) - chunk.data : chunk.size;
        if (!end || keyBytes < 1 || keyBytes > 79 || keyBytes + 2 > chunk.size || chunk.data[keyBytes + 1] != 0)
            return QStringLiteral("a text chunk is damaged");
        const Chunk text{chunk.type, chunk.data + keyBytes + 2,
                         static_cast<quint32>(chunk.size - keyBytes - 2)};
        uLong inflated = 0;
        if (!inflatesWhole({text}, [&](const Bytef*, std::size_t n) { return (inflated += n) <= kMostTextBytes; }))
            return QStringLiteral("a text chunk is damaged");
    }
    return {};
}

} // namespace

QString keptPngDamage(const QByteArray& png)
{
    std::vector<Chunk> chunks;
    if (QString damage = walkChunks(png, chunks); !damage.isEmpty())
        return damage;
    if (QString damage = orderDamage(chunks); !damage.isEmpty())
        return damage;
    if (QString damage = pixelDamage(chunks); !damage.isEmpty())
        return damage;
    return textDamage(chunks);
}

} // namespace mandalix
