// The variations window's controls and its grid: what a generation shows and how its
// cells are painted.
#include "app/variations_window.h"

#include "variations/mutation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mandalix {

namespace {

QPushButton* button(const QString& name, const QString& caption, const QString& tip, QWidget* parent)
{
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(name);
    made->setToolTip(tip);
    made->setFocusPolicy(Qt::NoFocus);
    made->setAutoDefault(false);
    return made;
}

} // namespace

void VariationsWindow::buildControls()
{
    auto* top = new QHBoxLayout;
    m_back = button(QStringLiteral("VariationsBack"), QStringLiteral("back"),
                    QStringLiteral("Back to the generation before (Backspace)"), this);
    connect(m_back, &QPushButton::clicked, this, [this] { act(VariationKey::Back); });
    auto* again = button(QStringLiteral("VariationsNew"), QStringLiteral("new directions"),
                         QStringLiteral("New children of the same parent (Space)"), this);
    connect(again, &QPushButton::clicked, this, [this] { act(VariationKey::NewDirections); });
    auto* take = button(QStringLiteral("VariationsAdopt"), QStringLiteral("paint in the window"),
                        QStringLiteral("Paint the selected cell in the window (Enter, or a double-click)"), this);
    connect(take, &QPushButton::clicked, this, [this] { act(VariationKey::Adopt); });
    m_side = new QComboBox(this);
    m_side->setObjectName(QStringLiteral("VariationsSide"));
    for (int side = kMinGridSide; side <= kMaxGridSide; ++side)
        m_side->addItem(QStringLiteral("%1 x %1").arg(side));
    m_side->setCurrentIndex(m_walk.side() - kMinGridSide);
    m_side->setFocusPolicy(Qt::ClickFocus);
    connect(m_side, &QComboBox::activated, this, &VariationsWindow::sideChosen);
    m_strength = new QLineEdit(this);
    m_strength->setObjectName(QStringLiteral("VariationsStrength"));
    m_strength->setAccessibleName(QStringLiteral("Strength"));
    m_strength->setToolTip(QStringLiteral("How far children stray, %1 to %2 ([ halves, ] doubles)")
                               .arg(kMinStrength).arg(kMaxStrength));
    m_strength->setMaximumWidth(60);
    m_strength->setFocusPolicy(Qt::ClickFocus);
    connect(m_strength, &QLineEdit::editingFinished, this, &VariationsWindow::setStrengthTyped);
    for (QWidget* widget : {static_cast<QWidget*>(m_back), static_cast<QWidget*>(again),
                            static_cast<QWidget*>(take)})
        top->addWidget(widget);
    top->addStretch();
    top->addWidget(new QLabel(QStringLiteral("grid"), this));
    top->addWidget(m_side);
    top->addWidget(new QLabel(QStringLiteral("strength"), this));
    top->addWidget(m_strength);

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("VariationsTitle"));
    m_title->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("VariationsNote"));
    m_note->setWordWrap(true);
    m_grid = new VariationGridView(this);
    connect(m_grid, &VariationGridView::clicked, this, &VariationsWindow::clicked);
    connect(m_grid, &VariationGridView::doubleClicked, this, &VariationsWindow::doubleClicked);
    connect(m_grid, &VariationGridView::menuAsked, this, &VariationsWindow::showMenu);
    m_resized.setSingleShot(true);
    m_resized.setInterval(100);
    connect(&m_resized, &QTimer::timeout, this, &VariationsWindow::paintCells);
    connect(m_grid, &VariationGridView::cellsResized, &m_resized, qOverload<>(&QTimer::start));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buildLocks());
    layout->addWidget(m_title);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_note);
}

QWidget* VariationsWindow::buildLocks()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("hold still:"), row));
    for (int g = 0; g < kGroupCount; ++g) {
        const auto group = static_cast<Group>(g);
        auto* box = new QCheckBox(groupName(group), row);
        box->setObjectName(QStringLiteral("VariationsLock_%1").arg(groupName(group)));
        box->setFocusPolicy(Qt::NoFocus);
        box->setChecked(m_walk.locks().isLocked(group));
        connect(box, &QCheckBox::toggled, this, &VariationsWindow::lockToggled);
        m_locks[static_cast<std::size_t>(g)] = box;
        layout->addWidget(box);
    }
    layout->addStretch();
    return row;
}

void VariationsWindow::showGeneration()
{
    const Generation& g = m_walk.current();
    m_grid->setGrid(g.side, g.parentIndex, g.parentIndex >= 0 ? g.parentIndex : 0);
    m_back->setEnabled(m_walk.canGoBack());
    m_strength->setText(QString::number(m_walk.strength(), 'g', 3));
    m_title->setText(g.kind == Generation::Kind::Breeding
                         ? QStringLiteral("Bred from %1 and %2: six crossovers, three blends")
                               .arg(g.parent.imeslike, g.otherParent.imeslike)
                         : QStringLiteral("Children of %1 at strength %2, seed %3")
                               .arg(g.parent.imeslike, QString::number(g.strength, 'g', 3))
                               .arg(static_cast<double>(g.seed), 0, 'f', 0));
    paintCells();
}

void VariationsWindow::paintCells()
{
    m_resized.stop();
    if (!m_walk.hasStarted() || m_grid->count() == 0 || !isVisible())
        return;
    const Generation& g = m_walk.current();
    const QSize cellPx = m_grid->cellDevicePixels();
    std::vector<std::pair<PictureRecord, GridCell>> kept;
    std::vector<PictureRecord> todo;
    m_paintedCell.clear();
    // The parent first: it is what the user looks at.
    std::vector<int> order(g.cells.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = static_cast<int>(k);
    if (g.parentIndex > 0)
        std::swap(order[0], order[static_cast<std::size_t>(g.parentIndex)]);
    for (const int index : order) {
        const PictureRecord& record = g.cells[static_cast<std::size_t>(index)];
        VariationCell* cell = m_grid->cell(index);
        const auto shown = std::find_if(m_painted.begin(), m_painted.end(), [&](const auto& painted) {
            return painted.second.image.size() == cellPx && isSamePicture(painted.first, record);
        });
        if (shown != m_painted.end()) {
            cell->setPicture(shown->second.image, shown->second.failsEverywhere);
            kept.push_back(*shown);
            continue;
        }
        cell->clearPicture();
        todo.push_back(record);
        m_paintedCell.push_back(index);
    }
    m_painted = std::move(kept);
    m_waiting = static_cast<int>(todo.size());
    m_paintingGeneration = ++m_paints;
    if (todo.empty())
        m_painter.abandon();
    else
        m_painter.paint(m_paintingGeneration, std::move(todo), cellPx);
}

void VariationsWindow::cellPainted(const GridCell& cell)
{
    if (cell.generation != m_paintingGeneration || cell.index >= static_cast<int>(m_paintedCell.size()))
        return;
    const int index = m_paintedCell[static_cast<std::size_t>(cell.index)];
    m_grid->cell(index)->setPicture(cell.image, cell.failsEverywhere);
    m_painted.emplace_back(m_walk.current().cells[static_cast<std::size_t>(index)], cell);
    --m_waiting;
}

} // namespace mandalix
