#include "app/command_line.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(ReadCommandLine, EachLineGetsItsAction)
{
    const QString name = QCoreApplication::applicationName();
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationName(QStringLiteral("mandalix"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
    using Action = CommandLine::Action;
    struct Row {
        const char* line;
        Action action;
        const char* textStart; // the text must begin with this; empty for Run
    };
    const Row rows[] = {
        {"", Action::Run, ""},
        {"--help", Action::Print, "Usage: mandalix [options]\n"},
        {"-h", Action::Print, "Usage: mandalix [options]\n"},
        {"--version", Action::Print, "mandalix 1.2.3\n"},
        {"-v", Action::Print, "mandalix 1.2.3\n"},
        {"--no-such-option", Action::Fail, "Unknown option 'no-such-option'."},
        {"--help-all", Action::Fail, "Unknown option 'help-all'."},
        {"-platform xcb", Action::Fail, "Unknown options: p, l, a, t, f, o, r, m."},
        {"picture.png", Action::Fail, "unexpected argument \"picture.png\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const CommandLine line = readCommandLine(
            QStringList{QStringLiteral("/usr/bin/mandalix")} + QString::fromUtf8(row.line).split(' ', Qt::SkipEmptyParts));
        EXPECT_EQ(line.action, row.action);
        EXPECT_TRUE(row.action == Action::Run ? line.text.isEmpty() : line.text.startsWith(QString::fromUtf8(row.textStart)))
            << line.text.toStdString();
        EXPECT_EQ(line.action == Action::Fail, line.text.endsWith(QStringLiteral("(see --help)")));
    }
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(version);
}

} // namespace
} // namespace mandalix
