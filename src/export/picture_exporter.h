// Save as at any size, on the export queue ("mandalix-export"): neither the window's
// thread nor the command worker, so the window keeps painting and answering while a
// large picture is painted and written. It works on copies taken when Save as was asked
// for. The GUI thread starts, cancels and polls it; the result comes back through a
// callback on the queue's thread as a value. One export at a time.
#pragma once

#include "base/serial_queue.h"
#include "output/picture_png.h"
#include "state/picture_record.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

namespace mandalix {

struct ExportJob {
    QString path;
    PictureRecord record; // the picture on show
    QImage shown;         // Picture1 as it was shown
    QSize size;
    int threads = 1;
};

class PictureExporter {
public:
    using Done = std::function<void(const PictureWrite&)>;

    // Starts the export queue's thread, which waits for exports.
    PictureExporter();
    // Cancels a running export and waits for it: it stops where it next looks at its flag,
    // a file being written aside is removed.
    ~PictureExporter();
    PictureExporter(const PictureExporter&) = delete;
    PictureExporter& operator=(const PictureExporter&) = delete;

    // Starts `job`; `onDone` is called on the export queue once it ended, also when
    // cancelled. Returns false (and does nothing) while an export runs. GUI thread.
    bool start(ExportJob job, Done onDone);
    // Asks the running export to stop; it ends without leaving a file. Any thread.
    void cancel();
    // Stops the running export and waits until it has, its file written aside removed;
    // `onDone` is not called. What the destructor does. GUI thread.
    void abandon();
    bool isRunning() const;
    // Rows painted so far and rows in all; equal once painting is over.
    long long rowsDone() const;
    long long rows() const;

private:
    struct Shared;
    // The export itself, on the export queue.
    static PictureWrite run(const ExportJob& job, Shared& shared);

    std::shared_ptr<Shared> m_shared;
    SerialQueue m_queue{"mandalix-export"};
};

} // namespace mandalix
