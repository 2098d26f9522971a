// Running a desktop's own command (gsettings, plasma-apply-wallpaperimage, xfconf-query):
// found on a given search path, started directly (never through a shell), given a few
// seconds and killed after them. For the wallpaper's thread; blocks while the command
// runs. A command that is missing, fails to start, takes too long, crashes or exits
// non-zero comes back as a short reason for the user.
#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>

namespace mandalix {

// How long a desktop's command may take.
inline constexpr int kDesktopCommandTimeoutMs = 5000;
inline constexpr int kDesktopCommandPollMs = 50;

// Where commands are looked for, and what ends them early.
struct CommandPath {
    QStringList folders; // empty: the program's PATH
    // When set, a command still running when it turns true is killed: the program ends.
    const std::atomic<bool>* cancel = nullptr;
};

// The command's standard output when it exited with 0; when !ok, why not:
// "gsettings is not installed", "gsettings answered: No such schema ...". Looks at the
// cancel flag every kDesktopCommandPollMs.
Result<QByteArray> runDesktopCommand(const CommandPath& path, const QString& program, const QStringList& arguments,
                                     int timeoutMs = kDesktopCommandTimeoutMs);

// Whether the program is there to run.
bool hasDesktopCommand(const CommandPath& path, const QString& program);

} // namespace mandalix
