// mandalix-render: paints one picture without a window or a display and writes it as
// PNG or BMP, optionally with its parameters file and its palette strip; or paints the
// variations of a picture, or the row bred from two, into a folder; or writes a video of
// the picture being painted, its colours cycling, or a morph loop; or paints a batch of
// new pictures into a folder. Exit status 0
// when done, 1 when a file could not be read or written, 2 for a usage error; every
// failure is one line on standard error.
#include "animation_run.h"
#include "base/exit_codes.h"
#include "batch_run.h"
#include "children_files.h"
#include "generator/traversals.h"
#include "output/favourites_file.h"
#include "output/output_files.h"
#include "output/params_file.h"
#include "output/picture_png.h"
#include "progress_line.h"
#include "render_job.h"
#include "render_options.h"
#include "render_wallpaper.h"
#include "state/clock.h"
#include "variations/mutation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <thread>

#include <unistd.h>

namespace mandalix {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitFile = 1;

void printTo(std::FILE* stream, const QByteArray& text)
{
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stream);
    std::fflush(stream);
}

// A line of progress on standard error when that is a terminal.
ProgressLine terminalProgress()
{
    return ProgressLine(isatty(STDERR_FILENO) == 1, [](const QByteArray& text) { printTo(stderr, text); });
}

int fail(int status, const QString& message)
{
    printTo(stderr, "mandalix-render: " + message.toUtf8() + '\n');
    return status;
}

// Turns the traversal's passes into one progress count: type 4 paints two passes.
class ProgressPacer final : public Pacer {
public:
    ProgressPacer(ProgressLine& line, int passes) : m_line(line), m_passes(passes) { }

    void beginPass(long long positions) override
    {
        ++m_pass;
        m_positions = positions > 0 ? positions : 1;
    }

    bool checkpoint(long long done) override
    {
        const long long perPass = 1000;
        m_line.update("painting", (m_pass - 1) * perPass + done * perPass / m_positions, m_passes * perPass);
        return true;
    }

private:
    ProgressLine& m_line;
    long long m_passes;
    long long m_pass = 0;
    long long m_positions = 1;
};

RenderRequest requestOf(const RenderOptions& options)
{
    RenderRequest request;
    request.type = options.type;
    // A run that makes children lays the edits over its parents instead.
    if (options.mode == RenderMode::Picture)
        request.edits = options.edits;
    request.scale = options.scale;
    request.size = options.size;
    request.threads = options.threads > 0 ? options.threads
                                          : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (options.seed) {
        request.seed = *options.seed;
        request.moment = momentOfSeed(QDate::currentDate(), *options.seed);
    } else {
        // One reading of the clock gives both the seed and the name.
        request.moment = QDateTime::currentDateTime();
        request.seed = secondsSinceMidnight(request.moment);
    }
    return request;
}

// The outputs of the run, in the order they are checked and written.
QStringList outputsOf(const RenderOptions& options)
{
    QStringList outputs;
    for (const QString& path : {options.paletteOut, options.paramsOut, options.out})
        if (!path.isEmpty())
            outputs << path;
    return outputs;
}

// Takes the picture and the strip: the writer stamps them in place, with no copy.
WriteResult writeOutputs(const RenderOptions& options, RenderedPicture rendered)
{
    const QByteArray json = paramsJson(rendered.record);
    OutputFiles files;
    if (!options.paletteOut.isEmpty())
        (void)addPicturePng(files, options.paletteOut, std::move(rendered.strip), rendered.record);
    if (!options.paramsOut.isEmpty())
        (void)files.addText(options.paramsOut, json);
    if (options.outFormat == OutputFormat::Png)
        (void)addPicturePng(files, options.out, std::move(rendered.picture), rendered.record);
    else
        (void)files.addImage(options.out, std::move(rendered.picture), "bmp");
    // A failed add is answered again by commit, which then renames nothing.
    return files.commit();
}

// Says on standard error when the strength was brought into its range; the run goes on.
void noticeStrength(double given)
{
    const ClampedStrength clamped = clampStrength(given);
    if (!clamped.wasClamped)
        return;
    const QString side = given < kMinStrength ? QStringLiteral("below") : QStringLiteral("above");
    const QString bound = QString::number(given < kMinStrength ? kMinStrength : kMaxStrength);
    printTo(stderr, QStringLiteral("mandalix-render: --strength %1 is %2 %3; using %4\n")
                        .arg(QString::number(given), side, bound, QString::number(clamped.value))
                        .toUtf8());
}

// Reads the parents and makes the run's children, named after the run's moment.
Result<std::vector<NamedChild>> childrenOf(const RenderOptions& options, const QDateTime& moment)
{
    using Made = Result<std::vector<NamedChild>>;
    if (options.mode == RenderMode::Variations) {
        ParamsRead parent = readParamsFile(options.params);
        if (!parent.ok)
            return Made::failure(parent.message);
        applyEdits(options.edits, parent.value);
        noticeStrength(options.strength);
        // As the window seeds a picture: the seconds since midnight on the clock.
        const float seed = options.mutationSeed ? *options.mutationSeed
                                                : secondsSinceMidnight(QDateTime::currentDateTime());
        return Made::success(variationChildren(parent.value, options.variations, seed,
                                               clampStrength(options.strength).value, options.locks, moment));
    }
    ParamsRead a = readParamsFile(options.parents[0]);
    if (!a.ok)
        return Made::failure(a.message);
    ParamsRead b = readParamsFile(options.parents[1]);
    if (!b.ok)
        return Made::failure(b.message);
    applyEdits(options.edits, a.value);
    applyEdits(options.edits, b.value);
    return Made::success(bredChildren(a.value, b.value, moment));
}

// Paints the children one after another, each on the shared pool, and writes their
// files together: all of them, or none.
int runChildren(const RenderOptions& options, const RenderRequest& request)
{
    const Result<std::vector<NamedChild>> made = childrenOf(options, request.moment);
    if (!made.ok)
        return fail(kExitFile, made.message);
    if (const WriteResult usable = checkOutDir(options.outDir, made.value); !usable.ok)
        return fail(kExitFile, usable.message);

    ProgressLine progress = terminalProgress();
    const QDir dir(options.outDir);
    const auto count = static_cast<long long>(made.value.size());
    OutputFiles files;
    long long done = 0;
    for (const NamedChild& child : made.value) {
        progress.update("painting", done++, count);
        RenderRequest childRequest = request;
        childRequest.recorded = child.record;
        RenderedPicture rendered = renderPicture(childRequest, noPacing());
        // A failed add is answered again by commit, which then renames nothing.
        (void)addPicturePng(files, dir.filePath(child.stem + ".png"), std::move(rendered.picture), rendered.record);
        (void)files.addText(dir.filePath(child.stem + ".json"), paramsJson(rendered.record));
    }
    progress.update("writing", 0, 0);
    const WriteResult written = files.commit();
    progress.finish();
    return written.ok ? kExitDone : fail(kExitFile, written.message);
}

// Paints the new pictures of a --count run; the status says whether every one was written.
int runNewPictures(const RenderOptions& options, const RenderRequest& request)
{
    const QString firstPng = QDir(options.outDir).filePath(requestedRecord(batchRequest(request, 0)).imeslike + ".png");
    for (const WriteResult& usable : {checkOutDir(options.outDir, {}), checkOutputPath(firstPng)})
        if (!usable.ok)
            return fail(kExitFile, usable.message);
    ProgressLine progress = terminalProgress();
    const BatchOutcome outcome = runBatch(options, request, request.threads, progress);
    if (outcome.failed == 0)
        return kExitDone;
    return fail(kExitFile, QStringLiteral("%1 of %2 pictures could not be written; the first: %3")
                               .arg(outcome.failed).arg(options.count).arg(outcome.firstFailure));
}

// One picture to OUT (with its files beside), or a video of it.
int runPicture(const RenderOptions& options, RenderRequest& request)
{
    if (!options.params.isEmpty()) {
        const ParamsRead read = readParamsFile(options.params);
        if (!read.ok)
            return fail(kExitFile, read.message);
        request.recorded = read.value;
    }
    ProgressLine progress = terminalProgress();
    if (options.mode == RenderMode::Animation) {
        const Result<> written = runAnimation(options, request, progress);
        return written.ok ? kExitDone : fail(kExitFile, written.message);
    }
    // A large picture paints for a while: find a folder that is missing, or two outputs
    // that would overwrite each other, first.
    if (const WriteResult distinct = checkDistinctOutputs(outputsOf(options)); !distinct.ok)
        return fail(kExitFile, distinct.message);
    for (const QString& path : outputsOf(options))
        if (const WriteResult usable = checkOutputPath(path); !usable.ok)
            return fail(kExitFile, usable.message);

    const double nac = request.type ? *request.type : request.recorded ? request.recorded->nac : 4;
    ProgressPacer pacer(progress, generationType(nac) == 4 ? 2 : 1);
    RenderedPicture rendered = renderPicture(
        request, pacer, [&](long long done, long long rows) { progress.update("painting", done, rows); });
    progress.update("writing", 0, 0);
    const PictureRecord record = rendered.record;
    const WriteResult written = writeOutputs(options, std::move(rendered));
    progress.finish();
    if (!written.ok)
        return fail(kExitFile, written.message);
    if (!options.isSetWallpaper)
        return kExitDone;
    const Result<QString> set = setRenderedWallpaper(record, options.threads);
    if (!set.ok)
        return fail(kExitFile, set.message);
    // Standard output may be carrying the picture.
    printTo(options.out == QLatin1String(kStandardOutput) ? stderr : stdout, set.value.toUtf8() + '\n');
    return kExitDone;
}

int run(const QStringList& arguments)
{
    ParsedOptions parsed = parseRenderOptions(arguments);
    if (!parsed.ok)
        return fail(kExitUsage, parsed.message + QStringLiteral(" (see --help)"));
    RenderOptions& options = parsed.value;
    if (options.isHelp) {
        printTo(stdout, renderUsage().toUtf8());
        return kExitDone;
    }
    if (options.isVersion) {
        printTo(stdout, "mandalix-render " + QCoreApplication::applicationVersion().toUtf8() + '\n');
        return kExitDone;
    }

    if (!options.paletteFile.isEmpty()) {
        const Result<PaletteWaves> waves = firstFavouriteWaves(options.paletteFile);
        if (!waves.ok)
            return fail(kExitFile, waves.message);
        options.edits.palette = waves.value;
    }
    RenderRequest request = requestOf(options);
    if (options.mode == RenderMode::Variations || options.mode == RenderMode::Breed)
        return runChildren(options, request);
    if (options.mode == RenderMode::Batch)
        return runNewPictures(options, request);
    return runPicture(options, request);
}
} // namespace
} // namespace mandalix

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mandalix-render"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MANDALIX_VERSION));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return mandalix::run(arguments);
}
