#include "export/painting_video.h"

#include "base/work_pool.h"
#include "generator/frame_blocks.h"
#include "generator/frame_engine.h"
#include "generator/picture_parameters.h"
#include "generator/traversals.h"
#include "palette/strip_colours.h"
#include "program/command_worker.h"
#include "program/record_painting.h"
#include "surface/surface_sizes.h"
#include "video/video_writer.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <mutex>

namespace mandalix {

namespace {

int passesOf(const PictureRecord& record) { return generationType(record.nac) == 4 ? 2 : 1; }

long long framesPerPass(const AnimationSettings& settings)
{
    return kPassDuration.count() * settings.framesPerSecond / 1000;
}

// The pacer that films a painting: at each checkpoint of a pass of P positions, every
// frame k of the pass not yet written with k * P <= done * framesPerPass, showing the
// picture as it is there. The last frame of the last pass waits for the finished picture.
class FrameCapture final : public Pacer {
public:
    using Picture = std::function<QImage()>;

    FrameCapture(VideoWriter& writer, const PictureRecord& record, const AnimationSettings& settings,
                 const std::atomic<bool>* cancel, const VideoProgress& progress)
        : m_writer(writer), m_perPass(framesPerPass(settings)), m_passes(passesOf(record))
        , m_frames(paintingVideoFrames(record, settings)), m_cancel(cancel), m_progress(progress)
    {
    }

    // What the picture shows now; asked at most once a checkpoint.
    void setPicture(Picture picture) { m_picture = std::move(picture); }

    void beginPass(long long positions) override
    {
        m_positions = std::max(1LL, positions);
        m_pass = std::min(m_pass + 1, m_passes);
        m_inPass = 0;
    }

    bool checkpoint(long long done) override
    {
        const long long last = m_pass == m_passes ? m_perPass - 1 : m_perPass;
        QImage picture;
        while (!isStopped() && m_inPass < last && (m_inPass + 1) * m_positions <= done * m_perPass) {
            if (picture.isNull())
                picture = m_picture();
            add(picture);
            ++m_inPass;
        }
        return !isStopped();
    }

    const std::atomic<bool>* stopFlag() const override { return m_cancel; }

    // After the painting: `finished` (null when the painting stopped) until the video has
    // all its frames, then the video finished.
    Result<> finish(const QImage& finished, const QString& path)
    {
        while (!finished.isNull() && !isStopped() && m_written < m_frames)
            add(finished);
        if (!m_result.ok)
            return m_result;
        if (isCancelled())
            return Result<>::failure(QStringLiteral("Export of \"%1\" cancelled").arg(path));
        if (finished.isNull())
            return Result<>::failure(QStringLiteral("Could not export \"%1\": out of memory").arg(path));
        return m_writer.finish();
    }

private:
    bool isCancelled() const { return m_cancel && m_cancel->load(std::memory_order_relaxed); }
    bool isStopped() const { return !m_result.ok || isCancelled(); }

    void add(const QImage& picture)
    {
        m_result = m_writer.addFrame(picture);
        if (!m_result.ok)
            return;
        ++m_written;
        if (m_progress)
            m_progress(m_written, m_frames);
    }

    VideoWriter& m_writer;
    const long long m_perPass;
    const int m_passes;
    const long long m_frames;
    const std::atomic<bool>* m_cancel;
    const VideoProgress& m_progress;
    Picture m_picture;
    long long m_positions = 1;
    int m_pass = 0;
    long long m_inPass = 0;
    long long m_written = 0;
    Result<> m_result = Result<>::success();
};

// The window's own painting: Picture1 of fresh surfaces as the window paints the record.
// The finished picture, or null when the painting stopped.
QImage filmWindowPainting(const PictureRecord& record, FrameCapture& capture)
{
    // On the heap: four rasters are too large for a thread's stack.
    auto surfaces = std::make_unique<Surfaces>();
    capture.setPicture([&surfaces] { return surfaces->Picture1.image(); });
    return paintRecordFromStart(record, *surfaces, capture) ? surfaces->Picture1.image() : QImage();
}

// The frame engine's block orders at `size`, from the window's back colour, with the
// generator seeded and its parameter draws spent as the window's picture does them.
QImage filmEnginePainting(const PictureRecord& record, QSize size, FrameCapture& capture)
{
    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    BlockPainter painter(engine, size, processorCount());
    QImage frame(size, QImage::Format_RGB32);
    if (frame.isNull())
        return {};
    frame.fill(toArgb(kPictureBackColour));
    std::mutex frameLock;
    Rnd rnd(record.seed);
    if (!record.isRepeat)
        skipPictureParameters(rnd);
    // A shallow copy: the painter's next block then writes into the frame in place, as
    // the writer has converted the copy before the painter goes on.
    capture.setPicture([&] {
        std::lock_guard lock(frameLock);
        return frame;
    });
    return painter.paint(record.nac, frame, frameLock, rnd, capture) ? frame : QImage();
}

} // namespace

long long paintingVideoFrames(const PictureRecord& record, const AnimationSettings& settings)
{
    const long long hold = std::llround(settings.seconds * settings.framesPerSecond);
    return passesOf(record) * framesPerPass(settings) + hold;
}

Result<> writePaintingVideo(const PictureRecord& record, const AnimationSettings& settings, const QString& path,
                            const std::atomic<bool>* cancel, const VideoProgress& progress)
{
    Q_ASSERT(settings.kind == AnimationKind::Painting);
    if (Result<> checked = checkAnimationSettings(settings, path); !checked.ok)
        return checked;
    VideoWriter writer;
    if (Result<> opened = writer.open(path, settings.size, settings.framesPerSecond); !opened.ok)
        return opened;
    FrameCapture capture(writer, record, settings, cancel, progress);
    const bool isWindowSize = settings.size == QSize(kPictureSizePx, kPictureSizePx);
    const QImage finished = isWindowSize ? filmWindowPainting(record, capture)
                                         : filmEnginePainting(record, settings.size, capture);
    return capture.finish(finished, path);
}

} // namespace mandalix
