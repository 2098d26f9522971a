#include "app/command_line.h"

#include "app/one_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

namespace mandalix {

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("mandalix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MANDALIX_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("mandalix"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("mandalix.github.io"));
    // Names the installed mandalix.desktop, so the desktop shows its icon for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("mandalix"));
}

namespace {

// Qt's usage line names the program by the application object's first argument, or
// "<executable_name>" before there is one; ours always says "mandalix".
QString helpWithName(QString help)
{
    const QString usage = QStringLiteral("Usage: ");
    const qsizetype nameEnd = help.indexOf(u' ', usage.size());
    if (help.startsWith(usage) && nameEnd > 0)
        help.replace(usage.size(), nameEnd - usage.size(), QCoreApplication::applicationName());
    return help;
}

// The first problem of options that parse but cannot go together: one given twice
// (one of its values would go unused), an interval without a slide show to time, a
// window without the screensaver, two windows, or the screensaver with what only the
// window program does.
QString optionProblem(const QCommandLineParser& parser)
{
    QStringList seen;
    for (QString name : parser.optionNames()) {
        if (name == QLatin1String("h") || name == QLatin1String("v"))
            name = name == QLatin1String("h") ? QStringLiteral("help") : QStringLiteral("version");
        if (seen.contains(name))
            return QStringLiteral("--%1: given more than once (see --help)").arg(oneLine(name));
        seen << name;
    }
    const auto has = [&seen](const char* name) { return seen.contains(QLatin1String(name)); };
    const bool isScreensaver = has("screensaver");
    if (has("interval") && !has("slideshow") && !isScreensaver)
        return QStringLiteral("--interval: only with --slideshow or --screensaver (see --help)");
    for (const char* window : {"window-id", "root"})
        if (has(window) && !isScreensaver)
            return QStringLiteral("--%1: only with --screensaver (see --help)").arg(QLatin1String(window));
    if (has("window-id") && has("root"))
        return QStringLiteral("--window-id and --root: one window at a time (see --help)");
    if (isScreensaver && has("slideshow"))
        return QStringLiteral("--screensaver and --slideshow: one at a time (see --help)");
    if (isScreensaver && !parser.positionalArguments().isEmpty())
        return QStringLiteral("--screensaver opens no picture: \"%1\" (see --help)")
            .arg(oneLine(parser.positionalArguments().front()));
    return {};
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Paints random mandala pictures in a window: watch each one being painted, repeat it,\n"
        "draw new palettes, recolour one colour with two clicks and save the picture."));
    // Not addHelpOption(): its --help-all lists Qt's own options, which this line refuses.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption noHistory(QStringLiteral("no-history"),
                                       QStringLiteral("Keeps no history of the pictures on disk."));
    parser.addOption(noHistory);
    // The slide show's values are read and checked by slideShowOptions().
    parser.addOption({QStringLiteral("slideshow"), QStringLiteral("Opens the full-screen slide show at start.")});
    parser.addOption({QStringLiteral("interval"),
                      QStringLiteral("How long each picture of the slide show stays, in seconds (default 8)."),
                      QStringLiteral("SECONDS")});
    // The screensaver's window is read and checked by screensaverOptions().
    parser.addOption({QStringLiteral("screensaver"),
                      QStringLiteral("Paints the slide show into another program's window, as XScreenSaver's "
                                     "hack, keeping nothing: the window of --window-id, else "
                                     "$XSCREENSAVER_WINDOW, else --root.")});
    parser.addOption({QStringLiteral("window-id"),
                      QStringLiteral("With --screensaver: the X window to paint into (decimal, or hex after 0x)."),
                      QStringLiteral("ID")});
    parser.addOption({QStringLiteral("root"), QStringLiteral("With --screensaver: paints on the screen's root window.")});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A PNG written by mandalix to open at start."),
                                 QStringLiteral("[FILE]"));

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.action = CommandLine::Action::Fail;
        // Qt ends its sentence with a full stop; ours goes on with where to look.
        QString error = parser.errorText();
        if (error.endsWith(u'.'))
            error.chop(1);
        line.text = oneLine(error) + QStringLiteral(" (see --help)");
    } else if (const QString problem = optionProblem(parser); !problem.isEmpty()) {
        line.action = CommandLine::Action::Fail;
        line.text = problem;
    } else if (parser.isSet(help)) {
        line.action = CommandLine::Action::Print;
        line.text = helpWithName(parser.helpText());
    } else if (parser.isSet(version)) {
        line.action = CommandLine::Action::Print;
        line.text = QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() + u'\n';
    } else if (parser.positionalArguments().size() > 1) {
        line.action = CommandLine::Action::Fail;
        line.text = QStringLiteral("unexpected argument \"%1\": one picture at a time (see --help)")
                        .arg(oneLine(parser.positionalArguments().at(1)));
    } else {
        line.keepsHistory = !parser.isSet(noHistory);
        if (!parser.positionalArguments().isEmpty())
            line.file = parser.positionalArguments().front();
    }
    return line;
}

} // namespace mandalix
