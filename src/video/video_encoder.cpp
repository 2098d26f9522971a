#include "video/video_encoder.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace mandalix {

namespace {

// The encoders' own threads: the shared pool keeps the other cores for painting frames.
constexpr int kEncoderThreads = 2;

// VP9 in libvpx's real-time mode at speed 8 (this libvpx's 9 took twenty times as long on
// the colour-cycling benchmark), rows coded in parallel within up to four tile columns, at
// a constant quality that keeps fine rings clean.
void setWebM(AVCodecContext& encoder)
{
    encoder.bit_rate = 0;
    av_opt_set(encoder.priv_data, "deadline", "realtime", 0);
    av_opt_set_int(encoder.priv_data, "cpu-used", 8, 0);
    av_opt_set_int(encoder.priv_data, "row-mt", 1, 0);
    av_opt_set_int(encoder.priv_data, "tile-columns", 2, 0);
    av_opt_set_int(encoder.priv_data, "lag-in-frames", 0, 0);
    av_opt_set_int(encoder.priv_data, "crf", 30, 0);
}

// H.264 with x264's "superfast" preset (a third faster than "veryfast" on the colour-cycling
// benchmark, a third larger) at a constant quality close to transparent, tuned for no
// latency: without B-frames and the look-ahead a 1080p encoder keeps about 40 MB instead of
// 150 MB and takes a tenth less time, for files about two fifths larger. The variable-length
// coder instead of the arithmetic one makes the same pictures in about a sixth less of the
// morph loop's time, for files a fifth larger, which every player takes.
void setMp4(AVCodecContext& encoder)
{
    av_opt_set(encoder.priv_data, "preset", "superfast", 0);
    av_opt_set(encoder.priv_data, "tune", "zerolatency", 0);
    av_opt_set(encoder.priv_data, "coder", "cavlc", 0);
    av_opt_set(encoder.priv_data, "crf", "20", 0);
}

// The 4:2:0 formats take BT.709 colours in the studio range, as the frame converter
// writes them.
void setColourTags(AVCodecContext& encoder)
{
    encoder.colorspace = AVCOL_SPC_BT709;
    encoder.color_primaries = AVCOL_PRI_BT709;
    encoder.color_trc = AVCOL_TRC_BT709;
    encoder.color_range = AVCOL_RANGE_MPEG;
}

} // namespace

Result<const AVCodec*> findVideoEncoder(VideoFormat format, const char* encoderName)
{
    if (const AVCodec* codec = avcodec_find_encoder_by_name(encoderName))
        return Result<const AVCodec*>::success(codec);
    return Result<const AVCodec*>::failure(QStringLiteral("%1 needs FFmpeg's %2 encoder, which this FFmpeg lacks")
                                               .arg(videoFormatName(format), QString::fromLatin1(encoderName)));
}

Result<AvCodecContextPtr> openVideoEncoder(VideoFormat format, QSize size, int framesPerSecond, bool globalHeader)
{
    const Result<const AVCodec*> codec = findVideoEncoder(format, videoEncoderName(format));
    if (!codec.ok)
        return Result<AvCodecContextPtr>::failure(codec.message);
    AvCodecContextPtr encoder(avcodec_alloc_context3(codec.value));
    if (!encoder)
        return Result<AvCodecContextPtr>::failure(ffmpegText(AVERROR(ENOMEM)));
    encoder->width = size.width();
    encoder->height = size.height();
    encoder->time_base = AVRational{1, framesPerSecond};
    encoder->framerate = AVRational{framesPerSecond, 1};
    encoder->thread_count = kEncoderThreads;
    if (globalHeader)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (format == VideoFormat::AnimatedPng) {
        // FFmpeg's own deflate level and no row filter: quicker settings that were tried
        // made the colour-cycling benchmark's file twice as large for half the time.
        encoder->pix_fmt = AV_PIX_FMT_RGB24;
    } else {
        encoder->pix_fmt = AV_PIX_FMT_YUV420P;
        setColourTags(*encoder);
        if (format == VideoFormat::WebM)
            setWebM(*encoder);
        else
            setMp4(*encoder);
    }
    if (const int error = avcodec_open2(encoder.get(), codec.value, nullptr); error < 0)
        return Result<AvCodecContextPtr>::failure(QStringLiteral("FFmpeg's %1 encoder would not start: %2")
                                                      .arg(QString::fromLatin1(videoEncoderName(format)), ffmpegText(error)));
    return Result<AvCodecContextPtr>::success(std::move(encoder));
}

} // namespace mandalix
