// The export thread: a save runs to its file and reports once; a cancel, or its owner
// going away or abandoning it, stops it and leaves no file and the old one
// as it was; it runs on its queue and its pool, and starts no thread of its own.
#include "export/picture_exporter.h"

#include "base/work_pool.h"
#include "render_job.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

// The results the export thread hands over, and a wait for them.
struct Results {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<PictureWrite> writes;

    PictureExporter::Done callback()
    {
        return [this](const PictureWrite& write) {
            std::lock_guard lock(mutex);
            writes.push_back(write);
            changed.notify_all();
        };
    }
    bool waitForOne()
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 120s, [this] { return !writes.empty(); });
    }
    // Whether a write came within `time`.
    bool waitFor(std::chrono::milliseconds time)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, time, [this] { return !writes.empty(); });
    }
};

class ExportThread : public ::testing::Test {
protected:
    ExportJob job(const char* name, int side)
    {
        RenderRequest request;
        request.seed = 3000.25f;
        request.moment = momentOfSeed(QDate(2027, 1, 2), request.seed);
        const RenderedPicture window = renderPicture(request, noPacing());
        return {m_dir.filePath(QString::fromLatin1(name)), window.record, window.picture, QSize(side, side), 2};
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir m_dir;
    Results m_results;
};

TEST_F(ExportThread, WritesItsFileAndReportsOnce)
{
    PictureExporter exporter;
    ExportJob second = job("b.png", 906);
    ASSERT_TRUE(exporter.start(job("a.png", 453 * 16), m_results.callback()));
    EXPECT_FALSE(exporter.start(std::move(second), {})) << "one save at a time";
    ASSERT_TRUE(m_results.waitForOne());
    EXPECT_TRUE(m_results.writes.front().ok) << m_results.writes.front().message.toStdString();
    EXPECT_EQ(QImageReader(m_dir.filePath("a.png")).size(), QSize(453 * 16, 453 * 16));
    EXPECT_EQ(exporter.rowsDone(), 453 * 16);
    EXPECT_EQ(files(), QStringList{QStringLiteral("a.png")});
    EXPECT_EQ(m_results.writes.size(), 1u);
}

TEST_F(ExportThread, CancelStopsItAndKeepsTheOldFile)
{
    QFile old(m_dir.filePath("big.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the old picture");
    old.close();
    PictureExporter exporter;
    ASSERT_TRUE(exporter.start(job("big.png", 453 * 16), m_results.callback()));
    exporter.cancel();
    ASSERT_TRUE(m_results.waitForOne());
    EXPECT_TRUE(m_results.writes.front().value.isCancelled);
    EXPECT_LT(exporter.rowsDone(), 453 * 16) << "it stopped before the last band";
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the old picture"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("big.png")});
}

TEST_F(ExportThread, AnOwnerGoingAwayOrAbandoningItMidwayStopsItWithoutAFileOrAReport)
{
    {
        PictureExporter exporter;
        ASSERT_TRUE(exporter.start(job("big.png", 453 * 16), m_results.callback()));
    }
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(m_results.writes.empty());

    PictureExporter exporter;
    ASSERT_TRUE(exporter.start(job("big.png", 453 * 16), m_results.callback()));
    exporter.abandon();
    EXPECT_FALSE(exporter.isRunning()) << "abandon waits for the thread";
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(m_results.writes.empty());
    ASSERT_TRUE(exporter.start(job("small.png", 906), m_results.callback()));
    ASSERT_TRUE(m_results.waitForOne()) << "a save after an abandoned one reports again";
    EXPECT_EQ(files(), QStringList{QStringLiteral("small.png")});
}

// The threads of this process, as the kernel lists them.
int threadCount() { return static_cast<int>(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()); }

TEST_F(ExportThread, A16xSaveStartsNoThread)
{
    (void)sharedPool();
    PictureExporter exporter;
    ExportJob large = job("a.png", 453 * 16);
    large.threads = processorCount();
    const int before = threadCount();
    ASSERT_TRUE(exporter.start(std::move(large), m_results.callback()));
    int most = before;
    const auto deadline = std::chrono::steady_clock::now() + 120s;
    while (!m_results.waitFor(5ms) && std::chrono::steady_clock::now() < deadline)
        most = std::max(most, threadCount());
    ASSERT_FALSE(m_results.writes.empty());
    EXPECT_TRUE(m_results.writes.front().ok) << m_results.writes.front().message.toStdString();
    EXPECT_EQ(most, before) << "threads started while painting or writing";
    EXPECT_EQ(threadCount(), before);
}

} // namespace
} // namespace mandalix
