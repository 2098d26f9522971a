#include "app/command_line.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

using Action = CommandLine::Action;

struct Row {
    const char* line;
    Action action;
    const char* textStart; // the text must begin with this; empty for Run
};

const Row kRows[] = {
    {"", Action::Run, ""},
    {"--help", Action::Print, "Usage: mandalix [options] [FILE]\n"},
    {"-h", Action::Print, "Usage: mandalix [options] [FILE]\n"},
    {"--version", Action::Print, "mandalix 1.2.3\n"},
    {"-v", Action::Print, "mandalix 1.2.3\n"},
    {"--no-such-option", Action::Fail, "Unknown option 'no-such-option' (see --help)"},
    {"--help-all", Action::Fail, "Unknown option 'help-all' (see --help)"},
    {"-platform xcb", Action::Fail, "Unknown options: p, l, a, t, f, o, r, m (see --help)"},
    {"a.png b.png", Action::Fail, "unexpected argument \"b.png\": one picture at a time"},
    {"picture.png", Action::Run, ""},
    {"--no-history", Action::Run, ""},
    {"--slideshow --interval 3 a.png", Action::Run, ""},
    {"--interval=3 --slideshow", Action::Run, ""},
    {"--interval 3 a.png", Action::Fail, "--interval: only with --slideshow or --screensaver (see --help)"},
    {"--screensaver --root --interval 3 --no-history", Action::Run, ""},
    {"--screensaver --window-id 0x400001", Action::Run, ""},
    {"--screensaver", Action::Run, ""}, // the window may come from the environment
    {"--root", Action::Fail, "--root: only with --screensaver (see --help)"},
    {"--window-id=5 --slideshow", Action::Fail, "--window-id: only with --screensaver (see --help)"},
    {"--screensaver --root --window-id 5", Action::Fail, "--window-id and --root: one window at a time"},
    {"--screensaver --root --slideshow", Action::Fail, "--screensaver and --slideshow: one at a time"},
    {"--screensaver --root a.png", Action::Fail, "--screensaver opens no picture: \"a.png\""},
    {"--screensaver --root --root", Action::Fail, "--root: given more than once (see --help)"},
    {"--screensaver --window-id", Action::Fail, "Missing value after '--window-id' (see --help)"},
    {"--slideshow --slideshow", Action::Fail, "--slideshow: given more than once (see --help)"},
    {"--slideshow --interval 3 --interval=4", Action::Fail, "--interval: given more than once (see --help)"},
    {"--no-history a.png --no-history", Action::Fail, "--no-history: given more than once (see --help)"},
    {"-h --help", Action::Fail, "--help: given more than once (see --help)"},
    {"--version -v", Action::Fail, "--version: given more than once (see --help)"},
};

TEST(ReadCommandLine, EachLineGetsItsAction)
{
    const QString name = QCoreApplication::applicationName();
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationName(QStringLiteral("mandalix"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.line);
        const CommandLine line = readCommandLine(
            QStringList{QStringLiteral("/usr/bin/mandalix")} + QString::fromUtf8(row.line).split(' ', Qt::SkipEmptyParts));
        EXPECT_EQ(line.action, row.action);
        EXPECT_TRUE(row.action == Action::Run ? line.text.isEmpty() : line.text.startsWith(QString::fromUtf8(row.textStart)))
            << line.text.toStdString();
        EXPECT_EQ(line.action == Action::Fail, line.text.endsWith(QStringLiteral("(see --help)")));
    }
    const auto read = [](const char* arguments) {
        return readCommandLine(QStringList{QStringLiteral("mandalix")} + QString::fromUtf8(arguments).split(' '));
    };
    EXPECT_EQ(read("--no-history a.png").file, QStringLiteral("a.png"));
    EXPECT_FALSE(read("--no-history a.png").keepsHistory);
    EXPECT_TRUE(read("a.png").keepsHistory);
    // What the user typed is quoted in one line, whatever it holds.
    EXPECT_EQ(read("--a\nb").text.toStdString(), "Unknown option 'a\\nb' (see --help)");
    EXPECT_EQ(read("a.png b\x1b[2J.png").text.toStdString(),
              "unexpected argument \"b\\u001b[2J.png\": one picture at a time (see --help)");
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(version);
}

} // namespace
} // namespace mandalix
