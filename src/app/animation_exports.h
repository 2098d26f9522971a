// The window's export of animations (key A): the dialog, the export on a thread of its
// own while the window goes on painting and answering, its progress on the status line,
// Esc to cancel, and a line at the end saying where the video went, why not, or that it
// was cancelled. One export at a time, on the thread "mandalix-anim", started with the
// first export. GUI thread only, owned by Form1; the export's failure comes back as a
// value and is shown as one line.
#pragma once

#include "app/animation_dialog.h"
#include "base/serial_queue.h"
#include "variations/animation_export.h"

#include <QDeadlineTimer>
#include <QLabel>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace mandalix {

class AnimationExports : public QObject {
    Q_OBJECT
public:
    // The picture to export (its nac the window's generation type), the default folder and
    // a line for the status line that stands until the picture changes.
    using PictureOnShow = std::function<PictureRecord()>;
    using ShowLine = std::function<void(const QString&)>;

    AnimationExports(QWidget* window, QLabel* status, PictureOnShow picture, QString folder, ShowLine show);
    // Cancels a running export and waits for it: it calls back into this object.
    ~AnimationExports() override;

    // Opens the dialog (with the morph's other picture when given) and starts what it
    // asks. While an export runs, says so instead.
    void ask(const std::optional<SecondPicture>& second = std::nullopt);
    // Starts `job` on the export thread. False (and a line) while another runs.
    bool start(AnimationJob job);
    // Stops a running export; no file is left. Harmless when none runs.
    void cancel();
    // Cancels and waits for the export to end, its end not shown.
    void abandon();
    bool isRunning() const { return m_isRunning; }
    // The export running, or the last one.
    const AnimationJob& job() const { return m_job; }
    // The dialog while it is open, for tests.
    AnimationDialog* dialog() const { return m_dialog; }

signals:
    // The export ended (written, failed or cancelled) and its line is on show.
    void finished();

private:
    void sayOneAtATime();
    void showProgress();
    void finish(const Result<>& result);

    QWidget* m_window;
    QLabel* m_status;
    PictureOnShow m_picture;
    QString m_folder;
    ShowLine m_show;
    AnimationChoices m_last;
    AnimationDialog* m_dialog = nullptr;
    AnimationJob m_job;
    bool m_isRunning = false;
    std::atomic<bool> m_cancel{false};
    std::atomic<long long> m_framesDone{0};
    std::atomic<long long> m_frames{0};
    QTimer m_progress;
    QDeadlineTimer m_oneAtATimeNote{0}; // while running: the line says a second export waits for none
    std::unique_ptr<SerialQueue> m_queue; // last: its thread ends before what it uses goes
};

} // namespace mandalix
