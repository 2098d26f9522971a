#include "desktop/desktop_command.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

namespace mandalix {

namespace {

QString findProgram(const CommandPath& path, const QString& program)
{
    return path.folders.isEmpty() ? QStandardPaths::findExecutable(program)
                                  : QStandardPaths::findExecutable(program, path.folders);
}

// The first line of what a command said, for a message of one line.
QString firstLine(const QByteArray& text)
{
    const QString line = QString::fromLocal8Bit(text).trimmed().section(u'\n', 0, 0).trimmed();
    return line.left(200);
}

} // namespace

bool hasDesktopCommand(const CommandPath& path, const QString& program)
{
    return !findProgram(path, program).isEmpty();
}

Result<QByteArray> runDesktopCommand(const CommandPath& path, const QString& program, const QStringList& arguments,
                                     int timeoutMs)
{
    using Run = Result<QByteArray>;
    const QString executable = findProgram(path, program);
    if (executable.isEmpty())
        return Run::failure(QStringLiteral("%1 is not installed").arg(program));
    QProcess process;
    process.setProgram(executable);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(timeoutMs))
        return Run::failure(QStringLiteral("%1 could not be started: %2").arg(program, process.errorString()));
    QElapsedTimer clock;
    clock.start();
    while (!process.waitForFinished(kDesktopCommandPollMs) && process.state() != QProcess::NotRunning) {
        const bool isCancelled = path.cancel && path.cancel->load(std::memory_order_acquire);
        if (isCancelled || clock.elapsed() >= timeoutMs) {
            process.kill();
            process.waitForFinished(timeoutMs);
            return Run::failure(isCancelled ? QStringLiteral("%1 was stopped: the program is ending").arg(program)
                                            : QStringLiteral("%1 did not answer within %2 seconds")
                                                  .arg(program).arg(timeoutMs / 1000));
        }
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return Run::failure(QStringLiteral("%1 crashed").arg(program));
    const QByteArray output = process.readAllStandardOutput();
    if (process.exitCode() != 0) {
        const QString said = firstLine(process.readAllStandardError());
        return Run::failure(said.isEmpty() ? QStringLiteral("%1 ended with code %2").arg(program).arg(process.exitCode())
                                           : QStringLiteral("%1 answered: %2").arg(program, said));
    }
    return Run::success(output);
}

} // namespace mandalix
