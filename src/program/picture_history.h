// The history of pictures across runs: a thread of its own that keeps each picture the
// window replaces in the history folder, removes the oldest beyond kHistoryKept and tells
// its listener what the folder holds. The worker (or any thread) hands pictures to keep()
// and returns at once; the listener is called on the history's thread with small values.
// A write that fails is told once, until a write succeeds again; painting never waits.
#pragma once

#include "program/history_folder.h"
#include "program/picture_step.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <variant>
#include <vector>

namespace mandalix {

namespace history {
struct Scanned { std::vector<HistoryEntry> entries; }; // the folder at start, newest first
struct Kept { HistoryEntry entry; };                   // written, or written again
struct Removed { QString path; };                      // one of the oldest, gone
struct Failed { QString message; };                    // the first of a run of failed writes
} // namespace history

using HistoryNews = std::variant<history::Scanned, history::Kept, history::Removed, history::Failed>;

class PictureHistory {
public:
    using Listener = std::function<void(const HistoryNews&)>;

    explicit PictureHistory(QString folder, int kept = kHistoryKept);
    // Finishes what is queued, then joins.
    ~PictureHistory();
    PictureHistory(const PictureHistory&) = delete;
    PictureHistory& operator=(const PictureHistory&) = delete;

    // Starts the thread, which first reads the folder; files it leaves alone are told on
    // standard error, one line each. Call once, before keep().
    void start(Listener listener);

    // Queues a picture to keep. Any thread; never waits for a write.
    void keep(PictureStep step);

    // Writes what is queued, then ends the thread. Harmless twice or before start().
    void finish();

    const QString& folder() const { return m_folder; }

private:
    void run();
    void write(const PictureStep& step);
    void removeOldest();

    const QString m_folder;
    const int m_kept;
    Listener m_listener;
    std::vector<HistoryEntry> m_entries; // the folder's own pictures, history thread only
    bool m_isFailing = false;            // history thread only

    std::mutex m_mutex; // guards m_queue and m_isFinishing
    std::condition_variable m_wake;
    std::deque<PictureStep> m_queue;
    bool m_isFinishing = false;
    std::thread m_thread;
};

} // namespace mandalix
