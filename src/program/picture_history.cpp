#include "program/picture_history.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>

namespace mandalix {

PictureHistory::PictureHistory(QString folder, int kept)
    : m_folder(std::move(folder))
    , m_kept(kept)
{
}

PictureHistory::~PictureHistory() { finish(); }

void PictureHistory::start(Listener listener)
{
    Q_ASSERT(!m_thread.joinable());
    m_listener = std::move(listener);
    m_thread = std::thread([this] { run(); });
}

void PictureHistory::keep(PictureStep step)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_isFinishing)
            return;
        m_queue.push_back(std::move(step));
    }
    m_wake.notify_one();
}

void PictureHistory::finish()
{
    {
        std::lock_guard lock(m_mutex);
        m_isFinishing = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void PictureHistory::run()
{
    HistoryScan scan = scanHistoryFolder(m_folder);
    for (const QString& line : scan.skipped)
        std::fprintf(stderr, "mandalix: %s\n", qPrintable(line));
    std::fflush(stderr);
    m_entries = std::move(scan.entries);
    if (m_listener)
        m_listener(history::Scanned{m_entries});

    for (;;) {
        PictureStep step;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return !m_queue.empty() || m_isFinishing; });
            if (m_queue.empty())
                return;
            step = std::move(m_queue.front());
            m_queue.pop_front();
        }
        write(step);
    }
}

void PictureHistory::write(const PictureStep& step)
{
    const QImage pixels = unpackPixels(step.picture1);
    const QString path = keptPathFor(m_folder, step.picture, m_entries);
    const WriteResult written = path.isEmpty()
        ? WriteResult{false, QStringLiteral("Could not keep %1: too many pictures of that name")
                                 .arg(step.picture.imeslike)}
        : writeKeptPicture(path, pixels, step.picture);
    if (!written.ok) {
        if (!m_isFailing && m_listener)
            m_listener(history::Failed{QStringLiteral("Pictures are not kept: %1").arg(written.message)});
        m_isFailing = true;
        return;
    }
    m_isFailing = false;
    HistoryEntry entry{path, step.picture, thumbnailOf(pixels)};
    std::erase_if(m_entries, [&](const HistoryEntry& e) { return e.path == path; });
    m_entries.insert(std::lower_bound(m_entries.begin(), m_entries.end(), entry, isNewer), entry);
    if (m_listener)
        m_listener(history::Kept{entry});
    removeOldest();
}

void PictureHistory::removeOldest()
{
    while (static_cast<int>(m_entries.size()) > m_kept) {
        const QString path = m_entries.back().path;
        m_entries.pop_back();
        if (!QFile::remove(path))
            std::fprintf(stderr, "mandalix: could not remove the old kept picture \"%s\"\n",
                         qPrintable(QDir::toNativeSeparators(path)));
        if (m_listener)
            m_listener(history::Removed{path});
    }
}

} // namespace mandalix
