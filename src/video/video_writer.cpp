#include "video/video_writer.h"

#include "output/output_files.h"
#include "video/ffmpeg_handles.h"
#include "video/video_encoder.h"
#include "video/video_frame.h"

#include <QFileDevice>

#include <cerrno>
#include <cstring>

namespace mandalix {

namespace {

const QString kVerb = QStringLiteral("export");

// The size of the buffer FFmpeg writes through into the file.
constexpr int kIoBufferBytes = 1 << 16;

const char* muxerName(VideoFormat format)
{
    switch (format) {
    case VideoFormat::WebM: return "webm";
    case VideoFormat::Mp4: return "mp4";
    case VideoFormat::AnimatedPng: return "apng";
    }
    return "";
}

// The file aside as FFmpeg's output sees it, with the system's reason for the first call
// that failed: Qt's device drops it when a write stops partway, as on a full disk.
struct FileSink {
    QIODevice* device = nullptr;
    int systemError = 0;

    int64_t failed()
    {
        if (systemError == 0)
            systemError = errno;
        return AVERROR(EIO);
    }
};

int writeToDevice(void* opaque, uint8_t* bytes, int count)
{
    auto* sink = static_cast<FileSink*>(opaque);
    errno = 0;
    const qint64 written = sink->device->write(reinterpret_cast<const char*>(bytes), count);
    return written == count ? count : static_cast<int>(sink->failed());
}

// The containers seek back to fill in sizes and indexes once the frames are written.
int64_t seekDevice(void* opaque, int64_t offset, int whence)
{
    auto* sink = static_cast<FileSink*>(opaque);
    QIODevice& device = *sink->device;
    errno = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: return device.size();
    case SEEK_SET: break;
    case SEEK_CUR: offset += device.pos(); break;
    case SEEK_END: offset += device.size(); break;
    default: return AVERROR(EINVAL);
    }
    return device.seek(offset) ? offset : sink->failed();
}

// The muxer with the file output it was given: that output is ours to free.
struct MuxerFree {
    void operator()(AVFormatContext* muxer) const
    {
        if (muxer->pb) {
            av_freep(&muxer->pb->buffer);
            avio_context_free(&muxer->pb);
        }
        avformat_free_context(muxer);
    }
};

} // namespace

// One video being written. The members are released in reverse: the muxer lets go of the
// device before the file aside is removed with `files`.
struct VideoWriter::Encoding {
    Encoding(QString path, VideoFormat format, QSize size) : path(std::move(path)), format(format), size(size) { }

    Result<> start(int framesPerSecond);
    Result<> attachFile();
    // Sends a frame (none: the end) and muxes every packet the encoder gives back.
    int encode(const AVFrame* frame);
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
    VideoFrameConverter converter;
    AvPacketPtr packet{av_packet_alloc()};
    long long frames = 0;
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
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
    if (buffer)
        muxer->pb = avio_alloc_context(buffer, kIoBufferBytes, 1, &sink, nullptr, writeToDevice, seekDevice);
    if (!muxer->pb) {
        av_free(buffer);
        return failure(AVERROR(ENOMEM));
    }
    muxer->flags |= AVFMT_FLAG_CUSTOM_IO;
    return Result<>::success();
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

Result<> VideoWriter::Encoding::finish()
{
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
    const Result<AVFrame*> converted = m_encoding->converter.convert(frame, m_encoding->frames);
    if (!converted.ok)
        return fail(QStringLiteral("Could not %1 \"%2\": %3").arg(kVerb, m_encoding->path, converted.message));
    if (const int error = m_encoding->encode(converted.value); error < 0)
        return fail(m_encoding->failure(error).message);
    ++m_encoding->frames;
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
