// The keys sheet lists every key of the key tables with what it does, under the heading
// of where it works.
#include "app/form1_keys.h"
#include "app/keys_sheet.h"

#include <QKeySequence>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

struct Listed {
    QString heading;
    QString key;
    QString does;
};

std::vector<Listed> listed(const QTableWidget& table)
{
    std::vector<Listed> rows;
    QString heading;
    for (int k = 0; k < table.rowCount(); ++k) {
        const QTableWidgetItem* does = table.item(k, 1);
        if (!does) {
            heading = table.item(k, 0)->text();
            continue;
        }
        rows.push_back({heading, table.item(k, 0)->text(), does->text()});
    }
    return rows;
}

bool isListed(const std::vector<Listed>& rows, const QString& heading, const char* key, const char* does)
{
    const QString keyText = QKeySequence(QString::fromLatin1(key)).toString(QKeySequence::NativeText);
    return std::any_of(rows.begin(), rows.end(), [&](const Listed& row) {
        return row.heading == heading && row.key == keyText && row.does.startsWith(QString::fromLatin1(does));
    });
}

TEST(KeysSheet, ListsEveryKeyOfEveryTableWithWhatItDoes)
{
    KeysSheet sheet(nullptr);
    const std::vector<Listed> rows = listed(sheet.table());
    const QString window = QStringLiteral("In the window");
    const QString slideShow = QStringLiteral("In the slide show");
    std::size_t keys = 0;
    for (const KeyRow& row : kButtonKeys) {
        if (*row.key == '\0')
            continue;
        ++keys;
        EXPECT_TRUE(isListed(rows, window, row.key, row.tip)) << row.key;
    }
    for (const WindowKeyRow& row : kWindowKeys)
        EXPECT_TRUE(isListed(rows, window, row.key, row.does)) << row.key;
    for (const SlideKeyRow& row : kSlideShowKeys)
        EXPECT_TRUE(isListed(rows, slideShow, row.key, row.does)) << row.key;
    for (const VariationKeyRow& row : kVariationKeys)
        EXPECT_TRUE(isListed(rows, QStringLiteral("In the variations"), row.key, row.does)) << row.key;
    for (const EditorKeyRow& row : kEditorKeys)
        EXPECT_TRUE(isListed(rows, QStringLiteral("In the editor"), row.key, row.does)) << row.key;
    const std::size_t arrows = 1;
    EXPECT_EQ(rows.size(), keys + kWindowKeys.size() + kSlideShowKeys.size() + kVariationKeys.size()
                               + kEditorKeys.size() + arrows)
        << "no line twice, none made up";
    for (const char* undoOrRedo : {"Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+Y"})
        EXPECT_TRUE(std::any_of(kWindowKeys.begin(), kWindowKeys.end(),
                                [&](const WindowKeyRow& row) { return qstrcmp(row.key, undoOrRedo) == 0; }))
            << undoOrRedo;
}

} // namespace
} // namespace mandalix
