#include "video/video_reader.h"

#include "video/ffmpeg_handles.h"

#include <QFile>

#include <functional>

namespace mandalix {

namespace {

struct InputFree {
    void operator()(AVFormatContext* input) const { avformat_close_input(&input); }
};

// A video file opened at its first video stream, with that stream's decoder.
class VideoInput {
public:
    // Answers FFmpeg's reason when the file cannot be opened or holds no video.
    QString open(const QString& path);
    // Decodes frames in order and hands each to `take` until it answers false or the
    // frames end. Answers FFmpeg's reason when the decoding failed.
    QString decode(const std::function<bool(const AVFrame&)>& take);

    AVFormatContext* format() const { return m_input.get(); }
    AVStream* stream() const { return m_input->streams[m_stream]; }

private:
    std::unique_ptr<AVFormatContext, InputFree> m_input;
    AvCodecContextPtr m_decoder;
    int m_stream = -1;
};

QString VideoInput::open(const QString& path)
{
    quietFfmpegLog();
    AVFormatContext* input = nullptr;
    if (const int error = avformat_open_input(&input, QFile::encodeName(path).constData(), nullptr, nullptr); error < 0)
        return ffmpegText(error);
    m_input.reset(input);
    if (const int error = avformat_find_stream_info(input, nullptr); error < 0)
        return ffmpegText(error);
    const AVCodec* codec = nullptr;
    m_stream = av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (m_stream < 0)
        return ffmpegText(m_stream);
    m_decoder.reset(avcodec_alloc_context3(codec));
    if (!m_decoder)
        return ffmpegText(AVERROR(ENOMEM));
    if (const int error = avcodec_parameters_to_context(m_decoder.get(), stream()->codecpar); error < 0)
        return ffmpegText(error);
    if (const int error = avcodec_open2(m_decoder.get(), codec, nullptr); error < 0)
        return ffmpegText(error);
    return {};
}

QString VideoInput::decode(const std::function<bool(const AVFrame&)>& take)
{
    const AvPacketPtr packet(av_packet_alloc());
    const AvFramePtr frame(av_frame_alloc());
    if (!packet || !frame)
        return ffmpegText(AVERROR(ENOMEM));
    bool isDraining = false;
    for (;;) {
        const int received = avcodec_receive_frame(m_decoder.get(), frame.get());
        if (received == 0) {
            if (!take(*frame))
                return {};
            continue;
        }
        if (received == AVERROR_EOF)
            return {};
        if (received != AVERROR(EAGAIN))
            return ffmpegText(received);
        // The decoder wants more: the next packet of the stream, or the end.
        int error = 0;
        while (!isDraining && (error = av_read_frame(m_input.get(), packet.get())) == 0
               && packet->stream_index != m_stream)
            av_packet_unref(packet.get());
        if (!isDraining && error == AVERROR_EOF)
            isDraining = true;
        else if (error < 0)
            return ffmpegText(error);
        error = avcodec_send_packet(m_decoder.get(), isDraining ? nullptr : packet.get());
        av_packet_unref(packet.get());
        if (error < 0 && error != AVERROR_EOF)
            return ffmpegText(error);
    }
}

QString failureOf(const QString& path, const QString& reason)
{
    return QStringLiteral("Could not read \"%1\": %2").arg(path, reason);
}

// The frame as a 32-bit RGB image of its own.
QImage imageOf(const AVFrame& frame)
{
    QImage image(frame.width, frame.height, QImage::Format_RGB32);
    const SwsContextPtr scaler(sws_getContext(frame.width, frame.height, static_cast<AVPixelFormat>(frame.format),
                                              frame.width, frame.height, AV_PIX_FMT_RGB32, SWS_BICUBIC, nullptr,
                                              nullptr, nullptr));
    if (image.isNull() || !scaler)
        return {};
    // YUV in the colours and range it is tagged with; RGB is full range.
    const int* yuv = sws_getCoefficients(frame.colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT);
    sws_setColorspaceDetails(scaler.get(), yuv, frame.color_range == AVCOL_RANGE_JPEG ? 1 : 0, yuv, 1, 0, 1 << 16,
                             1 << 16);
    uint8_t* target[] = {image.bits()};
    const int targetStride[] = {static_cast<int>(image.bytesPerLine())};
    sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, target, targetStride);
    return image;
}

} // namespace

Result<VideoInfo> readVideoInfo(const QString& path)
{
    VideoInput input;
    if (const QString reason = input.open(path); !reason.isEmpty())
        return Result<VideoInfo>::failure(failureOf(path, reason));
    VideoInfo info;
    info.size = QSize(input.stream()->codecpar->width, input.stream()->codecpar->height);
    const AVRational rate = av_guess_frame_rate(input.format(), input.stream(), nullptr);
    info.framesPerSecond = rate.den > 0 ? av_q2d(rate) : 0.0;
    const QString reason = input.decode([&](const AVFrame&) {
        ++info.frameCount;
        return true;
    });
    if (!reason.isEmpty())
        return Result<VideoInfo>::failure(failureOf(path, reason));
    return Result<VideoInfo>::success(info);
}

Result<std::vector<QImage>> decodeFrames(const QString& path, int maxFrames)
{
    using Frames = Result<std::vector<QImage>>;
    VideoInput input;
    if (const QString reason = input.open(path); !reason.isEmpty())
        return Frames::failure(failureOf(path, reason));
    std::vector<QImage> frames;
    bool isOutOfMemory = false;
    const QString reason = input.decode([&](const AVFrame& frame) {
        if (static_cast<int>(frames.size()) >= maxFrames)
            return false;
        frames.push_back(imageOf(frame));
        isOutOfMemory = frames.back().isNull();
        return !isOutOfMemory && static_cast<int>(frames.size()) < maxFrames;
    });
    if (isOutOfMemory)
        return Frames::failure(failureOf(path, ffmpegText(AVERROR(ENOMEM))));
    if (!reason.isEmpty())
        return Frames::failure(failureOf(path, reason));
    return Frames::success(std::move(frames));
}

} // namespace mandalix
