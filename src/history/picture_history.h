// The history of pictures across runs: a thread of its own that keeps each picture the
// window replaces (and each the slide show showed finished) in the history folder,
// painted again from its record, removes the oldest beyond each origin's share and tells
// its listener what the folder holds. The worker (or any thread) hands records to keep()
// and returns at once; the listener is called on the history's thread with small values.
// A write that fails is told once, until a write succeeds again; painting never waits.
// Other programs may keep pictures in the same folder at the same time.
#pragma once

#include "history/history_folder.h"
#include "undo/session.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
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
    // Paints a record's pixels at the window's size; called on the history's thread.
    using Painter = std::function<QImage(const PictureRecord&)>;

    // `kept` pictures of the window and `slideShowKept` of slide shows are kept; the
    // pixels kept are the painter's, by default the renderer's painting of the record.
    explicit PictureHistory(QString folder, int kept = kHistoryKept, int slideShowKept = kSlideShowKept,
                            Painter painter = {});
    // Finishes what is queued, then joins.
    ~PictureHistory();
    PictureHistory(const PictureHistory&) = delete;
    PictureHistory& operator=(const PictureHistory&) = delete;

    // Starts the thread, which first reads the folder; files it leaves alone are told on
    // standard error, one line each. Call once, before keep().
    void start(Listener listener);

    // Queues a picture to keep; a picture the folder holds already (isSamePicture) is
    // written again in place of its file. Any thread; never waits for a write.
    void keep(PictureRecord record, KeptOrigin origin);
    // A picture the window replaced.
    void keep(const PictureRecord& record) override { keep(record, KeptOrigin::Window); }
    // Reads a kept picture back (readKeptPicture). Any thread.
    Result<KeptPicture> readKept(const QString& path) const override;

    // Writes what is queued, then ends the thread. Harmless twice or before start().
    void finish();

    // Waits until nothing is queued or being written, or the deadline passes; answers
    // whether it got there. Any thread but the history's; for tests and benchmarks.
    bool waitUntilWritten(std::chrono::milliseconds deadline);

    const QString& folder() const { return m_folder; }

private:
    struct Keeping {
        PictureRecord record;
        KeptOrigin origin;
    };

    void run();
    void write(const Keeping& keeping);
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
    const Painter m_painter;
    Listener m_listener;
    // History thread only: the folder's own pictures, newest kept first, and the paths
    // of files found to be none.
    std::vector<HistoryEntry> m_entries;
    std::set<QString> m_strangers;
    bool m_isFailing = false;

    std::mutex m_mutex; // guards m_queue and m_isFinishing
    std::condition_variable m_wake;
    std::deque<Keeping> m_queue;
    bool m_isFinishing = false;
    bool m_isWriting = false; // guarded by m_mutex
    std::condition_variable m_written;
    std::thread m_thread;
};

} // namespace mandalix
