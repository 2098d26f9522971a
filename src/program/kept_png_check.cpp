#include "program/kept_png_check.h"

#include "output/params_file.h"
#include "output/png_chunks.h"
#include "program/history_folder.h"

#include <QBuffer>

#include <algorithm>
#include <array>
#include <vector>

#include <zlib.h>

namespace mandalix {

namespace {

// A kept picture is far smaller; a larger one is not inflated to find out.
constexpr quint32 kMostSidePx = 4096;
// No text of a kept picture comes near a parameters file's limit once inflated.
constexpr uLong kMostTextBytes = kParamsFileMaxBytes;

// A chunk's type as text: letters as they are, anything else in hex.
QString typeName(const QByteArray& type)
{
    return isPngChunkType(type) ? QString::fromLatin1(type) : QString::fromLatin1(type.toHex());
}

// The walk's fault as the history words it.
QString walkDamage(PngWalkFault fault)
{
    switch (fault) {
    case PngWalkFault::EndsEarly:
        return QStringLiteral("the file ends before its last chunk");
    case PngWalkFault::TooManyChunks:
        return QStringLiteral("more than %1 chunks").arg(kPngMaxChunksWalked);
    default:
        // A kept file is smaller than the texts a walk reads, so more texts than that
        // are a length that runs past its end.
        static_assert(kKeptFileMaxBytes <= kPngMaxTextBytesWalked);
        return QStringLiteral("a chunk runs past the end of the file");
    }
}

// Splits the file into its chunks, checking each one's bounds and checksum.
QString walkChunks(const QByteArray& png, std::vector<PngChunk>& chunks)
{
    QBuffer device;
    device.setData(png);
    device.open(QIODevice::ReadOnly);
    device.seek(kPngSignatureBytes);
    PngChunkWalk walk(device);
    for (PngChunk chunk;;) {
        if (!walk.next(chunk) || !walk.readData(chunk))
            return walkDamage(walk.fault());
        if (!chunk.isCrcRight)
            return QStringLiteral("the checksum of a %1 chunk is wrong").arg(typeName(chunk.type));
        chunks.push_back(chunk);
        if (chunk.type == "IEND")
            return {};
    }
}

// The chunks the history writes, in the order it writes them: the header, the
// resolution, texts, the pixels in a row, texts, the end. Nothing else, so the image
// library finds nothing to warn of.
QString orderDamage(const std::vector<PngChunk>& chunks)
{
    const auto wrong = [](const PngChunk& chunk) {
        return QStringLiteral("a %1 chunk the history does not write there").arg(typeName(chunk.type));
    };
    enum { BeforePixels, InPixels, AfterPixels } part = BeforePixels;
    bool hasResolution = false;
    for (std::size_t k = 0; k < chunks.size(); ++k) {
        const PngChunk& chunk = chunks[k];
        const bool isFine = (k == 0) == (chunk.type == "IHDR")
            && (chunk.type == "IHDR"
                || (chunk.type == "pHYs" && part == BeforePixels && !hasResolution && chunk.length == 9
                    && uchar(chunk.data[8]) <= 1)
                || chunk.type == "zTXt" || (chunk.type == "IDAT" && part != AfterPixels)
                || (chunk.type == "IEND" && chunk.length == 0 && part != BeforePixels));
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
template <typename Take> bool inflatesWhole(const std::vector<QByteArrayView>& pieces, Take take)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    std::array<Bytef, kInflateBufferBytes> out{};
    int status = Z_OK;
    bool isGivenUp = false;
    std::size_t k = 0;
    for (; k < pieces.size() && status == Z_OK && !isGivenUp; ++k) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(pieces[k].data()));
        stream.avail_in = static_cast<uInt>(pieces[k].size());
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
QString pixelDamage(const std::vector<PngChunk>& chunks)
{
    const PngChunk& header = chunks.front();
    if (header.type != "IHDR" || header.length != 13)
        return QStringLiteral("its header is not where it belongs");
    const quint32 width = pngNumber(header.data.constData());
    const quint32 height = pngNumber(header.data.constData() + 4);
    const int depth = header.data[8];
    const int colourType = header.data[9];
    if (depth != 8 || (colourType != 2 && colourType != 6) || header.data[12] != 0
        || width == 0 || height == 0 || width > kMostSidePx || height > kMostSidePx)
        return QStringLiteral("not a picture kept by the history (its pixel format)");
    const quint64 rowBytes = 1 + quint64{width} * (colourType == 2 ? 3 : 4);
    const quint64 total = rowBytes * height;
    std::vector<QByteArrayView> pixels;
    for (const PngChunk& chunk : chunks)
        if (chunk.type == "IDAT")
            pixels.push_back(chunk.data);
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
QString textDamage(const std::vector<PngChunk>& chunks)
{
    for (const PngChunk& chunk : chunks) {
        if (chunk.type != "zTXt")
            continue;
        const qsizetype keyBytes = chunk.data.indexOf('\0');
        if (keyBytes < 1 || keyBytes > 79 || keyBytes + 2 > chunk.data.size() || chunk.data[keyBytes + 1] != 0)
            return QStringLiteral("a text chunk is damaged");
        const QByteArrayView text = QByteArrayView(chunk.data).sliced(keyBytes + 2);
        uLong inflated = 0;
        if (!inflatesWhole({text}, [&](const Bytef*, std::size_t n) { return (inflated += n) <= kMostTextBytes; }))
            return QStringLiteral("a text chunk is damaged");
    }
    return {};
}

} // namespace

Result<> checkKeptPng(const QByteArray& png)
{
    std::vector<PngChunk> chunks;
    QString damage = walkChunks(png, chunks);
    if (damage.isEmpty())
        damage = orderDamage(chunks);
    if (damage.isEmpty())
        damage = pixelDamage(chunks);
    if (damage.isEmpty())
        damage = textDamage(chunks);
    return damage.isEmpty() ? Result<>::success() : Result<>::failure(damage);
}

} // namespace mandalix
