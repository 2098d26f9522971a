#include "export/picture_exporter.h"

#include "export/picture_export.h"

#include <algorithm>
#include <mutex>

namespace mandalix {

// What the export queue shares with its owner.
struct PictureExporter::Shared {
    std::atomic<bool> isCancelled{false};
    std::atomic<bool> isRunning{false};
    std::atomic<long long> rowsDone{0};
    std::atomic<long long> rows{1};
    // Guards the callback against an owner that has gone.
    std::mutex doneMutex;
    bool isAbandoned = false;
};

PictureWrite PictureExporter::run(const ExportJob& job, Shared& shared)
{
    const ExportPicture picture =
        paintExportPicture(job.record, job.shown, job.size, job.threads, shared.isCancelled,
                           [&](long long done, long long rows) {
                               shared.rows.store(rows, std::memory_order_relaxed);
                               shared.rowsDone.store(done, std::memory_order_relaxed);
                           });
    if (shared.isCancelled.load(std::memory_order_acquire))
        return cancelledWrite();
    shared.rowsDone.store(shared.rows.load(std::memory_order_relaxed), std::memory_order_relaxed);
    if (job.size == picture.window.size())
        return writePicturePng(job.path, picture.window, job.record, shared.isCancelled);
    if (picture.indices.isNull())
        return PictureWrite::failure(QStringLiteral("Could not save \"%1\": not enough memory to paint %2 x %3 pixels")
                                         .arg(job.path).arg(job.size.width()).arg(job.size.height()));
    return writePicturePng(job.path, pngRowsOf(picture), job.record, shared.isCancelled);
}

PictureExporter::PictureExporter() : m_shared(std::make_shared<Shared>()) { }

PictureExporter::~PictureExporter()
{
    abandon();
    m_queue.stop();
}

void PictureExporter::abandon()
{
    m_shared->isCancelled.store(true, std::memory_order_release);
    {
        std::lock_guard done(m_shared->doneMutex);
        m_shared->isAbandoned = true;
    }
    // The export stops where it next looks at its flag.
    m_queue.waitIdle();
}

bool PictureExporter::start(ExportJob job, Done onDone)
{
    if (isRunning())
        return false;
    // The job before has reported; its closure goes before the next begins.
    m_queue.waitIdle();
    m_shared->isCancelled.store(false, std::memory_order_release);
    {
        std::lock_guard done(m_shared->doneMutex);
        m_shared->isAbandoned = false;
    }
    m_shared->rowsDone.store(0, std::memory_order_relaxed);
    m_shared->rows.store(std::max(1, job.size.height()), std::memory_order_relaxed);
    m_shared->isRunning.store(true, std::memory_order_release);
    m_queue.post([shared = m_shared, job = std::move(job), onDone = std::move(onDone)] {
        const PictureWrite result = run(job, *shared);
        std::lock_guard done(shared->doneMutex);
        shared->isRunning.store(false, std::memory_order_release);
        if (!shared->isAbandoned && onDone)
            onDone(result);
    });
    return true;
}

void PictureExporter::cancel() { m_shared->isCancelled.store(true, std::memory_order_release); }

bool PictureExporter::isRunning() const { return m_shared->isRunning.load(std::memory_order_acquire); }

long long PictureExporter::rowsDone() const { return m_shared->rowsDone.load(std::memory_order_relaxed); }

long long PictureExporter::rows() const { return m_shared->rows.load(std::memory_order_relaxed); }

} // namespace mandalix
