#include "app/history_panel.h"

#include "output/lineage_text.h"
#include "program/program.h"
#include "surface/surface_sizes.h"

#include <QFileInfo>
#include <QHash>
#include <QPixmap>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>

namespace mandalix {

namespace {

// The button's property holding the cache key of the thumbnail it shows.
constexpr const char* kThumbnailKey = "thumbnailKey";

} // namespace

QString historyTooltip(const PictureRecord& record)
{
    const int nac = static_cast<int>(record.nac);
    const QString type = nac >= 1 && nac <= 4 ? QString::fromLatin1(kGenerationTypeNames[nac])
                                              : QStringLiteral("generation type %1").arg(record.nac);
    const QString named = QStringLiteral("%1\n%2").arg(record.imeslike, type);
    return record.lineage.isDrawn() ? named : named + u'\n' + lineageText(record.lineage);
}

HistoryPanel::HistoryPanel(QWidget* parent)
    : QScrollArea(parent)
    , m_content(new QWidget)
{
    setObjectName(QStringLiteral("HistoryPanel"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::NoFocus);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::Base, Qt::black);
    setPalette(black);
    m_content->setPalette(black);
    m_content->setAutoFillBackground(true);
    viewport()->setAutoFillBackground(true);
    setWidget(m_content);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int scrolled) {
        if (!m_isPlacing)
            noteAnchor(scrolled);
    });
}

void HistoryPanel::setEntries(const std::vector<HistoryEntry>& entries)
{
    m_entries = entries;
    std::sort(m_entries.begin(), m_entries.end(), isNewer);
    showEntries();
}

void HistoryPanel::add(const HistoryEntry& entry)
{
    std::erase_if(m_entries, [&](const HistoryEntry& e) { return e.path == entry.path; });
    m_entries.insert(std::lower_bound(m_entries.begin(), m_entries.end(), entry, isNewer), entry);
    showEntries();
}

void HistoryPanel::remove(const QString& path)
{
    std::erase_if(m_entries, [&](const HistoryEntry& e) { return e.path == path; });
    showEntries(path);
}

void HistoryPanel::showEntries(const QString& removedPath)
{
    if (!m_isUnderPointer) {
        rebuildKeepingPlace();
        return;
    }
    // A thumbnail whose file is gone leaves a hole rather than moving the others.
    m_isStale = true;
    for (std::size_t k = 0; k < m_shownPaths.size(); ++k)
        if (m_shownPaths[k] == removedPath)
            m_buttons[k]->hide();
}

void HistoryPanel::enterEvent(QEnterEvent* event)
{
    QScrollArea::enterEvent(event);
    m_isUnderPointer = true;
}

void HistoryPanel::leaveEvent(QEvent* event)
{
    QScrollArea::leaveEvent(event);
    m_isUnderPointer = false;
    if (m_isStale)
        rebuildKeepingPlace();
}

int HistoryPanel::columns() const { return std::max(1, viewport()->width() / kCellPx); }

// The picture first in view since the user last scrolled; none at the top.
void HistoryPanel::noteAnchor(int scrolled)
{
    const auto first = static_cast<std::size_t>(scrolled / kCellPx * columns());
    m_anchor = scrolled > 0 && first < m_shownPaths.size() ? m_shownPaths[first] : QString();
}

// At the top the newest pictures come into view; scrolled down, the row of the picture
// first in view stays where it was, so pictures kept meanwhile do not push it away.
void HistoryPanel::rebuildKeepingPlace()
{
    const auto indexOf = [this](const QString& path) {
        return static_cast<int>(std::find(m_shownPaths.begin(), m_shownPaths.end(), path) - m_shownPaths.begin());
    };
    const bool isKept = std::any_of(m_entries.begin(), m_entries.end(),
                                    [&](const HistoryEntry& e) { return e.path == m_anchor; });
    const int scrolled = verticalScrollBar()->value();
    const int offset = scrolled - indexOf(m_anchor) / columns() * kCellPx;
    const QString anchor = isKept ? m_anchor : QString();
    m_isPlacing = true;
    rebuild();
    if (!anchor.isEmpty())
        verticalScrollBar()->setValue(indexOf(anchor) / columns() * kCellPx + offset);
    m_isPlacing = false;
    noteAnchor(verticalScrollBar()->value());
    if (!anchor.isEmpty())
        m_anchor = anchor;
}

// A thumbnail already shown keeps its button, so a new picture costs one button, not one
// for every kept picture.
void HistoryPanel::rebuild()
{
    m_isStale = false;
    QHash<QString, QToolButton*> shown;
    for (std::size_t k = 0; k < m_buttons.size(); ++k)
        shown.insert(m_shownPaths[k], m_buttons[k]);
    m_buttons.clear();
    m_shownPaths.clear();
    for (const HistoryEntry& entry : m_entries) {
        QToolButton* button = shown.take(entry.path);
        if (!button) {
            button = new QToolButton(m_content);
            button->setObjectName(QFileInfo(entry.path).fileName());
            button->setIconSize(QSize(kThumbnailPx, kThumbnailPx));
            button->setAutoRaise(true);
            button->setFocusPolicy(Qt::NoFocus);
            connect(button, &QToolButton::clicked, this, [this, path = entry.path] { emit chosen(path); });
            button->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(button, &QToolButton::customContextMenuRequested, this,
                    [this, button, path = entry.path](const QPoint& at) { emit menuAsked(path, button->mapToGlobal(at)); });
        }
        // Kept again under the same name: the picture may differ.
        const QVariant key = button->property(kThumbnailKey);
        if (!key.isValid() || key.toLongLong() != entry.thumbnail.cacheKey()) {
            button->setIcon(QPixmap::fromImage(entry.thumbnail));
            button->setToolTip(historyTooltip(entry.record));
            button->setProperty(kThumbnailKey, QVariant::fromValue(entry.thumbnail.cacheKey()));
            button->setAccessibleName(QStringLiteral("Kept picture %1").arg(entry.record.imeslike));
        }
        button->show();
        m_buttons.push_back(button);
        m_shownPaths.push_back(entry.path);
    }
    qDeleteAll(shown);
    arrange();
}

void HistoryPanel::arrange()
{
    const int width = viewport()->width();
    const int columns = this->columns();
    const int rows = (static_cast<int>(m_buttons.size()) + columns - 1) / columns;
    for (std::size_t k = 0; k < m_buttons.size(); ++k) {
        const int index = static_cast<int>(k);
        m_buttons[k]->setGeometry(index % columns * kCellPx, index / columns * kCellPx,
                                  kCellPx - 4, kCellPx - 4);
    }
    m_content->resize(width, std::max(rows * kCellPx, viewport()->height()));
}

void HistoryPanel::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    arrange();
}

void HistoryPanel::placeIn(const QSize& size)
{
    const int right = size.width() - kFormWidthPx - 2 * kMarginPx;
    const int below = size.height() - kFormHeightPx - 2 * kMarginPx;
    if (right >= kCellPx && size.height() - 2 * kMarginPx >= kCellPx) {
        setGeometry(kFormWidthPx + kMarginPx, kMarginPx, right, size.height() - 2 * kMarginPx);
        show();
    } else if (below >= kCellPx && size.width() - 2 * kMarginPx >= kCellPx) {
        setGeometry(kMarginPx, kFormHeightPx + kMarginPx, size.width() - 2 * kMarginPx, below);
        show();
    } else {
        hide();
    }
}

} // namespace mandalix
