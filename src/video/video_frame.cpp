#include "video/video_frame.h"

namespace mandalix {

namespace {

Result<> outOfMemory() { return Result<>::failure(ffmpegText(AVERROR(ENOMEM))); }

} // namespace

Result<> VideoFrameConverter::open(QSize size, AVPixelFormat pixelFormat)
{
    m_size = size;
    m_frame.reset(av_frame_alloc());
    if (!m_frame)
        return outOfMemory();
    m_frame->width = size.width();
    m_frame->height = size.height();
    m_frame->format = pixelFormat;
    // QImage's 32-bit RGB is a native-endian 0xAARRGGBB word, FFmpeg's AV_PIX_FMT_RGB32.
    m_scaler.reset(sws_getContext(size.width(), size.height(), AV_PIX_FMT_RGB32, size.width(), size.height(),
                                  pixelFormat, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!m_scaler)
        return outOfMemory();
    if (pixelFormat == AV_PIX_FMT_YUV420P) {
        // Full-range RGB in, BT.709 studio-range YUV out, as the encoders tag it.
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(m_scaler.get(), bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
    return Result<>::success();
}

Result<AVFrame*> VideoFrameConverter::convert(const QImage& image, long long pts)
{
    Q_ASSERT(image.size() == m_size);
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return Result<AVFrame*>::failure(ffmpegText(AVERROR(ENOMEM)));
    // A buffer the encoder still holds a reference to is not written over.
    if (const int error = m_frame->buf[0] ? av_frame_make_writable(m_frame.get()) : av_frame_get_buffer(m_frame.get(), 0);
        error < 0)
        return Result<AVFrame*>::failure(ffmpegText(error));
    const uint8_t* source[] = {rgb.constBits()};
    const int sourceStride[] = {static_cast<int>(rgb.bytesPerLine())};
    sws_scale(m_scaler.get(), source, sourceStride, 0, m_size.height(), m_frame->data, m_frame->linesize);
    m_frame->pts = pts;
    return Result<AVFrame*>::success(m_frame.get());
}

} // namespace mandalix
