#include "output/indexed_png.h"

#include "base/work_pool.h"
#include "output/png_chunks.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace mandalix {

namespace {

// Fast deflate: the picture's rows repeat their neighbours, which the fastest level finds.
constexpr int kDeflateLevel = 1;
// Bands deflated per thread before the batch is written.
constexpr int kBandsAheadPerThread = 4;

using Bytes = std::vector<unsigned char>;

void putUint32(Bytes& to, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        to.push_back(static_cast<unsigned char>(v >> shift));
}

struct Band {
    Bytes deflated;
    uLong adler = 1;
    uLong rawBytes = 0;
};

// Deflates all of z's input into `out`, growing it when full; with Z_FINISH to the
// stream's end, with Z_SYNC_FLUSH to a byte boundary.
void deflateInto(z_stream& z, Bytes& out, std::size_t& used, int flush)
{
    for (;;) {
        if (used == out.size())
            out.resize(out.size() + out.size() / 2 + 4096);
        z.next_out = out.data() + used;
        z.avail_out = static_cast<uInt>(out.size() - used);
        const int status = deflate(&z, flush);
        used = out.size() - z.avail_out;
        const bool isDone = flush == Z_FINISH ? status == Z_STREAM_END : z.avail_in == 0 && z.avail_out != 0;
        if (isDone || status == Z_STREAM_ERROR)
            return;
    }
}

// The bytes of one row of `rows`.
uInt rowBytes(const PngRows& rows)
{
    return static_cast<uInt>(rows.size.width()) * (rows.palette.isEmpty() ? 3U : 1U);
}

// One band of rows, each behind its filter byte 0 (none), as raw deflate ending on a byte
// boundary; the last band ends the stream.
Band deflateBand(const PngRows& rows, int first, int last, bool isLast)
{
    Band band;
    z_stream z{};
    deflateInit2(&z, kDeflateLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    const uInt width = rowBytes(rows);
    band.rawBytes = (width + 1) * static_cast<uLong>(last - first);
    band.deflated.resize(band.rawBytes / 8 + 4096);
    std::size_t used = 0;
    static const unsigned char kFilterNone = 0;
    Bytes made(width);
    for (int row = first; row < last; ++row) {
        const unsigned char* pixels = rows.row(row, made.data());
        band.adler = adler32(band.adler, &kFilterNone, 1);
        band.adler = adler32(band.adler, pixels, width);
        z.next_in = const_cast<unsigned char*>(&kFilterNone);
        z.avail_in = 1;
        deflateInto(z, band.deflated, used, Z_NO_FLUSH);
        z.next_in = const_cast<unsigned char*>(pixels);
        z.avail_in = width;
        deflateInto(z, band.deflated, used, row + 1 < last ? Z_NO_FLUSH : isLast ? Z_FINISH : Z_SYNC_FLUSH);
    }
    band.deflated.resize(used);
    deflateEnd(&z);
    return band;
}

Bytes compressed(const QByteArray& text)
{
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    Bytes out(size);
    compress2(out.data(), &size, reinterpret_cast<const Bytef*>(text.constData()), static_cast<uLong>(text.size()),
              Z_BEST_COMPRESSION);
    out.resize(size);
    return out;
}

// The text as Qt's writer stores it: Latin-1 in a compressed text chunk, anything else
// as compressed international text in UTF-8.
QByteArray textChunk(const QString& key, const QString& text)
{
    Bytes data;
    const QByteArray keyword = key.toLatin1();
    data.insert(data.end(), keyword.begin(), keyword.end());
    data.push_back(0);
    const bool isLatin1 = QString::fromLatin1(text.toLatin1()) == text;
    if (isLatin1) {
        data.push_back(0); // deflate
        const Bytes body = compressed(text.toLatin1());
        data.insert(data.end(), body.begin(), body.end());
        return pngChunk("zTXt", data);
    }
    const unsigned char flags[] = {1, 0, 0, 0}; // compressed, deflate, no language, no translated key
    data.insert(data.end(), std::begin(flags), std::end(flags));
    const Bytes body = compressed(text.toUtf8());
    data.insert(data.end(), body.begin(), body.end());
    return pngChunk("iTXt", data);
}

Bytes header(const PngRows& rows, int dotsPerMeter, const QString& textKey, const QString& text)
{
    Bytes out(kPngSignature, kPngSignature + kPngSignatureBytes);
    const auto append = [&](const QByteArray& more) { out.insert(out.end(), more.begin(), more.end()); };
    Bytes ihdr;
    putUint32(ihdr, static_cast<std::uint32_t>(rows.size.width()));
    putUint32(ihdr, static_cast<std::uint32_t>(rows.size.height()));
    // 8 bits, palette or RGB, deflate, no filter choice, no interlace
    const unsigned char colourType = rows.palette.isEmpty() ? 2 : 3;
    ihdr.insert(ihdr.end(), {8, colourType, 0, 0, 0});
    append(pngChunk("IHDR", ihdr));
    if (!rows.palette.isEmpty()) {
        Bytes plte;
        for (QRgb colour : rows.palette)
            plte.insert(plte.end(), {static_cast<unsigned char>(qRed(colour)), static_cast<unsigned char>(qGreen(colour)),
                                     static_cast<unsigned char>(qBlue(colour))});
        append(pngChunk("PLTE", plte));
    }
    Bytes phys;
    putUint32(phys, static_cast<std::uint32_t>(dotsPerMeter));
    putUint32(phys, static_cast<std::uint32_t>(dotsPerMeter));
    phys.push_back(1); // per metre
    append(pngChunk("pHYs", phys));
    if (!textKey.isEmpty())
        append(textChunk(textKey, text));
    return out;
}

bool put(QIODevice& device, const Bytes& bytes)
{
    return device.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()))
        == static_cast<qint64>(bytes.size());
}

bool put(QIODevice& device, const QByteArray& bytes)
{
    return device.write(bytes) == bytes.size();
}

} // namespace

PngRows indexedRows(const QImage& image)
{
    Q_ASSERT(image.format() == QImage::Format_Indexed8);
    return {image.size(), image.colorTable(),
            [&image](int row, unsigned char*) { return image.constScanLine(row); }};
}

Result<> writeIndexedPng(QIODevice& device, const QImage& image, int dotsPerMeter, const QString& textKey,
                         const QString& text, int threads)
{
    return writePngRows(device, indexedRows(image), dotsPerMeter, textKey, text, threads);
}

Result<> writePngRows(QIODevice& device, const PngRows& rows, int dotsPerMeter, const QString& textKey,
                      const QString& text, int threads)
{
    Q_ASSERT(rows.size.height() >= 1 && threads >= 1 && rows.palette.size() <= 256);
    const auto failed = Result<>::failure(QStringLiteral("the file could not be written in full; the disk may be full"));
    if (!put(device, header(rows, dotsPerMeter, textKey, text)))
        return failed;
    const int height = rows.size.height();
    const int bands = (height + kPngBandRows - 1) / kPngBandRows;
    // A batch of bands deflated on the shared pool, then written in order: only a few
    // compressed bands are held beside the image.
    const int batch = std::max(1, threads) * kBandsAheadPerThread;
    std::vector<Band> done(static_cast<std::size_t>(std::min(batch, bands)));
    uLong adler = 1;
    for (int first = 0; first < bands; first += batch) {
        const int count = std::min(batch, bands - first);
        sharedPool().parallelFor(count, threads, [&](long long index, int) {
            const int k = first + static_cast<int>(index);
            const int row = k * kPngBandRows;
            done[static_cast<std::size_t>(index)] =
                deflateBand(rows, row, std::min(row + kPngBandRows, height), k + 1 == bands);
        });
        for (int index = 0; index < count; ++index) {
            Band& band = done[static_cast<std::size_t>(index)];
            adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.rawBytes));
            if (first + index == 0)
                band.deflated.insert(band.deflated.begin(), {0x78, 0x01}); // zlib header: deflate, 32 KB window, fastest
            if (!put(device, pngChunk("IDAT", band.deflated)))
                return failed;
        }
    }
    Bytes trailer;
    putUint32(trailer, static_cast<std::uint32_t>(adler));
    if (!put(device, pngChunk("IDAT", trailer)) || !put(device, pngChunk("IEND", {})))
        return failed;
    return Result<>::success();
}

} // namespace mandalix
