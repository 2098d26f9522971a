#include "variations/morph_frames.h"

#include "base/work_pool.h"
#include "generator/frame_engine.h"
#include "generator/pixel_pipeline.h"
#include "palette/strip_colours.h"
#include "variations/morph.h"

#include <zstd.h>

#include <algorithm>
#include <cstring>

namespace mandalix {

namespace {

// Zstandard's level 1: a 1080p frame of rings packs to about a fifth in a few
// milliseconds, and unpacks in one or two; zlib's quickest level took 25 and 8.
constexpr int kPackLevel = 1;

// The angular terms come first: kept, they spare more of a frame's painting than a kept
// frame takes of the budget spares. Either picture's formula set may need the larger.
qsizetype anglesBudget(const PictureRecord& a, const PictureRecord& b, QSize size, qsizetype budget)
{
    const qsizetype pixels = qsizetype(size.width()) * size.height();
    const auto bytes = [&](const PictureRecord& record) {
        return FrameAngles::bytesFor(pixels, formulaRow(record.picture.tip, 4) == 4);
    };
    const qsizetype needed = std::max(bytes(a), bytes(b));
    return needed <= budget ? needed : 0;
}

// The bytes of an indexed image's rows, without the padding at their ends; a copy only
// when the rows have padding.
QByteArray rowBytes(const QImage& image)
{
    const qsizetype width = image.width();
    if (image.bytesPerLine() == width)
        return QByteArray::fromRawData(reinterpret_cast<const char*>(image.constBits()), width * image.height());
    QByteArray rows(width * image.height(), Qt::Uninitialized);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(rows.data() + width * y, image.constScanLine(y), static_cast<std::size_t>(width));
    return rows;
}

} // namespace

MorphFrames::MorphFrames(const PictureRecord& a, const PictureRecord& b, long long frames, QSize size,
                         qsizetype keptBytes)
    : m_a(a), m_b(b), m_frames(frames), m_size(size), m_angles(anglesBudget(a, b, size, keptBytes)),
      m_budget(keptBytes - m_angles.maxBytes())
{
    Q_ASSERT(frames >= 2 && frames % 2 == 0 && !size.isEmpty());
}

QImage MorphFrames::frame(long long k, const std::atomic<bool>* cancel)
{
    Q_ASSERT(k >= 0 && k < m_frames);
    const PictureRecord record = morphedRecord(m_a, m_b, morphWeight(k, m_frames));
    if (const auto kept = m_kept.find(m_frames - k); kept != m_kept.end() && k > m_frames / 2) {
        // Each kept frame is shown once on the way back: its bytes go as it is taken.
        QByteArray packed = std::move(kept->second);
        m_keptBytes -= packed.size();
        m_kept.erase(kept);
        return recall(std::move(packed), record);
    }
    QImage image = paint(record, cancel);
    if (!image.isNull() && k > 0 && k < m_frames / 2)
        keep(k, image);
    return image;
}

QImage MorphFrames::paint(const PictureRecord& record, const std::atomic<bool>* cancel)
{
    ++m_painted;
    return FrameEngine(frameStateOf(record), frameColourTable(record)).paint(m_size, processorCount(), {}, cancel, &m_angles);
}

void MorphFrames::ZstdFree::operator()(ZSTD_CCtx_s* context) const { ZSTD_freeCCtx(context); }
void MorphFrames::ZstdFree::operator()(ZSTD_DCtx_s* context) const { ZSTD_freeDCtx(context); }

// Keeps frames until the first that does not fit: each frame of the way back is needed
// once, so which ones are kept does not matter, and none is packed only to be dropped.
void MorphFrames::keep(long long k, const QImage& image)
{
    if (m_isFull || m_kept.contains(k))
        return;
    const QByteArray rows = rowBytes(image);
    if (!m_packer)
        m_packer.reset(ZSTD_createCCtx());
    if (!m_packer) {
        m_isFull = true;
        return;
    }
    m_scratch.resize(qsizetype(ZSTD_compressBound(std::size_t(rows.size()))));
    const std::size_t packed = ZSTD_compressCCtx(m_packer.get(), m_scratch.data(), std::size_t(m_scratch.size()),
                                                 rows.constData(), std::size_t(rows.size()), kPackLevel);
    if (ZSTD_isError(packed) || m_keptBytes + qsizetype(packed) > m_budget) {
        m_isFull = true;
        return;
    }
    m_keptBytes += qsizetype(packed);
    m_kept.emplace(k, QByteArray(m_scratch.constData(), qsizetype(packed)));
}

QImage MorphFrames::recall(QByteArray packed, const PictureRecord& record)
{
    if (!m_unpacker)
        m_unpacker.reset(ZSTD_createDCtx());
    QImage image(m_size, QImage::Format_Indexed8);
    if (image.isNull() || !m_unpacker)
        return {};
    const qsizetype width = m_size.width();
    const bool isUnpadded = image.bytesPerLine() == width;
    QByteArray rows = isUnpadded ? QByteArray() : QByteArray(width * m_size.height(), Qt::Uninitialized);
    char* into = isUnpadded ? reinterpret_cast<char*>(image.bits()) : rows.data();
    const std::size_t size = std::size_t(width) * std::size_t(m_size.height());
    const std::size_t unpacked = ZSTD_decompressDCtx(m_unpacker.get(), into, size, packed.constData(), std::size_t(packed.size()));
    packed.clear();
    if (ZSTD_isError(unpacked) || unpacked != size)
        return {};
    for (int y = 0; !isUnpadded && y < image.height(); ++y)
        std::memcpy(image.scanLine(y), rows.constData() + width * y, static_cast<std::size_t>(width));
    image.setColorTable(frameColourTable(record));
    return image;
}

} // namespace mandalix
