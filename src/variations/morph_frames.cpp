#include "variations/morph_frames.h"

#include "base/work_pool.h"
#include "generator/frame_engine.h"
#include "palette/strip_colours.h"
#include "variations/morph.h"

#include <zstd.h>

#include <cstdlib>
#include <cstring>

namespace mandalix {

namespace {

// zlib's quickest level: the rings of a picture still deflate to about a quarter, in a
// tenth of the time painting the frame takes.
constexpr int kDeflateLevel = 1;

} // namespace

MorphFrames::MorphFrames(const PictureRecord& a, const PictureRecord& b, long long frames, QSize size,
                         qsizetype keptBytes)
    : m_a(a), m_b(b), m_frames(frames), m_size(size), m_budget(keptBytes)
{
    Q_ASSERT(frames >= 2 && frames % 2 == 0 && !size.isEmpty());
}

QImage MorphFrames::frame(long long k, const std::atomic<bool>* cancel)
{
    Q_ASSERT(k >= 0 && k < m_frames);
    const PictureRecord record = morphedRecord(m_a, m_b, morphWeight(k, m_frames));
    if (const auto kept = m_kept.find(m_frames - k); kept != m_kept.end() && k > m_frames / 2) {
        // Each kept frame is shown once on the way back: its bytes go as it is taken.
        QByteArray deflated = std::move(kept->second);
        m_keptBytes -= deflated.size();
        m_kept.erase(kept);
        return recall(std::move(deflated), record);
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

// Keeps frames until the first that does not fit: each frame of the way back is needed
// once, so which ones are kept does not matter, and none is deflated only to be dropped.
void MorphFrames::keep(long long k, const QImage& image)
{
    if (m_isFull || m_kept.contains(k))
        return;
    const qsizetype width = image.width();
    QByteArray rows(width * image.height(), Qt::Uninitialized);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(rows.data() + width * y, image.constScanLine(y), static_cast<std::size_t>(width));
    QByteArray deflated(qsizetype(ZSTD_compressBound(std::size_t(rows.size()))), Qt::Uninitialized);
    const std::size_t packed = ZSTD_compress(deflated.data(), std::size_t(deflated.size()), rows.constData(), std::size_t(rows.size()), getenv("MXZ") ? atoi(getenv("MXZ")) : 1);
    if (ZSTD_isError(packed)) deflated.clear(); else { deflated.resize(qsizetype(packed)); deflated.squeeze(); }
    if (deflated.isEmpty() || m_keptBytes + deflated.size() > m_budget) {
        m_isFull = true;
        return;
    }
    m_keptBytes += deflated.size();
    m_kept.emplace(k, std::move(deflated));
}

QImage MorphFrames::recall(QByteArray deflated, const PictureRecord& record) const
{
    QByteArray rows(qsizetype(m_size.width()) * m_size.height(), Qt::Uninitialized);
    const std::size_t got = ZSTD_decompress(rows.data(), std::size_t(rows.size()), deflated.constData(), std::size_t(deflated.size()));
    if (ZSTD_isError(got) || got != std::size_t(rows.size())) rows.clear();
    deflated.clear();
    QImage image(m_size, QImage::Format_Indexed8);
    if (image.isNull() || rows.size() != qsizetype(m_size.width()) * m_size.height())
        return {};
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), rows.constData() + qsizetype(m_size.width()) * y,
                    static_cast<std::size_t>(m_size.width()));
    image.setColorTable(frameColourTable(record));
    return image;
}

} // namespace mandalix
