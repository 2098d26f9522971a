// Owners of FFmpeg's objects for the video writer and reader, freed by FFmpeg's own calls,
// and FFmpeg's error codes as text. Plain values; each owner on one thread at a time.
#pragma once

#include <QString>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/buffer.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace mandalix {

struct AvFrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct AvPacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct AvCodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct AvBufferPoolFree {
    // The pool goes once the last of its buffers is given back.
    void operator()(AVBufferPool* pool) const { av_buffer_pool_uninit(&pool); }
};
struct SwsContextFree {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

using AvFramePtr = std::unique_ptr<AVFrame, AvFrameFree>;
using AvPacketPtr = std::unique_ptr<AVPacket, AvPacketFree>;
using AvCodecContextPtr = std::unique_ptr<AVCodecContext, AvCodecContextFree>;
using AvBufferPoolPtr = std::unique_ptr<AVBufferPool, AvBufferPoolFree>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextFree>;

// FFmpeg's sentence for an error code, e.g. "Invalid argument".
inline QString ffmpegText(int error)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return QString::fromUtf8(text);
}

// Keeps FFmpeg's log to errors: its encoders would otherwise tell their settings and
// statistics on standard error for every video. Once per process, from any thread.
inline void quietFfmpegLog()
{
    static const bool isQuiet = (av_log_set_level(AV_LOG_ERROR), true);
    (void)isQuiet;
}

} // namespace mandalix
