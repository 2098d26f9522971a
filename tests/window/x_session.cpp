#include "window/x_session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <sys/prctl.h>

namespace mandalix::xtest {

namespace {

using namespace std::chrono_literals;

constexpr auto kServerDeadline = 15s;
constexpr auto kToolDeadline = 20s;
constexpr int kDisplayTries = 20;

// Children die with this process, so a crashed or timed-out test leaves no X server
// behind. SIGTERM lets Xvfb remove its lock file.
void dieWithParent(QProcess& process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

bool displayIsFree(int number)
{
    return !QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))
        && !QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number));
}

} // namespace

ToolRun runTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment, std::chrono::milliseconds timeout)
{
    QProcess process;
    dieWithParent(process);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForStarted(static_cast<int>(timeout.count()))) {
        run.err = process.errorString().toUtf8();
        return run;
    }
    run.finished = process.waitForFinished(static_cast<int>(timeout.count()))
        && process.exitStatus() == QProcess::NormalExit;
    if (!run.finished)
        endProcess(process);
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QStringList missingTools()
{
    const struct {
        const char* tool;
        const char* package;
    } needed[] = {{"Xvfb", "xvfb"}, {"openbox", "openbox"}, {"xdotool", "xdotool"},
                  {"xprop", "x11-utils"}};
    QStringList missing;
    for (const auto& n : needed)
        if (QStandardPaths::findExecutable(QString::fromLatin1(n.tool)).isEmpty())
            missing << QStringLiteral("%1 (package %2)").arg(n.tool, n.package);
    return missing;
}

int freeDisplayNumber(int from)
{
    int number = from;
    while (!displayIsFree(number))
        ++number;
    return number;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    QDeadlineTimer deadline(timeout);
    for (;;) {
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
}

void endProcess(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

XSession::~XSession() { stop(); }

bool XSession::start(QString* error)
{
    const QStringList missing = missingTools();
    if (!missing.isEmpty()) {
        *error = QStringLiteral("the real-window tests need %1; install them first")
                     .arg(missing.join(QStringLiteral(", ")));
        return false;
    }
    if (!m_home.isValid()) {
        *error = QStringLiteral("cannot make a temporary folder: %1").arg(m_home.errorString());
        return false;
    }
    // Another server may take a number between our look and its start: try the next.
    int number = kFirstDisplay - 1;
    for (int attempt = 0; attempt < kDisplayTries; ++attempt) {
        number = freeDisplayNumber(number + 1);
        if (startServer(number, error))
            return startWindowManager(error);
    }
    return false;
}

bool XSession::startServer(int number, QString* error)
{
    dieWithParent(m_server);
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"),
                    QStringLiteral("0"),
                    QStringLiteral("%1x%2x24").arg(kScreenWidth).arg(kScreenHeight),
                    QStringLiteral("-dpi"), QStringLiteral("96"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!m_server.waitForStarted(5000)) {
        *error = QStringLiteral("cannot start Xvfb: %1").arg(m_server.errorString());
        return false;
    }
    const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
    const bool ready = waitFor(
        [&] {
            return QFileInfo::exists(socket) || m_server.state() == QProcess::NotRunning;
        },
        kServerDeadline);
    if (ready && m_server.state() == QProcess::Running) {
        m_number = number;
        return true;
    }
    *error = ready ? QStringLiteral("Xvfb on :%1 ended at once (exit code %2)")
                         .arg(number)
                         .arg(m_server.exitCode())
                   : QStringLiteral("Xvfb on :%1 made no socket within %2 s")
                         .arg(number)
                         .arg(std::chrono::seconds(kServerDeadline).count());
    endProcess(m_server);
    return false;
}

bool XSession::startWindowManager(QString* error)
{
    QProcessEnvironment env = environment();
    // The defaults from /etc/xdg, whatever the user running the tests has configured.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
    dieWithParent(m_windowManager);
    m_windowManager.setProcessEnvironment(env);
    m_windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager.setStandardOutputFile(QProcess::nullDevice());
    m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_windowManager.waitForStarted(5000)) {
        *error = QStringLiteral("cannot start openbox: %1").arg(m_windowManager.errorString());
        return false;
    }
    // A running window manager announces itself on the root window.
    const bool running = waitFor(
        [&] {
            const ToolRun run = runTool(QStringLiteral("xprop"),
                                        {QStringLiteral("-root"),
                                         QStringLiteral("_NET_SUPPORTING_WM_CHECK")},
                                        env, kToolDeadline);
            return m_windowManager.state() == QProcess::NotRunning
                || run.out.contains("window id");
        },
        kServerDeadline);
    if (running && m_windowManager.state() == QProcess::Running)
        return true;
    *error = QStringLiteral("openbox did not start on %1").arg(display());
    return false;
}

void XSession::stop()
{
    endProcess(m_windowManager);
    endProcess(m_server);
}

void XSession::endServer() { endProcess(m_server); }

QImage XSession::grab(unsigned long window) const
{
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(display().toLocal8Bit().constData(), nullptr), xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return {};
    const auto c = connection.get();
    const std::unique_ptr<xcb_get_geometry_reply_t, void (*)(void*)> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), std::free);
    if (!geometry || geometry->depth != 24)
        return {};
    const int width = geometry->width;
    const int height = geometry->height;
    const std::unique_ptr<xcb_get_image_reply_t, void (*)(void*)> image(
        xcb_get_image_reply(c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                             geometry->width, geometry->height, ~0u),
                            nullptr),
        std::free);
    // Xvfb's 24-bit screen keeps a pixel in 32 bits, blue first, with no padding.
    if (!image || xcb_get_image_data_length(image.get()) != width * height * 4)
        return {};
    QImage shot(width, height, QImage::Format_RGB32);
    const auto* data = reinterpret_cast<const quint32*>(xcb_get_image_data(image.get()));
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(shot.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = 0xFF000000u | data[y * width + x];
    }
    return shot;
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display());
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

SharedSession& sharedSession()
{
    static SharedSession shared;
    return shared;
}

ProgramUnderTest::ProgramUnderTest(const XSession& session)
    : m_session(session)
{
}

ProgramUnderTest::~ProgramUnderTest() { endProcess(m_process); }

bool ProgramUnderTest::start(QString* error, const QStringList& arguments)
{
    if (!m_dir.isValid()) {
        *error = QStringLiteral("cannot make a temporary folder: %1").arg(m_dir.errorString());
        return false;
    }
    QProcessEnvironment env = m_session.environment();
    // The program chooses its own platform, scale and font; the tests' settings stay out.
    for (const char* name : {"QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                             "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("MANDALIX_DRIVE_C"), m_dir.path());
    env.insert(QStringLiteral("MANDALIX_DRIVE_D"), m_dir.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    // Settings and favourites go to the test's folder, never the user's.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("MANDALIX_HISTORY_DIR"), historyFolder());
    dieWithParent(m_process);
    m_process.setProcessEnvironment(env);
    // Into files, so the program never waits on a full pipe that nobody reads.
    m_process.setStandardOutputFile(m_dir.filePath(QStringLiteral("stdout.txt")));
    m_process.setStandardErrorFile(m_dir.filePath(QStringLiteral("stderr.txt")));
    m_process.start(QStringLiteral(MANDALIX_EXECUTABLE), arguments.isEmpty() ? m_arguments : arguments);
    if (!m_process.waitForStarted(10000)) {
        *error = QStringLiteral("cannot start %1: %2")
                     .arg(QStringLiteral(MANDALIX_EXECUTABLE), m_process.errorString());
        return false;
    }
    return true;
}

QString ProgramUnderTest::historyFolder() const
{
    return m_historyFolder.isEmpty() ? m_dir.filePath(QStringLiteral("history")) : m_historyFolder;
}

bool ProgramUnderTest::findWindow(std::chrono::milliseconds timeout, QString* error)
{
    QProcessEnvironment env = m_session.environment();
    const ToolRun run = runTool(QStringLiteral("xdotool"),
                                {QStringLiteral("search"), QStringLiteral("--sync"),
                                 QStringLiteral("--name"), QStringLiteral("^Form1$")},
                                env, timeout);
    const QList<QByteArray> ids = run.out.trimmed().split('\n');
    bool isNumber = false;
    m_window = ids.value(0).toULong(&isNumber);
    if (run.finished && run.exitCode == 0 && isNumber && m_window != 0)
        return true;
    *error = QStringLiteral("no window titled Form1 appeared within %1 ms (program %2)")
                 .arg(timeout.count())
                 .arg(m_process.state() == QProcess::Running ? QStringLiteral("running")
                                                             : QStringLiteral("ended"));
    return false;
}

ToolRun ProgramUnderTest::xdotool(const QStringList& arguments) const
{
    return runTool(QStringLiteral("xdotool"), arguments, m_session.environment(),
                   kToolDeadline);
}

bool ProgramUnderTest::click(int x, int y, QString* error)
{
    const ToolRun run = xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"),
                                 QString::number(m_window), QString::number(x),
                                 QString::number(y), QStringLiteral("click"),
                                 QStringLiteral("1")});
    if (run.finished && run.exitCode == 0)
        return true;
    *error = QStringLiteral("xdotool could not click at (%1, %2): %3")
                 .arg(x)
                 .arg(y)
                 .arg(QString::fromLocal8Bit(run.err));
    return false;
}

bool ProgramUnderTest::pressKeys(const QString& keys, QString* error)
{
    // The window manager acts on keys for the active window: make sure it is ours.
    const QString id = QString::number(m_window);
    const bool active = waitFor(
        [&] {
            xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
            const ToolRun run = xdotool({QStringLiteral("getactivewindow")});
            return run.out.trimmed() == id.toLatin1();
        },
        kToolDeadline);
    if (!active) {
        *error = QStringLiteral("the window never became the active one");
        return false;
    }
    const ToolRun run = xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
    if (run.finished && run.exitCode == 0)
        return true;
    *error = QStringLiteral("xdotool could not press %1: %2")
                 .arg(keys, QString::fromLocal8Bit(run.err));
    return false;
}

bool ProgramUnderTest::destroyWindow(QString* error)
{
    const ToolRun run = xdotool({QStringLiteral("windowclose"), QString::number(m_window)});
    if (run.finished && run.exitCode == 0)
        return true;
    *error = QStringLiteral("xdotool could not destroy the window: %1").arg(QString::fromLocal8Bit(run.err));
    return false;
}

bool ProgramUnderTest::waitForWindowTitled(const QString& title, std::chrono::milliseconds timeout,
                                           QString* error)
{
    const QString pattern = QStringLiteral("^%1$").arg(QRegularExpression::escape(title));
    const bool shown = waitFor(
        [&] {
            const ToolRun run = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--name"), pattern});
            return run.finished && run.exitCode == 0 && !run.out.trimmed().isEmpty();
        },
        timeout);
    if (!shown)
        *error = QStringLiteral("no window titled \"%1\" appeared within %2 ms").arg(title).arg(timeout.count());
    return shown;
}

bool ProgramUnderTest::typeInFocus(const QString& text, QString* error)
{
    const ToolRun run = xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
    if (run.finished && run.exitCode == 0)
        return true;
    *error = QStringLiteral("xdotool could not type %1: %2").arg(text, QString::fromLocal8Bit(run.err));
    return false;
}

bool ProgramUnderTest::pressKeysInFocus(const QString& keys, QString* error)
{
    const ToolRun run = xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
    if (run.finished && run.exitCode == 0)
        return true;
    *error = QStringLiteral("xdotool could not press %1: %2").arg(keys, QString::fromLocal8Bit(run.err));
    return false;
}

QImage ProgramUnderTest::grab() const
{
    if (qgetenv("DISPLAY") != m_session.display().toLocal8Bit())
        return m_window == 0 ? QImage() : m_session.grab(m_window);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || m_window == 0)
        return {};
    return screen->grabWindow(static_cast<WId>(m_window))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QString ProgramUnderTest::errorOutput() const
{
    QFile file(m_dir.filePath(QStringLiteral("stderr.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll());
}

std::string ProgramUnderTest::report() const
{
    QString state;
    if (m_process.state() != QProcess::NotRunning)
        state = QStringLiteral("the program is running");
    else if (m_process.exitStatus() == QProcess::CrashExit)
        state = QStringLiteral("the program was ended by a signal");
    else
        state = QStringLiteral("the program exited with code %1").arg(m_process.exitCode());
    const QString errors = errorOutput().trimmed();
    if (!errors.isEmpty())
        state += QStringLiteral("; it wrote:\n") + errors;
    return state.toStdString();
}

QStringList ProgramUnderTest::windowState() const
{
    const ToolRun run = runTool(QStringLiteral("xprop"),
                                {QStringLiteral("-id"), QString::number(m_window),
                                 QStringLiteral("_NET_WM_STATE")},
                                m_session.environment(), kToolDeadline);
    // _NET_WM_STATE(ATOM) = _NET_WM_STATE_MAXIMIZED_VERT, _NET_WM_STATE_MAXIMIZED_HORZ
    const QString text = QString::fromLocal8Bit(run.out);
    const qsizetype equals = text.indexOf(u'=');
    if (!run.finished || equals < 0)
        return {};
    QStringList atoms = text.mid(equals + 1).split(u',', Qt::SkipEmptyParts);
    for (QString& atom : atoms)
        atom = atom.trimmed();
    return atoms;
}

} // namespace mandalix::xtest
