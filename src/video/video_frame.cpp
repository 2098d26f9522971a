#include "video/video_frame.h"

#include "video/palette_yuv.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <algorithm>
#include <array>

namespace mandalix {

namespace {

// The alignment of the planes' rows, as FFmpeg's own frame buffers have them.
constexpr int kFrameAlign = 32;

Result<AvFramePtr> outOfMemory() { return Result<AvFramePtr>::failure(ffmpegText(AVERROR(ENOMEM))); }

} // namespace

Result<> VideoFrameConverter::open(QSize size, AVPixelFormat pixelFormat)
{
    m_size = size;
    m_target = pixelFormat;
    const int bytes = av_image_get_buffer_size(pixelFormat, size.width(), size.height(), kFrameAlign);
    if (bytes < 0)
        return Result<>::failure(ffmpegText(bytes));
    m_pool.reset(av_buffer_pool_init(static_cast<std::size_t>(bytes), nullptr));
    if (!m_pool)
        return Result<>::failure(ffmpegText(AVERROR(ENOMEM)));
    return Result<>::success();
}

bool VideoFrameConverter::setSource(AVPixelFormat source)
{
    SwsContext* before = m_scaler.release();
    // Bilinear averages each 2x2 block's colour into 4:2:0; packed RGB is copied exactly.
    const int flags = m_target == AV_PIX_FMT_YUV420P ? SWS_BILINEAR : SWS_POINT;
    m_scaler.reset(sws_getCachedContext(before, m_size.width(), m_size.height(), source, m_size.width(),
                                        m_size.height(), m_target, flags, nullptr, nullptr, nullptr));
    if (!m_scaler)
        return false;
    if (m_scaler.get() != before && m_target == AV_PIX_FMT_YUV420P) {
        // Full-range RGB in, BT.709 studio-range YUV out, as the encoders tag it.
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(m_scaler.get(), bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
    return true;
}

Result<AvFramePtr> VideoFrameConverter::convert(const QImage& image, long long pts)
{
    Q_ASSERT(image.size() == m_size);
    AvFramePtr frame(av_frame_alloc());
    if (!frame)
        return outOfMemory();
    frame->width = m_size.width();
    frame->height = m_size.height();
    frame->format = m_target;
    frame->buf[0] = av_buffer_pool_get(m_pool.get());
    if (!frame->buf[0])
        return outOfMemory();
    if (const int error = av_image_fill_arrays(frame->data, frame->linesize, frame->buf[0]->data, m_target,
                                               m_size.width(), m_size.height(), kFrameAlign);
        error < 0)
        return Result<AvFramePtr>::failure(ffmpegText(error));
    frame->pts = pts;
    const bool isIndexed = image.format() == QImage::Format_Indexed8;
    // Palette indices into YUV by look-up: FFmpeg would take the palette with BT.601
    // whatever it is told.
    if (isIndexed && m_target == AV_PIX_FMT_YUV420P) {
        indexedToYuv420(image, *frame);
        return Result<AvFramePtr>::success(std::move(frame));
    }
    const QImage source = isIndexed || image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    // QImage's colours and FFmpeg's palettes are both native-endian 0xAARRGGBB words.
    std::array<uint32_t, 256> palette{};
    const QList<QRgb> table = image.colorTable();
    std::copy_n(table.begin(), std::min<qsizetype>(table.size(), 256), palette.begin());
    if (source.isNull() || !setSource(isIndexed ? AV_PIX_FMT_PAL8 : AV_PIX_FMT_RGB32))
        return outOfMemory();
    const uint8_t* planes[] = {source.constBits(), reinterpret_cast<const uint8_t*>(palette.data())};
    const int strides[] = {static_cast<int>(source.bytesPerLine()), 0};
    sws_scale(m_scaler.get(), planes, strides, 0, m_size.height(), frame->data, frame->linesize);
    return Result<AvFramePtr>::success(std::move(frame));
}

} // namespace mandalix
