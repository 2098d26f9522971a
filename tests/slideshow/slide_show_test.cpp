// The slide show without its window: every new picture has its own strip and record and
// goes to the sink, Left goes back without making a new one, S saves the picture at the
// screen's size as a PNG carrying its record, a save that cannot be made is news, and
// stop ends it at once.
#include "slideshow/slide_show.h"

#include "output/params_file.h"
#include "export/picture_export.h"
#include "program/picture_replay.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace mandalix {
namespace {

using namespace std::chrono_literals;
constexpr auto kDeadline = 60s;

// What the slide show told, with a wait for a condition on it.
struct Told {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<PictureRecord> shown; // painted to their end
    std::vector<std::pair<QString, bool>> news;

    SlideShowSink sink()
    {
        return {[this](const PictureRecord& record) {
                    std::lock_guard lock(mutex);
                    shown.push_back(record);
                    changed.notify_all();
                },
                [this](const QString& text, bool isError) {
                    std::lock_guard lock(mutex);
                    news.emplace_back(text, isError);
                    changed.notify_all();
                }};
    }
    template <typename Condition>
    bool waitFor(Condition condition)
    {
        // Some changes (going back) tell nothing: look again every few milliseconds.
        const auto deadline = std::chrono::steady_clock::now() + kDeadline;
        std::unique_lock lock(mutex);
        while (!condition()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            changed.wait_for(lock, 10ms);
        }
        return true;
    }
};

struct Show {
    explicit Show(Drives drives, std::chrono::milliseconds interval = 1h, QSize saveSize = {})
    {
        SlideShowSettings settings;
        settings.sidePx = 200;
        settings.saveSize = saveSize;
        settings.interval = interval;
        settings.passDuration = 0ms;
        settings.threads = 2;
        WindowState window;
        window.nac = 3;
        show = std::make_unique<SlideShow>(window, clock, std::move(drives), settings, told.sink());
        show->start();
    }
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(8, 15, 0, 125))};
    Told told;
    std::unique_ptr<SlideShow> show;
};

TEST(SlideShow_Pictures, EachNewPictureHasItsOwnStripAndReachesTheSinkOnce)
{
    Show show(Drives{}, 0ms);
    ASSERT_TRUE(show.told.waitFor([&] { return show.told.shown.size() >= 3; }));
    show.show->stop();
    const std::vector<PictureRecord> pictures = show.show->pictures();
    std::lock_guard lock(show.told.mutex);
    // The last may have been stopped before its end.
    ASSERT_GE(show.told.shown.size() + 1, pictures.size());
    EXPECT_TRUE(std::equal(show.told.shown.begin(), show.told.shown.end(), pictures.begin()))
        << "every picture painted to its end, in order, once";
    for (std::size_t k = 0; k < pictures.size(); ++k) {
        EXPECT_EQ(pictures[k].nac, 3) << "the window's generation type";
        EXPECT_FALSE(pictures[k].isRepeat);
        if (k > 0) {
            EXPECT_NE(pictures[k].palette, pictures[k - 1].palette) << "a new strip each time";
        }
    }
}

// Paused, each picture stops at its first block: the one skipped then is never told, so
// the history keeps only pictures that were seen whole.
TEST(SlideShow_Pictures, APictureLeftBeforeItsEndIsNotTold)
{
    Show show(Drives{});
    ASSERT_TRUE(show.told.waitFor([&] { return show.told.shown.size() == 1; }));
    show.show->togglePause();
    show.show->showNext();
    ASSERT_TRUE(show.told.waitFor([&] { return show.show->pictures().size() == 2; }));
    show.show->showNext();
    ASSERT_TRUE(show.told.waitFor([&] { return show.show->pictures().size() == 3; }));
    show.show->togglePause();
    ASSERT_TRUE(show.told.waitFor([&] { return show.told.shown.size() == 2; }));
    const std::vector<PictureRecord> pictures = show.show->pictures();
    show.show->stop();
    std::lock_guard lock(show.told.mutex);
    EXPECT_EQ(show.told.shown, (std::vector<PictureRecord>{pictures[0], pictures[2]}));
}

TEST(SlideShow_Keys, LeftGoesBackWithoutANewPictureAndSSavesAtTheScreensSizeWithItsRecord)
{
    QTemporaryDir folder;
    const QSize screen(320, 200); // wider than the frame's square of 200
    Show show(Drives{folder.path(), folder.path(), false}, 1h, screen);
    ASSERT_TRUE(show.told.waitFor([&] { return show.told.shown.size() == 1; }));
    EXPECT_FALSE(show.show->showPrevious()) << "nothing before the first picture";
    show.show->showNext();
    ASSERT_TRUE(show.told.waitFor([&] { return show.told.shown.size() == 2; }));
    const PictureRecord first = show.told.shown[0];
    EXPECT_TRUE(show.show->showPrevious());
    ASSERT_TRUE(show.told.waitFor([&] { return show.show->pictureOnShow() == first; }));

    show.show->save();
    ASSERT_TRUE(show.told.waitFor([&] { return !show.told.news.empty(); }));
    EXPECT_EQ(show.told.shown.size(), 2u) << "a picture shown again is not new";
    const auto [text, isError] = show.told.news[0];
    EXPECT_FALSE(isError) << text.toStdString();
    const QString path = QDir(folder.path()).filePath(first.imeslike + QStringLiteral(".png"));
    EXPECT_TRUE(text.endsWith(QDir::toNativeSeparators(path))) << text.toStdString();
    const QImage saved = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(saved.size(), screen) << "the screen's size, not the frame's square";
    // What Save as paints at that size, the window's picture giving the failed pixels.
    WindowState s;
    Surfaces surfaces;
    Rnd rnd;
    paintRecordedPicture(s, surfaces, rnd, first, noPacing());
    const std::atomic<bool> never{false};
    EXPECT_EQ(saved, paintExport(first, surfaces.Picture1.image(), screen, 1, never).convertToFormat(QImage::Format_RGB32));
    // Centred: the square in the middle is the frame on show (no pixel of it fails here).
    const QImage frame = show.show->painter().snapshot();
    const int left = (screen.width() - screen.height()) / 2;
    int differing = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            differing += saved.pixel(left + x, y) != frame.pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
    const ParamsRead read = readParamsFile(path);
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_EQ(read.value, first);
}

TEST(SlideShow_Keys, ASaveThatCannotBeMadeIsNewsAndTheShowGoesOn)
{
    QTemporaryDir folder;
    const QString notAFolder = folder.filePath(QStringLiteral("file"));
    QFile(notAFolder).open(QIODevice::WriteOnly);
    Show show(Drives{notAFolder, notAFolder, false});
    ASSERT_TRUE(show.told.waitFor([&] { return show.told.shown.size() == 1; }));
    show.show->save();
    ASSERT_TRUE(show.told.waitFor([&] { return !show.told.news.empty(); }));
    EXPECT_TRUE(show.told.news[0].second);
    EXPECT_TRUE(show.told.news[0].first.contains(notAFolder)) << show.told.news[0].first.toStdString();
    show.show->showNext();
    EXPECT_TRUE(show.told.waitFor([&] { return show.told.shown.size() == 2; }));
}

} // namespace
} // namespace mandalix
