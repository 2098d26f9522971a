// Starts the window program: answers --help and --version without a display, reads
// the slide show's and the screensaver's options (a bad one ends it with status 2 and one
// line), checks that a display can be opened, sets the fixed style, font and icon, and
// shows Form1 maximized with the start-up sequence queued, then the slide show when asked
// for; or, with --screensaver, paints the slide show into another program's window and
// shows nothing of its own. With --no-history nothing is kept on disk. A window destroyed from outside ends it as "exit"
// does, and so do SIGTERM, SIGHUP and SIGINT; a display that goes away ends it with status
// 1 and one line, the picture on show kept.
#include "program/allocator_policy.h"
#include "base/exit_codes.h"
#include "base/work_pool.h"
#include "app/command_line.h"
#include "app/display_loss_watch.h"
#include "app/form1.h"
#include "app/screensaver_options.h"
#include "app/screensaver_run.h"
#include "app/signal_watch.h"
#include "app/slide_show_options.h"
#include "app/window_loss_watch.h"
#include "output/drives.h"
#include "history/history_folder.h"
#include "history/picture_history.h"
#include "program/program.h"
#include "state/clock.h"
#include "surface/interface_font.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QStringList>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// Messages Qt gives while the application object is being made, held back until it is.
QStringList& earlyMessages()
{
    static QStringList messages;
    return messages;
}

// Qt ends the process with a fatal message, after warnings of its own, when no display
// can be opened; say so in one plain line instead and exit without a core dump.
void startupMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        earlyMessages() << message;
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    std::fprintf(stderr, "mandalix: cannot open the display%s%s%s.\n",
                 display.isEmpty() ? " (DISPLAY is not set" : " (DISPLAY=",
                 display.constData(), ")");
    std::fflush(stderr);
    std::_Exit(1);
}

// The icon set made at build time from the program's own picture, every size of it.
QIcon programIcon()
{
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("*.png")}, QDir::Files,
                      QDirIterator::Subdirectories);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    return icon;
}

// The look every run shares: the program's icon, the Fusion style and the one font.
void setApplicationLook()
{
    QApplication::setWindowIcon(programIcon());
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(mandalix::interfaceFont());
}

// The history of kept pictures, when this run keeps one; the window joins it to the session.
std::unique_ptr<mandalix::PictureHistory> startHistory(bool keepsHistory)
{
    if (!keepsHistory)
        return nullptr;
    return std::make_unique<mandalix::PictureHistory>(mandalix::historyFolderFromEnvironment());
}

// What the command line asks for, read before the application object exists.
struct Options {
    mandalix::CommandLine line;
    mandalix::SlideShowOptions slideShow;
    mandalix::ScreensaverOptions screensaver;
};

// Reads the command line into `options`. The exit status when the program ends here:
// after --help or --version, or with one line for a line that cannot be used.
std::optional<int> readOptions(int argc, char** argv, Options& options)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    options.line = mandalix::readCommandLine(arguments);
    if (options.line.action == mandalix::CommandLine::Action::Print) {
        std::fputs(qPrintable(options.line.text), stdout);
        return 0;
    }
    if (options.line.action == mandalix::CommandLine::Action::Fail) {
        std::fprintf(stderr, "mandalix: %s\n", qPrintable(options.line.text));
        return mandalix::kExitUsage;
    }
    const mandalix::Result<mandalix::SlideShowOptions> slideShow = mandalix::slideShowOptions(arguments.mid(1));
    const mandalix::Result<mandalix::ScreensaverOptions> screensaver = mandalix::screensaverOptions(
        arguments.mid(1), qEnvironmentVariable("XSCREENSAVER_WINDOW"));
    for (const QString* message : {&slideShow.message, &screensaver.message})
        if (!message->isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(*message));
            return mandalix::kExitUsage;
        }
    options.slideShow = slideShow.value;
    options.screensaver = screensaver.value;
    // The screensaver's windows are X's, also where a Wayland compositor runs beside them.
    if (options.screensaver.isScreensaver && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    mandalix::returnPictureBlocksToTheSystem();
    mandalix::setApplicationIdentity();
    Options options;
    if (const std::optional<int> status = readOptions(argc, argv, options))
        return *status;
    const mandalix::CommandLine& line = options.line;
    const mandalix::SlideShowOptions& slideShow = options.slideShow;

    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    for (const QString& message : earlyMessages())
        std::fprintf(stderr, "%s\n", qPrintable(message));
    setApplicationLook();
    // The painting pool starts with the window, so the window runs one set of threads
    // from start to end.
    mandalix::sharedPool();
    if (options.screensaver.isScreensaver)
        return mandalix::runScreensaver(options.screensaver, slideShow.interval);

    mandalix::SystemClock clock;
    mandalix::Session session(clock, mandalix::drivesFromEnvironment());
    const std::unique_ptr<mandalix::PictureHistory> history = startHistory(line.keepsHistory);
    mandalix::Form1 form(session, history.get());
    // A window destroyed from outside ends the program as "exit" does.
    mandalix::WindowLossWatch watch(form, [&form] { form.close(); });
    app.installNativeEventFilter(&watch);
    const mandalix::DisplayLossWatch displayWatch([&form] { form.endWithoutDisplay(); });
    // A logout or `kill` ends the program as "exit" does, also from inside a dialog.
    const mandalix::SignalWatch signalWatch([&form](int) {
        form.close();
        QCoreApplication::exit(0);
    });
    form.setSlideShowInterval(slideShow.interval);
    form.showMaximized();
    form.start();
    // A picture's PNG named on the command line is opened once start-up has painted.
    if (!line.file.isEmpty())
        form.openFile(line.file);
    if (slideShow.isSlideShow)
        form.openSlideShow();
    return app.exec();
}
