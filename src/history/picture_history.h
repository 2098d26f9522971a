// The history of pictures across runs: a serial queue of its own ("mandalix-hist")
// that keeps each picture the window replaces (and each the slide show showed finished)
// in the history folder, removes the oldest beyond each origin's share and tells its
// listener what the folder holds. Callers hand over a record with the picture's PNG,
// encoded once (encodePicturePng), and keep() returns at once; the bytes are written as
// they came. The listener is called on the history's thread with small values. A write
// that fails is told once, until a write succeeds again; painting never waits. Other
// programs may keep pictures in the same folder at the same time.
#pragma once

#include "base/serial_queue.h"
#include "history/history_folder.h"
#include "undo/session.h"

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <variant>
#include <vector>

namespace mandalix {

namespace history {
struct Scanned { std::vector<HistoryEntry> entries; }; // the folder at start, newest first
struct Kept { HistoryEntry entry; };                   // written, or written again
struct Removed { QString path; };                      // one of the oldest, or gone
struct Failed { QString message; };                    // the first of a run of failed writes
} // namespace history

using HistoryNews = std::variant<history::Scanned, history::Kept, history::Removed, history::Failed>;

class PictureHistory final : public PictureKeeper {
public:
    using Listener = std::function<void(const HistoryNews&)>;

    // `kept` pictures of the window and `slideShowKept` of slide shows are kept.
    explicit PictureHistory(QString folder, int kept = kHistoryKept, int slideShowKept = kSlideShowKept);
    // Finishes what is queued, then joins.
    ~PictureHistory();
    PictureHistory(const PictureHistory&) = delete;
    PictureHistory& operator=(const PictureHistory&) = delete;

    // Has the thread read the folder first; files it leaves alone are told on standard
    // error, one line each. Call once, before keep(), from the thread that owns the history.
    void start(Listener listener);

    // Queues a picture to keep: `png`, its PNG carrying `record` (encodePicturePng), is
    // the file's content byte for byte. A picture the folder holds already
    // (isSamePicture) is written again in place of its file. Any thread; never waits
    // for a write.
    void keep(PictureRecord record, QByteArray png, KeptOrigin origin);
    // A picture the window replaced.
    void keep(const PictureRecord& record, const QByteArray& png) override
    {
        keep(record, png, KeptOrigin::Window);
    }
    // Reads a kept picture back (readKeptPicture). Any thread.
    Result<KeptPicture> readKept(const QString& path) const override;

    // Writes what is queued, then ends the thread. Harmless twice or before start().
    void finish();

    // Waits until nothing is queued or being written, or the deadline passes; answers
    // whether it got there. Any thread but the history's; for tests and benchmarks.
    bool waitUntilWritten(std::chrono::milliseconds deadline);

    const QString& folder() const { return m_folder; }

private:
    void scan();
    void write(const PictureRecord& record, const QByteArray& png, KeptOrigin origin);
    // Brings m_entries up to what the folders hold now: other programs add and remove.
    void refresh();
    // A stamp after every picture known, so the one kept now is the newest.
    QDateTime nextKeptAt() const;
    // Takes its own copy: the entry naming the path goes first.
    void remove(QString path);
    void removeOldest(KeptOrigin origin);

    const QString m_folder;
    const int m_kept;
    const int m_slideShowKept;
    Listener m_listener;
    // History thread only: the folder's own pictures, newest kept first, and the paths
    // of files found to be none.
    std::vector<HistoryEntry> m_entries;
    std::set<QString> m_strangers;
    bool m_isFailing = false;

    std::atomic<bool> m_isFinishing{false};
    // Last: its thread ends before the members its jobs use go.
    SerialQueue m_queue{"mandalix-hist"};
};

} // namespace mandalix
