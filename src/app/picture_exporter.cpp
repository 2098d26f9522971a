#include "app/picture_exporter.h"

#include "program/picture_export.h"

#include <mutex>

namespace mandalix {

// What the export thread shares with its owner; the thread keeps it alive when the
// owner goes first.
struct PictureExporter::Shared {
    std::atomic<bool> isCancelled{false};
    std::atomic<bool> isRunning{false};
    std::atomic<long long> rowsDone{0};
    std::atomic<long long> rows{1};
    // Held while the file is written aside, so the owner can wait for it to go.
    std::mutex fileMutex;
    // Guards the callback against an owner that has gone.
    std::mutex doneMutex;
    bool isAbandoned = false;
};

PictureWrite PictureExporter::run(const ExportJob& job, Shared& shared)
{
    QImage image = paintExport(job.record, job.shown, job.size, job.threads,
                               [&](long long done, long long rows) {
                                   shared.rows.store(rows, std::memory_order_relaxed);
                                   shared.rowsDone.store(done, std::memory_order_relaxed);
                               });
    shared.rowsDone.store(shared.rows.load(std::memory_order_relaxed), std::memory_order_relaxed);
    if (shared.isCancelled.load(std::memory_order_acquire))
        return {false, true, {}};
    if (image.isNull())
        return {false, false,
                QStringLiteral("Could not save \"%1\": the picture could not be painted at %2 x %3 pixels")
                    .arg(job.path).arg(job.size.width()).arg(job.size.height())};
    std::lock_guard file(shared.fileMutex);
    if (shared.isCancelled.load(std::memory_order_acquire))
        return {false, true, {}};
    return writePicturePng(job.path, image, job.record, shared.isCancelled);
}

PictureExporter::PictureExporter() : m_shared(std::make_shared<Shared>()) { }

PictureExporter::~PictureExporter()
{
    m_shared->isCancelled.store(true, std::memory_order_release);
    { std::lock_guard file(m_shared->fileMutex); }
    {
        std::lock_guard done(m_shared->doneMutex);
        m_shared->isAbandoned = true;
    }
    if (!m_thread.joinable())
        return;
    // Painting cannot be stopped midway; the program does not wait for it.
    if (m_shared->isRunning.load(std::memory_order_acquire))
        m_thread.detach();
    else
        m_thread.join();
}

bool PictureExporter::start(ExportJob job, Done onDone)
{
    if (isRunning())
        return false;
    if (m_thread.joinable())
        m_thread.join();
    m_shared->isCancelled.store(false, std::memory_order_release);
    m_shared->rowsDone.store(0, std::memory_order_relaxed);
    m_shared->rows.store(std::max(1, job.size.height()), std::memory_order_relaxed);
    m_shared->isRunning.store(true, std::memory_order_release);
    m_thread = std::thread([shared = m_shared, job = std::move(job), onDone = std::move(onDone)]() mutable {
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
