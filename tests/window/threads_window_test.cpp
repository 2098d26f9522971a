// The threads of the running window: the program's own are a fixed set, named, started
// with the window and never more; painting pictures starts none.
#include "window/real_window_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <thread>

namespace mandalix::xtest {
namespace {

// The name of every thread of process `pid`, sorted.
QStringList threadNames(qint64 pid)
{
    QStringList names;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly))
            names.push_back(QString::fromUtf8(comm.readAll()).trimmed());
    }
    names.sort();
    return names;
}

// The program's own threads, as the docs name them: the window's thread, one serial queue
// per long-lived worker, and the painting pool of one thread less than the processors.
QStringList ownThreads()
{
    QStringList names = {QStringLiteral("mandalix"), QStringLiteral("mandalix-cmd"),
                         QStringLiteral("mandalix-export"), QStringLiteral("mandalix-hist"),
                         QStringLiteral("mandalix-open")};
    const int processors = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    for (int k = 0; k < processors - 1; ++k)
        names.push_back(QStringLiteral("mandalix-pool%1").arg(k));
    names.sort();
    return names;
}

QStringList programsOwn(const QStringList& names)
{
    QStringList own;
    std::copy_if(names.begin(), names.end(), std::back_inserter(own),
                 [](const QString& name) { return name.startsWith(QStringLiteral("mandalix")); });
    return own;
}

TEST_F(RealWindowTest, Threads_AnIdleWindowRunsAFixedSetAndPaintingStartsNone)
{
    waitUntilStartedUp();
    waitUntilPictureIsStill();
    const qint64 pid = m_program->process().processId();
    const QStringList afterStartUp = threadNames(pid);
    EXPECT_EQ(programsOwn(afterStartUp).join(u' ').toStdString(), ownThreads().join(u' ').toStdString());

    // Two new pictures, each painted to its end and kept in the history.
    for (int k = 0; k < 2; ++k) {
        click("Command6");
        waitUntilPictureIsStill();
    }
    const QStringList afterPainting = threadNames(pid);
    EXPECT_EQ(afterPainting.join(u' ').toStdString(), afterStartUp.join(u' ').toStdString());
}

} // namespace
} // namespace mandalix::xtest
