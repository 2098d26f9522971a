// The window program's command line. It is read before any application object exists,
// so --help and --version answer without a display. Called once, from main(), on the
// main thread; a line that cannot be used comes back as a one-line message.
#pragma once

#include <QString>
#include <QStringList>

namespace mandalix {

struct [[nodiscard]] CommandLine {
    enum class Action { Run, Print, Fail };
    Action action = Action::Run;
    // Print: the help or version text for standard output; Fail: the message for
    // standard error, e.g. "Unknown option 'x'. (see --help)".
    QString text;
    // Run: what the line asks of the window.
    bool keepsHistory = true; // false with --no-history
    QString file;             // a picture's PNG to open at start, or empty
};

// Sets the application's name, version, organisation and desktop file name. Needs no
// application object; call it before creating one.
void setApplicationIdentity();

// Reads the whole command line, the program's name first.
CommandLine readCommandLine(const QStringList& arguments);

} // namespace mandalix
