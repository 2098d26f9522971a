#include "app/history_panel.h"

#include "surface/surface_sizes.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(HistoryPanel_Place, TakesTheFreeAreaOnlyAndHidesWithoutRoomForAThumbnail)
{
    struct Row {
        const char* name;
        QSize window;
        bool isShown;
    };
    const Row rows[] = {
        {"wide", {1280, 1000}, true},
        {"just wide enough", {kFormWidthPx + 2 * HistoryPanel::kMarginPx + HistoryPanel::kCellPx, 700}, true},
        {"one pixel too narrow, not tall enough", {kFormWidthPx + 2 * HistoryPanel::kMarginPx + HistoryPanel::kCellPx - 1, 700}, false},
        {"narrow but tall", {900, 900}, true},
        {"the layout alone", {kFormWidthPx, kFormHeightPx}, false},
    };
    QWidget window;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HistoryPanel panel(&window);
        panel.placeIn(row.window);
        EXPECT_EQ(!panel.isHidden(), row.isShown);
        if (panel.isHidden())
            continue;
        const QRect at = panel.geometry();
        EXPECT_FALSE(at.intersects(QRect(0, 0, kFormWidthPx, kFormHeightPx)));
        EXPECT_TRUE(QRect(QPoint(0, 0), row.window).contains(at));
        EXPECT_GE(std::min(at.width(), at.height()), HistoryPanel::kCellPx);
    }
}

HistoryEntry entryAt(int second, double nac)
{
    HistoryEntry entry;
    entry.record.moment = QDateTime(QDate(2026, 12, 8), QTime(10, 0, second));
    entry.record.imeslike = entry.record.moment.toString(QStringLiteral("'T'yyyyMMddHHmmss"));
    entry.record.nac = nac;
    entry.path = QStringLiteral("/h/%1.png").arg(entry.record.imeslike);
    entry.thumbnail = QImage(kThumbnailPx, kThumbnailPx, QImage::Format_RGB32);
    entry.thumbnail.fill(Qt::red);
    return entry;
}

TEST(HistoryPanel_Thumbnails, NewestFirstNamedWithTheirTypeAndAClickAsksForThatPicture)
{
    QWidget window;
    HistoryPanel panel(&window);
    panel.placeIn({1280, 1000});
    panel.setEntries({entryAt(1, 1), entryAt(3, 3)});
    panel.add(entryAt(2, 2));
    panel.add(entryAt(3, 4)); // kept again: shown once
    ASSERT_EQ(panel.count(), 3);
    EXPECT_EQ(panel.pathAt(0), entryAt(3, 4).path);
    EXPECT_EQ(panel.pathAt(1), entryAt(2, 2).path);
    panel.remove(entryAt(2, 2).path);
    ASSERT_EQ(panel.count(), 2);

    auto* newest = panel.findChild<QToolButton*>(QStringLiteral("T20261208100003.png"));
    ASSERT_NE(newest, nullptr);
    EXPECT_EQ(newest->toolTip(), QStringLiteral("T20261208100003\nfrom order to chaos and back"));
    QSignalSpy chosen(&panel, &HistoryPanel::chosen);
    newest->click();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), entryAt(3, 4).path);
}

} // namespace
} // namespace mandalix
