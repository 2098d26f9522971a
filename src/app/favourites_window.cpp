#include "app/favourites_window.h"

#include "palette/strip_colours.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace mandalix {

namespace {

constexpr int kSwatchWidthPx = 2;
constexpr int kSwatchHeightPx = 16;

// A favourite's strip: its 68 colours side by side.
QPixmap stripPicture(const PaletteWaves& waves)
{
    const StripColours colours = stripColours(waves);
    QImage image(static_cast<int>(colours.size()) * kSwatchWidthPx, kSwatchHeightPx, QImage::Format_RGB32);
    QPainter painter(&image);
    for (std::size_t k = 0; k < colours.size(); ++k)
        painter.fillRect(static_cast<int>(k) * kSwatchWidthPx, 0, kSwatchWidthPx, kSwatchHeightPx,
                         QColor::fromRgb(toArgb(colours[k])));
    painter.end();
    return QPixmap::fromImage(image);
}

const QString kFileFilter = QStringLiteral("Favourite palettes (*.json)");

} // namespace

FavouritesWindow::FavouritesWindow(const QString& path, QWidget* parent)
    : QWidget(parent, Qt::Window), m_store(path)
{
    setObjectName(QStringLiteral("Favourites"));
    setWindowTitle(QStringLiteral("mandalix favourite palettes"));
    buildControls();
    refill(0);
    if (m_store.isDamaged())
        m_message->setText(m_store.loadMessage());
    resize(420, 360);
}

void FavouritesWindow::buildControls()
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("FavouritesList"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setIconSize(QSize(kPaletteIndices * kSwatchWidthPx, kSwatchHeightPx));
    connect(m_list, &QListWidget::itemActivated, this, [this] { use(true); });

    auto* buttons = new QGridLayout;
    const auto addButton = [&](const char* name, const QString& caption, int row, int column, auto action) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button, row, column);
    };
    addButton("ApplyButton", QStringLiteral("apply to the picture"), 0, 0, [this] { use(true); });
    addButton("UseForNewButton", QStringLiteral("use for new pictures"), 0, 1, [this] { use(false); });
    addButton("RenameButton", QStringLiteral("rename"), 1, 0, [this] { askRename(); });
    addButton("DeleteButton", QStringLiteral("delete"), 1, 1, [this] { deleteChosen(); });
    addButton("ImportButton", QStringLiteral("import…"), 2, 0, [this] { askImport(); });
    addButton("ExportButton", QStringLiteral("export…"), 2, 1, [this] { askExport(); });

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("FavouritesMessage"));
    m_message->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_message);
}

void FavouritesWindow::refill(int chosen)
{
    m_list->clear();
    for (const FavouritePalette& favourite : m_store.favourites())
        m_list->addItem(new QListWidgetItem(QIcon(stripPicture(favourite.waves)), favourite.name));
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::clamp(chosen, 0, m_list->count() - 1));
}

bool FavouritesWindow::report(const Result<>& result, const QString& news)
{
    m_message->setText(result.ok ? news : result.message);
    return result.ok;
}

std::vector<int> FavouritesWindow::chosenRows() const
{
    std::vector<int> rows;
    for (const QListWidgetItem* item : m_list->selectedItems())
        rows.push_back(m_list->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool FavouritesWindow::keep(const QString& name, const PaletteWaves& waves)
{
    const Result<QString> kept = m_store.add(name, waves);
    if (!report({kept.ok, kept.message}, QStringLiteral("Kept \"%1\".").arg(kept.value)))
        return false;
    refill(static_cast<int>(m_store.favourites().size()) - 1);
    return true;
}

void FavouritesWindow::present()
{
    show();
    raise();
    activateWindow();
    m_list->setFocus();
}

void FavouritesWindow::use(bool repaint)
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_store.favourites().size())) {
        report(Result<>::failure(QStringLiteral("Choose a favourite first.")));
        return;
    }
    m_message->clear();
    emit used(m_store.favourites()[static_cast<std::size_t>(row)].waves, repaint);
}

void FavouritesWindow::renameChosen(const QString& name)
{
    const int row = m_list->currentRow();
    if (report(m_store.rename(row, name)))
        refill(row);
}

void FavouritesWindow::deleteChosen()
{
    const int row = m_list->currentRow();
    if (report(m_store.remove(row)))
        refill(row);
}

void FavouritesWindow::importFile(const QString& path)
{
    const Result<int> imported = m_store.importFrom(path);
    if (report({imported.ok, imported.message}, QStringLiteral("Imported %1 favourites.").arg(imported.value)))
        refill(static_cast<int>(m_store.favourites().size()) - 1);
}

void FavouritesWindow::exportChosen(const QString& path)
{
    report(m_store.exportTo(path, chosenRows()), QStringLiteral("Exported to %1").arg(path));
}

void FavouritesWindow::askRename()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    bool ok = false;
    const QString name = QInputDialog::getText(this, QStringLiteral("Rename the favourite"), QStringLiteral("Name:"),
                                               QLineEdit::Normal, item->text(), &ok);
    if (ok)
        renameChosen(name);
}

void FavouritesWindow::askImport()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Import favourite palettes"), {}, kFileFilter,
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        importFile(path);
}

void FavouritesWindow::askExport()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export favourite palettes"), {}, kFileFilter,
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        exportChosen(path);
}

} // namespace mandalix
