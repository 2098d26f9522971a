#include "video/video_writer.h"

#include "base/serial_queue.h"
#include "output/output_files.h"
#include "video/ffmpeg_handles.h"
#include "video/video_encoder.h"
#include "video/video_file_output.h"
#include "video/video_frame.h"

#include <QFileDevice>

#include <condition_variable>
#include <cstring>
#include <mutex>

namespace mandalix {

namespace {

const QString kVerb = QStringLiteral("export");

// Frames converted and waiting for the encoder, or being encoded: enough to keep the
// encoder busy while the caller paints, few enough to keep 1080p within a few megabytes.
constexpr int kFramesInFlight = 2;

const char* muxerName(VideoFormat format)
{
    switch (format) {
    case VideoFormat::WebM: return "webm";
    case VideoFormat::Mp4: return "mp4";
    case VideoFormat::AnimatedPng: return "apng";
    }
    return "";
}

// A frame as a job holds it: jobs are copied, frames are not.
using SharedFrame = std::shared_ptr<AVFrame>;

SharedFrame shared(AvFramePtr frame) { return SharedFrame(frame.release(), AvFrameFree()); }

} // namespace

// One video being written. The caller's thread converts and hands over; the queue's
// thread encodes and muxes. The members are released in reverse: the queue stops first,
// so no job runs on what follows, and the muxer lets go of the device before the file
// aside is removed with `files`.
struct VideoWriter::Encoding {
    Encoding(QString path, VideoFormat format, QSize size) : path(std::move(path)), format(format), size(size) { }

    Result<> start(int framesPerSecond);
    Result<> attachFile();
    // Sends a frame (none: the end) and muxes every packet the encoder gives back.
    int encode(const AVFrame* frame);
    // The frame for the queue, converted or the last one again. Caller's thread.
    Result<AvFramePtr> nextFrame(const QImage& image);
    // Waits for room, then posts the frame's encoding. The failure of a frame before, if any.
    Result<> handOver(AvFramePtr frame);
    void encodeOnQueue(const SharedFrame& frame);
    Result<> finish();
    // "Could not export "<path>": <reason>", the system's reason when the file failed.
    Result<> failure(int error) const;

    QString path;
    VideoFormat format;
    QSize size;
    OutputFiles files{kVerb};
    FileSink sink;
    std::unique_ptr<AVFormatContext, MuxerFree> muxer;
    AvCodecContextPtr encoder;
    AVStream* stream = nullptr;
    AvPacketPtr packet{av_packet_alloc()};
    // The caller's thread only.
    VideoFrameConverter converter;
    long long frames = 0;
    AvFramePtr lastFrame;
    qint64 lastKey = 0;
    // Between the two threads, under `mutex`.
    std::mutex mutex;
    std::condition_variable changed;
    int inFlight = 0;
    Result<> encoderFailure = Result<>::success();
    SerialQueue queue{"mandalix-video"};
};

Result<> VideoWriter::Encoding::failure(int error) const
{
    const auto* file = qobject_cast<const QFileDevice*>(sink.device);
    QString reason = ffmpegText(error);
    if (sink.systemError != 0)
        reason = QString::fromLocal8Bit(std::strerror(sink.systemError));
    else if (file && file->error() != QFileDevice::NoError)
        reason = file->errorString();
    return Result<>::failure(QStringLiteral("Could not %1 \"%2\": %3").arg(kVerb, path, reason));
}

Result<> VideoWriter::Encoding::start(int framesPerSecond)
{
    AVFormatContext* context = nullptr;
    if (const int error = avformat_alloc_output_context2(&context, nullptr, muxerName(format), nullptr); error < 0)
        return failure(error);
    muxer.reset(context);
    const bool globalHeader = (context->oformat->flags & AVFMT_GLOBALHEADER) != 0;
    Result<AvCodecContextPtr> opened = openVideoEncoder(format, size, framesPerSecond, globalHeader);
    if (!opened.ok)
        return Result<>::failure(opened.message);
    encoder = std::move(opened.value);
    stream = avformat_new_stream(context, nullptr);
    if (!packet || !stream)
        return failure(AVERROR(ENOMEM));
    stream->time_base = encoder->time_base;
    stream->avg_frame_rate = encoder->framerate;
    if (const int error = avcodec_parameters_from_context(stream->codecpar, encoder.get()); error < 0)
        return failure(error);
    if (const Result<> converting = converter.open(size, encoder->pix_fmt); !converting.ok)
        return failure(AVERROR(ENOMEM));
    if (const Result<> attached = attachFile(); !attached.ok)
        return attached;
    AVDictionary* options = nullptr;
    // An animation loops for ever.
    if (format == VideoFormat::AnimatedPng)
        av_dict_set(&options, "plays", "0", 0);
    const int error = avformat_write_header(context, &options);
    av_dict_free(&options);
    return error < 0 ? failure(error) : Result<>::success();
}

Result<> VideoWriter::Encoding::attachFile()
{
    const Result<QIODevice*> aside = files.addStream(path);
    if (!aside.ok)
        return Result<>::failure(aside.message);
    sink.device = aside.value;
    return attachFileSink(*muxer, sink) ? Result<>::success() : failure(AVERROR(ENOMEM));
}

int VideoWriter::Encoding::encode(const AVFrame* frame)
{
    if (const int error = avcodec_send_frame(encoder.get(), frame); error < 0)
        return error;
    for (;;) {
        const int received = avcodec_receive_packet(encoder.get(), packet.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return 0;
        if (received < 0)
            return received;
        av_packet_rescale_ts(packet.get(), encoder->time_base, stream->time_base);
        packet->stream_index = stream->index;
        if (const int error = av_interleaved_write_frame(muxer.get(), packet.get()); error < 0)
            return error;
    }
}

Result<AvFramePtr> VideoWriter::Encoding::nextFrame(const QImage& image)
{
    // The cache key changes whenever the image's pixels or colour table do, so the same
    // key is the same picture: a held frame is converted once. The copy shares the
    // buffers, which nobody writes once converted.
    if (lastFrame && image.cacheKey() == lastKey) {
        AvFramePtr again(av_frame_clone(lastFrame.get()));
        if (!again)
            return Result<AvFramePtr>::failure(ffmpegText(AVERROR(ENOMEM)));
        again->pts = frames;
        return Result<AvFramePtr>::success(std::move(again));
    }
    lastFrame.reset();
    Result<AvFramePtr> converted = converter.convert(image, frames);
    if (converted.ok) {
        lastFrame.reset(av_frame_clone(converted.value.get()));
        lastKey = image.cacheKey();
    }
    return converted;
}

Result<> VideoWriter::Encoding::handOver(AvFramePtr frame)
{
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return inFlight < kFramesInFlight || !encoderFailure.ok; });
        if (!encoderFailure.ok)
            return encoderFailure;
        ++inFlight;
    }
    queue.post([this, job = shared(std::move(frame))] { encodeOnQueue(job); });
    ++frames;
    return Result<>::success();
}

void VideoWriter::Encoding::encodeOnQueue(const SharedFrame& frame)
{
    bool isFailed = false;
    {
        std::lock_guard lock(mutex);
        isFailed = !encoderFailure.ok;
    }
    const int error = isFailed ? 0 : encode(frame.get());
    std::lock_guard lock(mutex);
    if (error < 0)
        encoderFailure = failure(error);
    --inFlight;
    changed.notify_all();
}

Result<> VideoWriter::Encoding::finish()
{
    queue.waitIdle();
    {
        std::lock_guard lock(mutex);
        if (!encoderFailure.ok)
            return encoderFailure;
    }
    if (const int error = encode(nullptr); error < 0)
        return failure(error);
    if (const int error = av_write_trailer(muxer.get()); error < 0)
        return failure(error);
    avio_flush(muxer->pb);
    if (muxer->pb->error < 0)
        return failure(muxer->pb->error);
    return files.commit();
}

VideoWriter::VideoWriter() = default;

VideoWriter::~VideoWriter() { cancel(); }

long long VideoWriter::framesWritten() const { return m_encoding ? m_encoding->frames : 0; }

Result<> VideoWriter::fail(const QString& reason)
{
    m_encoding.reset();
    m_failure = Result<>::failure(reason);
    return m_failure;
}

Result<> VideoWriter::open(const QString& path, QSize size, int framesPerSecond)
{
    Q_ASSERT(!m_encoding);
    quietFfmpegLog();
    m_failure = Result<>::success();
    const Result<VideoFormat> format = videoFormatOf(path);
    if (!format.ok)
        return fail(format.message);
    if (const Result<> settings = checkVideoSettings(format.value, size, framesPerSecond); !settings.ok)
        return fail(settings.message);
    if (const Result<> target = checkOutputPath(path, kVerb); !target.ok)
        return fail(target.message);
    m_encoding = std::make_unique<Encoding>(path, format.value, size);
    if (const Result<> started = m_encoding->start(framesPerSecond); !started.ok)
        return fail(started.message);
    return Result<>::success();
}

Result<> VideoWriter::addFrame(const QImage& frame)
{
    if (!m_encoding)
        return m_failure.ok ? Result<>::failure(QStringLiteral("No video is open")) : m_failure;
    if (frame.size() != m_encoding->size)
        return fail(QStringLiteral("A frame of %1x%2 does not fit a video of %3x%4")
                        .arg(frame.width()).arg(frame.height())
                        .arg(m_encoding->size.width()).arg(m_encoding->size.height()));
    Result<AvFramePtr> converted = m_encoding->nextFrame(frame);
    if (!converted.ok)
        return fail(QStringLiteral("Could not %1 \"%2\": %3").arg(kVerb, m_encoding->path, converted.message));
    if (const Result<> handed = m_encoding->handOver(std::move(converted.value)); !handed.ok)
        return fail(handed.message);
    return Result<>::success();
}

Result<> VideoWriter::finish()
{
    if (!m_encoding)
        return m_failure.ok ? Result<>::failure(QStringLiteral("No video is open")) : m_failure;
    const Result<> finished = m_encoding->finish();
    if (!finished.ok)
        return fail(finished.message);
    m_encoding.reset();
    return finished;
}

void VideoWriter::cancel() { m_encoding.reset(); }

} // namespace mandalix
