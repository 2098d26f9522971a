#include "app/keys_sheet.h"

#include "app/form1_keys.h"
#include "app/form1_layout.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mandalix {

namespace {

constexpr int kGapPx = 16;

QString keyText(const char* key)
{
    return QKeySequence(QString::fromLatin1(key)).toString(QKeySequence::NativeText);
}

QString captionOf(const char* name)
{
    for (const ControlRow& row : kControls)
        if (qstrcmp(row.name, name) == 0)
            return QString::fromLatin1(row.caption);
    return {};
}

} // namespace

std::vector<KeysSheetRow> keysSheetRows()
{
    std::vector<KeysSheetRow> rows{{{}, QStringLiteral("In the window")}};
    for (const KeyRow& row : kButtonKeys)
        if (*row.key != '\0')
            rows.push_back({keyText(row.key), QStringLiteral("%1 (\"%2\")")
                                                  .arg(QString::fromLatin1(row.tip), captionOf(row.name))});
    for (const WindowKeyRow& row : kWindowKeys)
        rows.push_back({keyText(row.key), QString::fromLatin1(row.does)});
    rows.push_back({{}, QStringLiteral("In the slide show")});
    for (const SlideKeyRow& row : kSlideShowKeys)
        rows.push_back({keyText(row.key), QString::fromLatin1(row.does)});
    rows.push_back({{}, QStringLiteral("In the variations")});
    for (const VariationKeyRow& row : kVariationKeys)
        rows.push_back({keyText(row.key), QString::fromLatin1(row.does)});
    rows.push_back({QStringLiteral("Arrows"), QStringLiteral("Select a cell; a click on a child makes it the parent")});
    rows.push_back({{}, QStringLiteral("In the editor")});
    for (const EditorKeyRow& row : kEditorKeys)
        rows.push_back({keyText(row.key), QString::fromLatin1(row.does)});
    return rows;
}

KeysSheet::KeysSheet(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("KeysSheet"));
    setWindowTitle(QStringLiteral("mandalix keys"));
    setModal(false);
    const std::vector<KeysSheetRow> rows = keysSheetRows();
    m_table = new QTableWidget(static_cast<int>(rows.size()), 2, this);
    m_table->setObjectName(QStringLiteral("KeysTable"));
    m_table->setAccessibleName(QStringLiteral("Keys and what they do"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Key"), QStringLiteral("What it does")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    for (int k = 0; k < static_cast<int>(rows.size()); ++k) {
        const KeysSheetRow& row = rows[static_cast<std::size_t>(k)];
        if (row.key.isEmpty()) {
            auto* heading = new QTableWidgetItem(row.does);
            QFont bold = heading->font();
            bold.setBold(true);
            heading->setFont(bold);
            m_table->setItem(k, 0, heading);
            m_table->setSpan(k, 0, 1, 2);
            continue;
        }
        m_table->setItem(k, 0, new QTableWidgetItem(row.key));
        m_table->setItem(k, 1, new QTableWidgetItem(row.does));
    }
    m_table->resizeColumnsToContents();
    m_table->resizeRowsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    resize(m_table->horizontalHeader()->length() + 4 * kGapPx,
           m_table->verticalHeader()->length() + m_table->horizontalHeader()->height() + 3 * kGapPx);
}

void KeysSheet::showBeside(const QWidget& picture)
{
    if (!isVisible()) {
        // Right of the picture where the screen has room, else at the screen's right edge.
        const QRect shown(picture.mapToGlobal(QPoint(0, 0)), picture.size());
        QRect sheet(QPoint(shown.right() + kGapPx, shown.top()), frameGeometry().size());
        if (const QScreen* screen = picture.screen()) {
            const QRect room = screen->availableGeometry();
            // A screen too low for every row gets a sheet that scrolls.
            if (sheet.height() > room.height()) {
                resize(width(), height() - (sheet.height() - room.height()));
                sheet.setHeight(room.height());
            }
            sheet.moveRight(std::min(sheet.right(), room.right()));
            sheet.moveBottom(std::min(sheet.bottom(), room.bottom()));
            sheet.moveTopLeft(QPoint(std::max(sheet.left(), room.left()), std::max(sheet.top(), room.top())));
        }
        move(sheet.topLeft());
        show();
    }
    raise();
    activateWindow();
}

} // namespace mandalix
