#include "history/picture_history.h"

#include "program/allocator_policy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace mandalix {

PictureHistory::PictureHistory(QString folder, int kept, int slideShowKept)
    : m_folder(std::move(folder))
    , m_kept(kept)
    , m_slideShowKept(slideShowKept)
{
    Q_ASSERT(kept >= 1 && slideShowKept >= 1);
}

PictureHistory::~PictureHistory() { finish(); }

void PictureHistory::start(Listener listener)
{
    m_listener = std::move(listener);
    m_queue.post([this] { scan(); });
}

void PictureHistory::keep(PictureRecord record, QByteArray png, KeptOrigin origin)
{
    if (m_isFinishing.load(std::memory_order_acquire))
        return;
    m_queue.post([this, record = std::move(record), png = std::move(png), origin] {
        write(record, png, origin);
        // Decoding a kept picture for its thumbnail frees megabytes in this thread's arena.
        returnFreedMemory();
    });
}

void PictureHistory::finish()
{
    m_isFinishing.store(true, std::memory_order_release);
    m_queue.waitIdle();
    m_queue.stop();
}

bool PictureHistory::waitUntilWritten(std::chrono::milliseconds deadline)
{
    return m_queue.waitIdleFor(deadline);
}

void PictureHistory::scan()
{
    removeAbandonedAside(m_folder);
    HistoryScan scan = scanHistoryFolder(m_folder);
    for (const QString& line : scan.skipped)
        std::fprintf(stderr, "mandalix: %s\n", qPrintable(line));
    std::fflush(stderr);
    m_entries = std::move(scan.entries);
    if (m_listener)
        m_listener(history::Scanned{m_entries});
}

void PictureHistory::write(const PictureRecord& record, const QByteArray& png, KeptOrigin origin)
{
    refresh();
    const auto same = std::find_if(m_entries.begin(), m_entries.end(), [&](const HistoryEntry& e) {
        return e.origin == origin && isSamePicture(e.record, record);
    });
    const QString replacing = same == m_entries.end() ? QString() : same->path;
    const QDateTime keptAt = nextKeptAt();
    const Result<QString> written = writeKeptPicture(keptFolderFor(m_folder, origin), png, record,
                                                     keptAt, replacing);
    if (!written.ok) {
        if (!m_isFailing && m_listener)
            m_listener(history::Failed{QStringLiteral("Pictures are not kept: %1").arg(written.message)});
        m_isFailing = true;
        return;
    }
    m_isFailing = false;
    // One file per picture: a copy under another name gives way to this one.
    if (!replacing.isEmpty() && replacing != written.value)
        remove(replacing);
    // The thumbnail is the one reason to look at the pixels; the file is the bytes as given.
    const QImage pixels = QImage::fromData(png, "png").convertToFormat(QImage::Format_RGB32);
    HistoryEntry entry{written.value, record, thumbnailOf(pixels), keptAt, origin};
    std::erase_if(m_entries, [&](const HistoryEntry& e) { return e.path == entry.path; });
    m_entries.insert(m_entries.begin(), entry);
    if (m_listener)
        m_listener(history::Kept{entry});
    removeOldest(origin);
}

QDateTime PictureHistory::nextKeptAt() const
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto newest = std::max_element(m_entries.begin(), m_entries.end(),
                                         [](const HistoryEntry& a, const HistoryEntry& b) {
                                             return a.keptAt < b.keptAt;
                                         });
    if (newest == m_entries.end() || newest->keptAt < now)
        return now;
    return newest->keptAt.addMSecs(1);
}

void PictureHistory::refresh()
{
    std::set<QString> present;
    for (const KeptOrigin origin : {KeptOrigin::Window, KeptOrigin::SlideShow}) {
        const QDir dir(keptFolderFor(m_folder, origin));
        for (const QString& name : dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (!isKeptFileName(name))
                continue;
            const QString path = dir.filePath(name);
            present.insert(path);
            const bool isKnown = m_strangers.contains(path)
                || std::any_of(m_entries.begin(), m_entries.end(),
                               [&](const HistoryEntry& e) { return e.path == path; });
            if (isKnown)
                continue;
            KeptRead read = readKeptPicture(path);
            if (!read.ok) {
                m_strangers.insert(path);
                continue;
            }
            HistoryEntry entry{path, std::move(read.value.record), thumbnailOf(read.value.pixels), read.value.keptAt, origin};
            m_entries.insert(std::lower_bound(m_entries.begin(), m_entries.end(), entry, isNewer), entry);
        }
    }
    // Pictures another program removed are gone from the list too.
    for (auto e = m_entries.begin(); e != m_entries.end();) {
        if (present.contains(e->path)) {
            ++e;
            continue;
        }
        const QString path = e->path;
        e = m_entries.erase(e);
        if (m_listener)
            m_listener(history::Removed{path});
    }
}

void PictureHistory::remove(const QString path)
{
    std::erase_if(m_entries, [&](const HistoryEntry& e) { return e.path == path; });
    // A file another program removed first is gone all the same.
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        std::fprintf(stderr, "mandalix: could not remove the old kept picture \"%s\": %s\n",
                     qPrintable(QDir::toNativeSeparators(path)), std::strerror(errno));
    if (m_listener)
        m_listener(history::Removed{path});
}

void PictureHistory::removeOldest(KeptOrigin origin)
{
    const int share = origin == KeptOrigin::SlideShow ? m_slideShowKept : m_kept;
    for (;;) {
        const auto count = std::count_if(m_entries.begin(), m_entries.end(),
                                         [&](const HistoryEntry& e) { return e.origin == origin; });
        if (count <= share)
            return;
        // The newest, just kept, is first, and a share is at least one: never removed here.
        const auto oldest = std::find_if(m_entries.rbegin(), m_entries.rend(),
                                         [&](const HistoryEntry& e) { return e.origin == origin; });
        remove(oldest->path);
    }
}

Result<KeptPicture> PictureHistory::readKept(const QString& path) const
{
    return readKeptPicture(path);
}

} // namespace mandalix
