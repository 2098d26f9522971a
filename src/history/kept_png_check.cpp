#include "history/kept_png_check.h"

#include "output/params_file.h"
#include "output/png_chunks.h"
#include "output/png_inflate.h"
#include "history/history_folder.h"

#include <QBuffer>

#include <vector>

namespace mandalix {

namespace {

// A kept picture is far smaller; a larger one is not inflated to find out.
constexpr quint32 kMostSidePx = 4096;
// No text of a kept picture comes near a parameters file's limit once inflated.
constexpr qint64 kMostTextBytes = kParamsFileMaxBytes;

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
    const bool isWhole = inflatePieces(pixels, [&](const unsigned char* bytes, std::size_t n) {
        for (std::size_t k = 0; k < n; ++k, ++seen)
            if (seen >= total || (seen % rowBytes == 0 && bytes[k] > 4))
                return false;
        return true;
    }) == Inflated::Whole;
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
        qint64 inflated = 0;
        const auto take = [&](const unsigned char*, std::size_t n) { return (inflated += n) <= kMostTextBytes; };
        if (inflatePieces({text}, take) != Inflated::Whole)
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
