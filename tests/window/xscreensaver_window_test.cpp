// The screensaver under XScreenSaver itself, which runs as an unprivileged user as it
// insists (nobody, when the tests run as root): -activate starts the hack painting in the
// saver's window within 3 s, -deactivate ends it within 1 s. Skipped where XScreenSaver
// or Xvfb is not installed.
#include "window/real_window_fixture.h"

#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace mandalix::xtest {
namespace {

using namespace std::chrono_literals;

// The picture's square on the test screen: the shorter side, centred.
const QRect kSquare(420, 0, 1080, 1080);
constexpr auto kStartDeadline = 3s;
constexpr auto kEndDeadline = 1s;
// The user XScreenSaver runs as when the tests run as root.
constexpr int kNobody = 65534;

// Pixels of the image not black, counted on every third row and column.
int paintedCount(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            count += isBlack(image.pixel(x, y)) ? 0 : 1;
    return count;
}

// The processes whose first argument is `program`.
QList<pid_t> processesOf(const QString& program)
{
    QList<pid_t> found;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (isPid && cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().split('\0').value(0) == program.toLocal8Bit())
            found << pid;
    }
    return found;
}

// Gone, or a zombie its parent has yet to reap.
bool hasEnded(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

// The root window of a session's display.
unsigned long rootOf(const XSession& session)
{
    xcb_connection_t* c = xcb_connect(session.display().toLocal8Bit().constData(), nullptr);
    const unsigned long root = xcb_connection_has_error(c) ? 0 : xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_disconnect(c);
    return root;
}

// The sanitizers' options with every suppressions file copied into `folder`, which the
// user the hack runs as can read.
void carrySuppressions(QProcessEnvironment& env, const QDir& folder)
{
    static const QRegularExpression file(QStringLiteral("(?:^|:)suppressions=([^:]+)"));
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"}) {
        QString options = env.value(QString::fromLatin1(name));
        const QRegularExpressionMatch match = file.match(options);
        if (!match.hasMatch())
            continue;
        const QString copy = folder.filePath(QString::fromLatin1(name) + QStringLiteral(".supp"));
        QFile::copy(match.captured(1), copy);
        env.insert(QString::fromLatin1(name), options.replace(match.captured(1), copy));
    }
}

class XScreenSaverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"xscreensaver", "xscreensaver-command", "Xvfb"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps test installs xscreensaver and xvfb)";
        QString error;
        ASSERT_TRUE(m_session.start(&error)) << error.toStdString();
        ASSERT_TRUE(m_programDir.isValid() && m_home.isValid());
        m_isRoot = ::geteuid() == 0;
        // The clone may lie where only root may go: the program runs from a copy.
        m_program = m_programDir.filePath(QStringLiteral("mandalix"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(MANDALIX_EXECUTABLE), m_program));
        ASSERT_EQ(::chmod(m_programDir.path().toLocal8Bit().constData(), 0755), 0);
        ASSERT_EQ(::chmod(m_program.toLocal8Bit().constData(), 0755), 0);
        QFile settings(QDir(m_home.path()).filePath(QStringLiteral(".xscreensaver")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(QStringLiteral("timeout: 0:01:00\ncycle: 0:00:00\nlock: False\nfade: False\n"
                                      "unfade: False\nsplash: False\ndpmsEnabled: False\nmode: one\n"
                                      "selected: 0\nprograms: %1 --screensaver --root \\n\n")
                           .arg(m_program).toLocal8Bit());
        settings.close();
        ASSERT_TRUE(QDir(m_home.path()).mkdir(QStringLiteral("run")));
        for (const QString& path : {m_home.path(), settings.fileName(), m_home.filePath(QStringLiteral("run"))})
            ASSERT_TRUE(!m_isRoot || ::chown(path.toLocal8Bit().constData(), kNobody, kNobody) == 0);
        m_env = m_session.environment();
        m_env.insert(QStringLiteral("HOME"), m_home.path());
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("run")));
        for (const char* name : {"QT_QPA_PLATFORM", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            m_env.remove(QString::fromLatin1(name));
        carrySuppressions(m_env, QDir(m_programDir.path()));
        startDaemon();
    }

    void TearDown() override
    {
        endProcess(m_daemon);
        for (const pid_t pid : processesOf(m_program))
            ::kill(pid, SIGKILL);
    }

    // XScreenSaver launches no hack as root: it runs as nobody then, as its own user else.
    void startDaemon()
    {
        m_daemon.setProcessEnvironment(m_env);
        m_daemon.setStandardOutputFile(m_home.filePath(QStringLiteral("run/daemon.log")));
        m_daemon.setProcessChannelMode(QProcess::MergedChannels);
        const QStringList daemon{QStringLiteral("xscreensaver"), QStringLiteral("-no-splash")};
        if (m_isRoot)
            m_daemon.start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                                                 QStringLiteral("--clear-groups")} + daemon);
        else
            m_daemon.start(daemon.front(), daemon.mid(1));
        ASSERT_TRUE(m_daemon.waitForStarted(5000)) << m_daemon.errorString().toStdString();
        ASSERT_TRUE(waitFor([&] { return command(QStringLiteral("-time")).exitCode == 0; }, 20s))
            << "XScreenSaver did not answer: " << log();
    }

    ToolRun command(const QString& what) const
    {
        return runTool(QStringLiteral("xscreensaver-command"), {what}, m_env, 10s);
    }

    std::string log() const
    {
        QFile file(m_home.filePath(QStringLiteral("run/daemon.log")));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(no log)");
    }

    XSession m_session;
    QTemporaryDir m_programDir{QStringLiteral("/tmp/mandalix-saver-XXXXXX")};
    QTemporaryDir m_home{QStringLiteral("/tmp/mandalix-saver-home-XXXXXX")};
    QString m_program;
    QProcessEnvironment m_env;
    QProcess m_daemon;
    bool m_isRoot = false;
};

TEST_F(XScreenSaverTest, ActivatePaintsAMandalaInTheSaverWindowAndDeactivateEndsIt)
{
    const unsigned long root = rootOf(m_session);
    ASSERT_NE(root, 0u);
    ASSERT_EQ(command(QStringLiteral("-activate")).exitCode, 0) << log();
    // The hack runs, and the square on the screen is painted and changing.
    QList<pid_t> hack;
    QImage before;
    const bool isPainting = waitFor(
        [&] {
            hack = processesOf(m_program);
            const QImage now = region(m_session.grab(root), kSquare);
            const bool isChanging = !before.isNull() && now != before && paintedCount(now) > 1000;
            before = now;
            return hack.size() == 1 && isChanging;
        },
        kStartDeadline);
    ASSERT_TRUE(isPainting) << "no mandala painting " << std::chrono::seconds(kStartDeadline).count()
                            << " s after -activate; hack processes: " << hack.size() << "\n" << log();

    ASSERT_EQ(command(QStringLiteral("-deactivate")).exitCode, 0) << log();
    EXPECT_TRUE(waitFor([&] { return hasEnded(hack.front()); }, kEndDeadline))
        << "the hack still runs " << std::chrono::milliseconds(kEndDeadline).count() << " ms after -deactivate\n" << log();
}

} // namespace
} // namespace mandalix::xtest
