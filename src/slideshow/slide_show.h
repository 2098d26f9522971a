// The slide show without its window: a thread of its own that makes a new picture record
// (a new strip and new parameters, as "new img / new palette" does), paints it over the
// frame at the screen's size in the order of the generation type, paced like the window,
// holds it for the interval and goes on. The keys arrive as calls from the GUI thread;
// what the owner must hear (a new picture, a save's news) comes through the sink, called
// on the slide show's thread. It never touches the window's program: it starts from a
// copy of the window state. Failures (a save) come back as news; nothing throws.
#pragma once

#include "base/serial_queue.h"
#include "generator/pass_pacer.h"
#include "generator/rnd.h"
#include "output/drives.h"
#include "slideshow/slide_painter.h"
#include "state/clock.h"
#include "state/picture_record.h"
#include "state/window_state.h"
#include "surface/surface_sizes.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace mandalix {

struct SlideShowSettings {
    int sidePx = kPictureSizePx;                    // the frame's side in device pixels
    std::chrono::milliseconds interval{8000};       // how long a painted picture stays
    std::chrono::milliseconds passDuration{2000};   // one pass over the frame; 0: full speed
    int threads = 1;                                // threads sharing each block
    QSize saveSize;                                 // what S saves: the screen's size; empty: the frame's
};

// Both called on the slide show's thread; the receiver hands the values over to its own.
struct SlideShowSink {
    // A picture of the show was painted to its end, for the first time (what the history
    // keeps). A picture left before it was finished is not told; one shown again by
    // going back is told only if it had not been finished before.
    std::function<void(const PictureRecord&)> pictureFinished;
    // A line for the user: where a save went, or why there is no file.
    std::function<void(const QString& text, bool isError)> news;
};

class SlideShow {
public:
    // `window` gives the generation type and the coordinate window; `clock` must outlive
    // the slide show.
    SlideShow(const WindowState& window, const Clock& clock, Drives drives,
              SlideShowSettings settings, SlideShowSink sink);
    ~SlideShow();
    SlideShow(const SlideShow&) = delete;
    SlideShow& operator=(const SlideShow&) = delete;

    // Starts the painting on the slide show's thread with a first new picture. Once.
    void start();
    // Stops the painting at its next block and joins; harmless twice. Not from the sink.
    void stop();

    // The keys, from any thread. Pause also holds the painting midway.
    void togglePause();
    bool isPaused() const;
    // The next picture now: the one after this when going back, else a new one.
    void showNext();
    // The picture before this one of the slide show. False when this is the first.
    bool showPrevious();
    // Saves the picture on show into the D: drive's folder as a PNG of the save size,
    // painted from its record as Save as paints that size (the shorter side spans the
    // window's picture, centred), once its painting is done (at once when it is).
    void save();

    // The record of the picture on show, none before the first. Any thread.
    std::optional<PictureRecord> pictureOnShow() const;
    // True while the picture on show is painted to its end (it is being held). Any thread.
    bool isPictureOnShowPainted() const { return m_isOnShowPainted.load(std::memory_order_acquire); }
    // Records of the pictures of this slide show, in order. Any thread.
    std::vector<PictureRecord> pictures() const;

    const SlidePainter& painter() const { return m_painter; }

private:
    enum class Move { None, Next, Previous };

    void run();
    // Under m_mutex: the record the move leads to, and whether it is new.
    const PictureRecord& moveTo(Move move, bool& isNew);
    PictureRecord makeRecord();
    // Tells the sink of the picture on show, painted to its end, unless it was told before.
    void tellFinished(const PictureRecord& record);
    // Holds the painted picture for the interval, saving when asked. The move to make next.
    Move hold(const PictureRecord& record);
    void saveShown(const PictureRecord& record);

    const WindowState m_window;
    const Clock& m_clock;
    const Drives m_drives;
    const SlideShowSettings m_settings;
    const SlideShowSink m_sink;

    // The slide show thread's own.
    Rnd m_paletteRnd;
    SlidePainter m_painter;

    // Pause holds both; a move stops both, a save the holding one, so the thread takes
    // the key at once. A stopped pacer goes on once the thread has taken what stopped it.
    PassPacer m_painting; // spreads each pass over the pass duration
    PassPacer m_holding;  // one "pass" of the interval a painted picture stays

    mutable std::mutex m_mutex; // guards what follows; taken before the pacers' own
    std::vector<PictureRecord> m_records;
    std::vector<bool> m_isFinished; // one for each record: painted to its end once
    int m_index = -1;
    Move m_move = Move::None;
    bool m_isSaveAsked = false;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_isOnShowPainted{false}; // cleared under m_mutex as the move is taken

    SerialQueue m_queue; // last: its thread ends before what it uses goes
};

} // namespace mandalix
