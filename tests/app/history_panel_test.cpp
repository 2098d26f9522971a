#include "app/history_panel.h"

#include "surface/surface_sizes.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFileInfo>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <optional>

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
    entry.record.moment = QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)).addSecs(second);
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
    HistoryEntry bred = entryAt(5, 1);
    bred.record.lineage = Lineage::interpolationOf(QStringLiteral("T20261208100001"), QStringLiteral("T20261208100003"), 0.25);
    panel.add(bred);
    EXPECT_EQ(panel.findChild<QToolButton*>(QStringLiteral("T20261208100005.png"))->toolTip(),
              QStringLiteral("T20261208100005\nfrom left to right\n"
                             "bred from T20261208100001 and T20261208100003 (interpolation 1/4)"));
    QSignalSpy chosen(&panel, &HistoryPanel::chosen);
    newest->click();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), entryAt(3, 4).path);
}


// Where a kept picture's thumbnail stands in the panel's visible area, or none.
std::optional<QPoint> shownAt(const HistoryPanel& panel, const HistoryEntry& entry)
{
    const QString name = QFileInfo(entry.path).fileName();
    const auto* button = panel.findChild<QToolButton*>(name);
    if (!button || button->isHidden())
        return std::nullopt;
    return button->mapTo(panel.viewport(), QPoint(0, 0));
}

std::vector<HistoryEntry> entriesAt(int from, int count)
{
    std::vector<HistoryEntry> entries;
    for (int k = from; k < from + count; ++k)
        entries.push_back(entryAt(k, 1));
    return entries;
}

// Pictures kept while the pointer is over the panel (the one a click replaced) wait until
// it leaves; a picture removed meanwhile leaves a hole. Nothing moves under the pointer.
TEST(HistoryPanel_Place, ThumbnailsStandStillUnderThePointerAndCatchUpWhenItLeaves)
{
    QWidget window;
    window.resize(1280, 1000);
    HistoryPanel panel(&window);
    panel.placeIn(window.size());
    window.show();
    panel.setEntries(entriesAt(10, 12));
    const std::vector<HistoryEntry> before = entriesAt(10, 12);
    std::vector<std::optional<QPoint>> places;
    for (const HistoryEntry& entry : before)
        places.push_back(shownAt(panel, entry));

    QEnterEvent enter(QPointF(20, 20), QPointF(20, 20), QPointF(20, 20));
    QApplication::sendEvent(&panel, &enter);
    panel.add(entryAt(30, 2));
    panel.add(entryAt(31, 2));
    panel.remove(before[5].path);
    EXPECT_EQ(panel.count(), 13) << "the entries are current";
    EXPECT_FALSE(shownAt(panel, entryAt(30, 2)).has_value()) << "not shown under the pointer";
    EXPECT_FALSE(shownAt(panel, before[5]).has_value()) << "a removed picture cannot be chosen";
    for (std::size_t k = 0; k < before.size(); ++k)
        if (k != 5) {
            EXPECT_EQ(shownAt(panel, before[k]), places[k]) << k;
        }

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&panel, &leave);
    EXPECT_EQ(shownAt(panel, entryAt(31, 2)), std::optional<QPoint>(QPoint(0, 0)));
    EXPECT_TRUE(shownAt(panel, entryAt(30, 2)).has_value());
    EXPECT_EQ(panel.findChild<QToolButton*>(QFileInfo(before[5].path).fileName()), nullptr);
}

// Scrolled down, the first row in view stays in view as whole rows of pictures come in
// above it; at the top, the newest come into view.
TEST(HistoryPanel_Place, AListScrolledDownKeepsItsFirstRowWhenPicturesComeInAbove)
{
    QWidget window;
    window.resize(1280, 600);
    HistoryPanel panel(&window);
    panel.placeIn(window.size());
    window.show();
    panel.setEntries(entriesAt(0, 60));
    ASSERT_GT(panel.verticalScrollBar()->maximum(), 6 * HistoryPanel::kCellPx);
    const int columns = panel.viewport()->width() / HistoryPanel::kCellPx;
    ASSERT_GE(columns, 2);

    panel.verticalScrollBar()->setValue(3 * HistoryPanel::kCellPx + 10);
    // Newest first: row 3's first thumbnail is the (3 * columns)-th newest.
    const HistoryEntry anchored = entryAt(59 - 3 * columns, 1);
    const std::optional<QPoint> place = shownAt(panel, anchored);
    ASSERT_EQ(place, std::optional<QPoint>(QPoint(0, -10)));
    for (int k = 0; k < columns; ++k)
        panel.add(entryAt(100 + k, 1));
    EXPECT_EQ(shownAt(panel, anchored), place) << "a row came in above: the view moved with it";

    panel.verticalScrollBar()->setValue(0);
    panel.add(entryAt(200, 1));
    EXPECT_EQ(panel.verticalScrollBar()->value(), 0);
    EXPECT_EQ(shownAt(panel, entryAt(200, 1)), std::optional<QPoint>(QPoint(0, 0)));
}

} // namespace
} // namespace mandalix
