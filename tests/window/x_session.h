// A private X display for the real-window tests: Xvfb on the first free display number
// from 90 up with openbox as window manager, the real program started on it, xdotool to
// click, and screenshots taken in this process through Qt's xcb platform. Test thread
// only. Every child process is ended when its owner goes (and by the kernel if this
// process dies); failures come back as false with a sentence in `error`.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <string>

namespace mandalix::xtest {

// The outcome of a command-line tool run to completion.
struct ToolRun {
    bool finished = false; // false: it could not start, or outlived its deadline and was killed
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a tool with `environment`, killing it at the deadline.
ToolRun runTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment, std::chrono::milliseconds timeout);

// The tools the real-window tests need that are not on PATH, each with its package.
QStringList missingTools();

// A display number from `from` up whose socket and lock file are both absent.
int freeDisplayNumber(int from);

// Polls `condition` every few milliseconds, keeping the event loop turning, until it holds
// or the deadline passes. Returns whether it held.
bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

class XSession {
public:
    static constexpr int kFirstDisplay = 90;
    // A common desktop screen, wider than high as the slide show expects.
    static constexpr int kScreenWidth = 1920;
    static constexpr int kScreenHeight = 1080;

    XSession() = default;
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // Starts Xvfb and then openbox, and waits until the window manager is running.
    bool start(QString* error);
    // Ends openbox and Xvfb. Harmless when not started.
    void stop();
    // Ends Xvfb alone, as a display that goes away: its clients' connections break.
    void endServer();
    // A window's content as the server holds it, through a connection of its own, for a
    // display other than the one this process's Qt is connected to. Null when it cannot.
    QImage grab(unsigned long window) const;

    QString display() const { return QStringLiteral(":%1").arg(m_number); }
    // This process's environment with DISPLAY pointing at the session.
    QProcessEnvironment environment() const;

private:
    bool startServer(int number, QString* error);
    bool startWindowManager(QString* error);

    QTemporaryDir m_home;
    QProcess m_server;
    QProcess m_windowManager;
    int m_number = -1;
};

// The session the test program's main started, or the reason it has none.
struct SharedSession {
    XSession* session = nullptr;
    QString error;
};
SharedSession& sharedSession();

// The real program, started on a session, with its drives and runtime folder in a
// temporary folder.
class ProgramUnderTest {
public:
    explicit ProgramUnderTest(const XSession& session);
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // Starts the program with `arguments` after its name, or those set before.
    bool start(QString* error, const QStringList& arguments = {});
    // The folder of its drives C: and D:.
    QString folder() const { return m_dir.path(); }
    // Where the program keeps its pictures: a folder of its temporary folder unless set
    // before start(), as a test that starts the program twice on one history does.
    void setHistoryFolder(const QString& folder) { m_historyFolder = folder; }
    QString historyFolder() const;
    // The program's command line, set before start().
    void setArguments(const QStringList& arguments) { m_arguments = arguments; }
    QString driveFolder() const { return m_dir.path(); }
    // Finds the top-level window titled "Form1".
    bool findWindow(std::chrono::milliseconds timeout, QString* error);

    // One left click at (x, y) of the window's client area.
    bool click(int x, int y, QString* error);
    // Presses a key combination (as xdotool names it) with the window focused.
    bool pressKeys(const QString& keys, QString* error);
    // Destroys the program's X window from outside, as `xdotool windowclose` does.
    bool destroyWindow(QString* error);

    // Waits for a top-level window titled exactly `title` (a dialog) to be shown.
    bool waitForWindowTitled(const QString& title, std::chrono::milliseconds timeout, QString* error);
    // Types text, or presses keys, into whatever window has the focus (a dialog).
    bool typeInFocus(const QString& text, QString* error);
    bool pressKeysInFocus(const QString& keys, QString* error);

    // The client area as it is on screen now, on whichever session the program runs.
    QImage grab() const;
    // The atoms of the window's _NET_WM_STATE, as the window manager set them.
    QStringList windowState() const;

    QProcess& process() { return m_process; }
    // What the program wrote to its standard error so far.
    QString errorOutput() const;
    // Whether the program still runs, how it ended, and what it wrote: for failure messages.
    std::string report() const;
    unsigned long window() const { return m_window; }

private:
    ToolRun xdotool(const QStringList& arguments) const;

    const XSession& m_session;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_historyFolder;
    QStringList m_arguments;
    unsigned long m_window = 0;
};

// Ends a child process: politely first, then by force. Harmless when not running.
void endProcess(QProcess& process);

} // namespace mandalix::xtest
