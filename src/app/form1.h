// The program's one window: thirteen controls from the layout table over a view of the
// window's own drawing surface, a status line, and the command worker that runs what
// the user asks for; F11 opens the slide show over it. GUI thread only. A failed save comes back from the worker as a
// value and is shown in a message box; the program goes on.
#pragma once

#include "app/command_worker.h"
#include "app/slide_show_options.h"
#include "app/surface_view.h"
#include "program/program.h"

#include <QLabel>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <memory>

namespace mandalix {

class SlideShowWindow;

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Program& program,
                   std::chrono::milliseconds passDuration = kPassDuration,
                   QWidget* parent = nullptr);
    ~Form1() override;

    // Queues the start-up sequence; call once the window is shown.
    void start();

    // Queues a command, as a click or a press would.
    void post(const Command& command);

    // Opens the full-screen slide show (also F11). A screen that cannot take it gets a
    // message and the window goes on. Leaving it shows its last picture here.
    void openSlideShow();
    void setSlideShowInterval(std::chrono::milliseconds interval) { m_slideInterval = interval; }

    CommandWorker& worker() { return *m_worker; }
    QLabel* statusLine() const { return m_status; }
    SurfaceView* view(const char* name) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void showResult(const mandalix::Command& command, const mandalix::CommandResult& result);

private:
    void buildControls();
    // True while Picture1 has not changed since it had changed `picture1Changes` times.
    bool isPictureStillShown(std::uint64_t picture1Changes) const;
    void dropStaleStatus();
    void leaveSlideShow();

    Program& m_program;
    SurfaceView* m_background = nullptr;
    QLabel* m_status = nullptr;
    std::uint64_t m_statusPicture = 0; // Picture1's count when the status line's news came
    std::unique_ptr<CommandWorker> m_worker;
    const std::chrono::milliseconds m_passDuration;
    std::chrono::milliseconds m_slideInterval = kDefaultSlideInterval;
    SlideShowWindow* m_slideShow = nullptr;
};

} // namespace mandalix
