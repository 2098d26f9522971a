#include "video/video_file_output.h"

#include <cerrno>

namespace mandalix {

namespace {

// The size of the buffer FFmpeg writes through into the file.
constexpr int kIoBufferBytes = 1 << 16;

int64_t failed(FileSink& sink)
{
    if (sink.systemError == 0)
        sink.systemError = errno;
    return AVERROR(EIO);
}

int writeToDevice(void* opaque, uint8_t* bytes, int count)
{
    auto* sink = static_cast<FileSink*>(opaque);
    errno = 0;
    const qint64 written = sink->device->write(reinterpret_cast<const char*>(bytes), count);
    return written == count ? count : static_cast<int>(failed(*sink));
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
    return device.seek(offset) ? offset : failed(*sink);
}

} // namespace

void MuxerFree::operator()(AVFormatContext* muxer) const
{
    if (muxer->pb) {
        av_freep(&muxer->pb->buffer);
        avio_context_free(&muxer->pb);
    }
    avformat_free_context(muxer);
}

bool attachFileSink(AVFormatContext& muxer, FileSink& sink)
{
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
    if (buffer)
        muxer.pb = avio_alloc_context(buffer, kIoBufferBytes, 1, &sink, nullptr, writeToDevice, seekDevice);
    if (!muxer.pb) {
        av_free(buffer);
        return false;
    }
    muxer.flags |= AVFMT_FLAG_CUSTOM_IO;
    return true;
}

} // namespace mandalix
