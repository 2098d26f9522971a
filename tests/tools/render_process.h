// The built mandalix-render run as a user runs it, in a test's own folder: its exit
// status and both streams, and the files it left. For the tests of its command line.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mandalix {

struct Finished {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

struct MandalixRender : ::testing::Test {
    QTemporaryDir dir;

    // Runs the renderer in the test's folder, with no display of any kind.
    Finished run(const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(MANDALIX_RENDER_EXECUTABLE), arguments);
        EXPECT_TRUE(process.waitForFinished(120000)) << arguments.join(' ').toStdString();
        Finished result;
        result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    // Runs and expects success with nothing on either stream.
    void runOk(const QString& line) const
    {
        const Finished result = run(line.split(' '));
        EXPECT_EQ(result.status, 0) << line.toStdString() << ": " << result.err.toStdString();
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, "");
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QByteArray contents(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList files() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }
};

} // namespace mandalix
