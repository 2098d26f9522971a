#include "slideshow/slide_show.h"

#include "output/output_files.h"
#include "output/params_file.h"
#include "palette/palette_strip.h"
#include "export/picture_export.h"
#include "program/picture_replay.h"
#include "program/record_painting.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <utility>

namespace mandalix {

SlideShow::SlideShow(const WindowState& window, const Clock& clock, Drives drives,
                     SlideShowSettings settings, SlideShowSink sink)
    : m_window(window)
    , m_clock(clock)
    , m_drives(std::move(drives))
    , m_settings(settings)
    , m_sink(std::move(sink))
    , m_paletteRnd(secondsSinceMidnight(clock.now()))
    , m_painter(settings.sidePx, settings.threads)
    , m_painting(settings.passDuration)
    , m_holding(settings.interval)
    , m_queue("mandalix-slides")
{
}

SlideShow::~SlideShow() { stop(); }

void SlideShow::start()
{
    m_queue.post([this] { run(); });
}

void SlideShow::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping.store(true, std::memory_order_release);
        m_painting.stop();
        m_holding.stop();
    }
    m_queue.stop();
}

void SlideShow::togglePause()
{
    std::lock_guard lock(m_mutex);
    if (m_painting.isPaused()) {
        m_painting.resume();
        m_holding.resume();
    } else {
        m_painting.pause();
        m_holding.pause();
    }
}

bool SlideShow::isPaused() const { return m_painting.isPaused(); }

void SlideShow::showNext()
{
    std::lock_guard lock(m_mutex);
    m_move = Move::Next;
    m_painting.stop();
    m_holding.stop();
}

bool SlideShow::showPrevious()
{
    std::lock_guard lock(m_mutex);
    if (m_index <= 0)
        return false;
    m_move = Move::Previous;
    m_painting.stop();
    m_holding.stop();
    return true;
}

void SlideShow::save()
{
    std::lock_guard lock(m_mutex);
    m_isSaveAsked = true;
    m_holding.stop();
}

std::optional<PictureRecord> SlideShow::pictureOnShow() const
{
    std::lock_guard lock(m_mutex);
    if (m_index < 0)
        return std::nullopt;
    return m_records[static_cast<std::size_t>(m_index)];
}

std::vector<PictureRecord> SlideShow::pictures() const
{
    std::lock_guard lock(m_mutex);
    return m_records;
}

void SlideShow::run()
{
    Move move = Move::Next;
    while (!m_stopping.load(std::memory_order_acquire)) {
        bool isNew = false;
        PictureRecord record;
        {
            std::lock_guard lock(m_mutex);
            record = moveTo(move, isNew);
            m_isOnShowPainted.store(false, std::memory_order_release);
            // A key pressed since the last move was taken ends this picture at its first block.
            if (m_move == Move::None && !m_stopping.load(std::memory_order_relaxed))
                m_painting.clearStop();
        }
        const bool isPainted = m_painter.paint(record, m_painting);
        if (isPainted) {
            m_isOnShowPainted.store(true, std::memory_order_release);
            tellFinished(record);
            move = hold(record);
            continue;
        }
        bool wasSaveAsked = false;
        {
            std::lock_guard lock(m_mutex);
            wasSaveAsked = std::exchange(m_isSaveAsked, false);
            move = std::exchange(m_move, Move::None);
        }
        if (wasSaveAsked && m_sink.news && !m_stopping.load(std::memory_order_acquire))
            m_sink.news(QStringLiteral("Not saved: the picture was left before it was painted."), true);
    }
}

const PictureRecord& SlideShow::moveTo(Move move, bool& isNew)
{
    isNew = false;
    if (move == Move::Previous && m_index > 0) {
        --m_index;
    } else if (m_index + 1 < static_cast<int>(m_records.size())) {
        ++m_index;
    } else {
        m_records.push_back(makeRecord());
        m_isFinished.push_back(false);
        m_index = static_cast<int>(m_records.size()) - 1;
        isNew = true;
    }
    return m_records[static_cast<std::size_t>(m_index)];
}

PictureRecord SlideShow::makeRecord()
{
    const PaletteWaves strip = drawPaletteWaves(m_paletteRnd);
    const QDateTime moment = m_clock.now();
    WindowState fresh = m_window;
    fresh.ponovi = 0; // every picture of the show draws its own parameters
    return newPictureRecord(fresh, strip, moment, secondsSinceMidnight(moment));
}

void SlideShow::tellFinished(const PictureRecord& record)
{
    {
        std::lock_guard lock(m_mutex);
        const auto index = static_cast<std::size_t>(m_index);
        if (m_isFinished[index])
            return;
        m_isFinished[index] = true;
    }
    if (m_sink.pictureFinished)
        m_sink.pictureFinished(record);
}

SlideShow::Move SlideShow::hold(const PictureRecord& record)
{
    m_holding.beginPass(1);
    for (;;) {
        bool isSaveAsked = false;
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping.load(std::memory_order_relaxed))
                return Move::None;
            if (m_move != Move::None)
                return std::exchange(m_move, Move::None);
            isSaveAsked = std::exchange(m_isSaveAsked, false);
            m_holding.clearStop();
        }
        if (isSaveAsked)
            saveShown(record);
        else if (m_holding.checkpoint(1))
            return Move::Next;
    }
}

void SlideShow::saveShown(const PictureRecord& record)
{
    const QSize size = m_settings.saveSize.isEmpty() ? QSize(m_settings.sidePx, m_settings.sidePx)
                                                     : m_settings.saveSize;
    const QString& folder = m_drives.d;
    const QString path = QDir::cleanPath(
        QFileInfo(QDir(folder).filePath(record.imeslike + QStringLiteral(".png"))).absoluteFilePath());
    // A folder that cannot be made shows up when the file cannot be written in it.
    if (m_drives.createMissingD && !QFileInfo::exists(folder))
        QDir().mkpath(folder);
    WriteResult result = checkOutputPath(path, QStringLiteral("save"));
    if (result.ok) {
        // The picture of the record at that size, exactly as Save as paints it.
        const QImage image = paintExport(record, paintRecordAtWindowSize(record), size, m_settings.threads, m_stopping);
        if (m_stopping.load(std::memory_order_acquire))
            return;
        OutputFiles files(QStringLiteral("save"));
        result = image.isNull() ? WriteResult::failure(QStringLiteral("Could not save \"%1\": %2")
                                                           .arg(path, QStringLiteral("not enough memory")))
                                : files.addImage(path, image, "png", QString::fromLatin1(kParamsTextKey),
                                                 paramsChunkText(record));
        if (result.ok)
            result = files.commit();
    }
    if (m_sink.news)
        m_sink.news(result.ok ? QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(path))
                              : result.message,
                    !result.ok);
}

} // namespace mandalix
