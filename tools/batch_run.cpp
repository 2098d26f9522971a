#include "batch_run.h"

#include "base/work_pool.h"
#include "output/output_files.h"
#include "output/params_file.h"
#include "output/picture_png.h"
#include "state/clock.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <mutex>

namespace mandalix {

RenderRequest batchRequest(const RenderRequest& first, long long k)
{
    RenderRequest request = first;
    request.moment = first.moment.addSecs(k);
    request.seed = secondsSinceMidnight(request.moment);
    request.threads = 1;
    return request;
}

namespace {

// Where a file system has no unnamed files, a write cut short leaves "NAME.XXXXXX" beside
// NAME; only such leftovers of this batch's own names are removed.
void clearLeftovers(QDir dir, const QString& stem)
{
    static const QRegularExpression leftover(QStringLiteral("^\\.(png|json)\\.[A-Za-z0-9]{6}$"));
    for (const QString& name : dir.entryList({stem + QStringLiteral(".*")}, QDir::Files | QDir::Hidden))
        if (leftover.match(name.mid(stem.size())).hasMatch())
            dir.remove(name);
}

// Whether the picture's two files are there and the PNG carries this very picture.
bool isThereAlready(const QDir& dir, const QString& stem, const PictureRecord& record)
{
    if (!QFileInfo::exists(dir.filePath(stem + QStringLiteral(".json"))))
        return false;
    const ParamsRead kept = readParamsFile(dir.filePath(stem + QStringLiteral(".png")));
    return kept.ok && isSamePicture(kept.value, record) && kept.value.imeslike == record.imeslike;
}

WriteResult writePicture(const QDir& dir, const QString& stem, const RenderRequest& request)
{
    RenderedPicture rendered = renderPicture(request, noPacing());
    OutputFiles files;
    // A failed add is answered again by commit, which then renames nothing.
    (void)files.addText(dir.filePath(stem + QStringLiteral(".json")), paramsJson(rendered.record));
    (void)addPicturePng(files, dir.filePath(stem + QStringLiteral(".png")), std::move(rendered.picture),
                        rendered.record);
    return files.commit();
}

} // namespace

BatchOutcome runBatch(const RenderOptions& options, const RenderRequest& first, int threads, ProgressLine& progress)
{
    const QDir dir(options.outDir);
    BatchOutcome outcome;
    std::mutex outcomeLock;
    std::atomic<long long> done{0};
    const auto tell = [&](const WriteResult& result, bool isKept) {
        const std::lock_guard lock(outcomeLock);
        if (isKept)
            ++outcome.kept;
        else if (result.ok)
            ++outcome.written;
        else if (outcome.failed++ == 0)
            outcome.firstFailure = result.message;
    };
    sharedPool().parallelFor(
        options.count, threads,
        [&](long long k, int) {
            const RenderRequest request = batchRequest(first, k);
            const PictureRecord record = requestedRecord(request);
            const QString stem = record.imeslike;
            clearLeftovers(dir, stem);
            const bool isKept = isThereAlready(dir, stem, record);
            tell(isKept ? WriteResult::success() : writePicture(dir, stem, request), isKept);
            done.fetch_add(1, std::memory_order_relaxed);
        },
        [&] { progress.update("pictures", done.load(std::memory_order_relaxed), options.count); });
    progress.finish();
    return outcome;
}

} // namespace mandalix
