#include "app/variations_window.h"

#include "app/form1_keys.h"
#include "output/lineage_text.h"
#include "state/clock.h"
#include "variations/mutation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QShortcut>
#include <QVBoxLayout>

namespace mandalix {

namespace {

QString strengthText(double strength) { return QString::number(strength, 'g', 3); }

float drawnSeed()
{
    // A whole number of the seeds' range (as seconds since midnight are): exact in single
    // precision, and one the renderer's --mutation-seed takes.
    return static_cast<float>(QRandomGenerator::global()->bounded(static_cast<int>(kSecondsPerDay)));
}

} // namespace

VariationsWindow::VariationsWindow(QString settingsPath, std::function<PictureRecord()> pictureOnShow,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_settingsPath(std::move(settingsPath))
    , m_pictureOnShow(std::move(pictureOnShow))
    , m_walk(drawnSeed)
    , m_painter([this](const GridCell& cell) {
        QMetaObject::invokeMethod(this, [this, cell] { cellPainted(cell); }, Qt::QueuedConnection);
    })
{
    setObjectName(QStringLiteral("Variations"));
    setWindowTitle(QStringLiteral("mandalix variations"));
    const VariationSettings settings = readVariationSettings(m_settingsPath);
    m_walk.setStrength(settings.strength);
    m_walk.setLocks(settings.locks);
    m_walk.setSide(settings.side);
    buildControls();
    addKeys();
    resize(640, 720);
}

VariationsWindow::~VariationsWindow() { m_painter.abandon(); }

void VariationsWindow::addKeys()
{
    for (const VariationKeyRow& row : kVariationKeys) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(row.key)), this);
        connect(shortcut, &QShortcut::activated, this, [this, action = row.action] { act(action); });
    }
}

void VariationsWindow::act(VariationKey action)
{
    switch (action) {
    case VariationKey::NewDirections:
        m_walk.newDirections();
        showGeneration();
        break;
    case VariationKey::Back:
        if (m_walk.back())
            showGeneration();
        break;
    case VariationKey::Adopt:
        adopt(m_grid->selected());
        break;
    case VariationKey::Weaker:
        changeStrength(0.5);
        break;
    case VariationKey::Stronger:
        changeStrength(2.0);
        break;
    case VariationKey::Close:
        close();
        break;
    }
}

void VariationsWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left: m_grid->moveSelection(-1, 0); break;
    case Qt::Key_Right: m_grid->moveSelection(1, 0); break;
    case Qt::Key_Up: m_grid->moveSelection(0, -1); break;
    case Qt::Key_Down: m_grid->moveSelection(0, 1); break;
    default: QWidget::keyPressEvent(event); return;
    }
}

void VariationsWindow::hideEvent(QHideEvent* event)
{
    // Nothing paints for a window no one sees.
    m_painter.abandon();
    m_paintingGeneration = -1;
    QWidget::hideEvent(event);
}

void VariationsWindow::openFor(const PictureRecord& parent)
{
    m_walk.start(parent);
    presentWalk();
}

void VariationsWindow::openBred(const PictureRecord& a, const PictureRecord& b)
{
    m_walk.breed(a, b);
    presentWalk();
}

void VariationsWindow::presentWalk()
{
    m_note->clear();
    show();
    raise();
    activateWindow();
    m_grid->setFocus();
    showGeneration();
}

void VariationsWindow::showNote(const QString& text) { m_note->setText(text); }

void VariationsWindow::clicked(int index)
{
    const Generation& g = m_walk.current();
    if (!g.isChild(index)) {
        m_grid->select(index);
        return;
    }
    (void)m_walk.walkTo(index);
    m_clickedGeneration = m_walk.current().number;
    showGeneration();
}

void VariationsWindow::doubleClicked(int index)
{
    // The click before has made the cell's picture the parent: that is the one meant.
    if (m_walk.current().number == m_clickedGeneration && m_walk.current().parentIndex >= 0)
        adopt(m_walk.current().parentIndex);
    else
        adopt(index);
}

void VariationsWindow::adopt(int index)
{
    const Generation& g = m_walk.current();
    if (index < 0 || index >= static_cast<int>(g.cells.size()))
        return;
    emit adopted(g.cells[static_cast<std::size_t>(index)]);
    close();
}

void VariationsWindow::showMenu(int index, QPoint globalPosition)
{
    const Generation& g = m_walk.current();
    if (index < 0 || index >= static_cast<int>(g.cells.size()))
        return;
    const PictureRecord record = g.cells[static_cast<std::size_t>(index)];
    QMenu menu(this);
    if (g.isChild(index))
        menu.addAction(QStringLiteral("Make it the parent"), this, [this, index] { clicked(index); });
    menu.addAction(QStringLiteral("Paint it in the window"), this, [this, index] { adopt(index); });
    menu.addAction(QStringLiteral("Breed it with the picture on show"), this,
                   [this, record] { openBred(m_pictureOnShow(), record); });
    menu.addAction(QStringLiteral("Morph loop with the picture on show..."), this,
                   [this, record] { emit morphAsked(record); });
    menu.exec(globalPosition);
}

void VariationsWindow::changeStrength(double factor)
{
    m_walk.setStrength(m_walk.strength() * factor);
    m_note->clear();
    showGeneration();
    remember();
}

void VariationsWindow::setStrengthTyped()
{
    bool isNumber = false;
    const QString typed = m_strength->text().trimmed();
    const double value = typed.toDouble(&isNumber);
    if (!isNumber) {
        m_note->setText(QStringLiteral("strength: \"%1\" is not a number; it stays %2")
                            .arg(typed.left(20), strengthText(m_walk.strength())));
        m_strength->setText(strengthText(m_walk.strength()));
        return;
    }
    const ClampedStrength clamped = clampStrength(value);
    m_note->setText(clamped.wasClamped ? QStringLiteral("strength %1 is out of range (%2 to %3): using %4")
                                             .arg(typed.left(20), strengthText(kMinStrength),
                                                  strengthText(kMaxStrength), strengthText(clamped.value))
                                       : QString());
    if (clamped.value == m_walk.strength()) {
        m_strength->setText(strengthText(clamped.value));
        return;
    }
    m_walk.setStrength(clamped.value);
    showGeneration();
    remember();
}

void VariationsWindow::lockToggled()
{
    Locks locks;
    for (int g = 0; g < kGroupCount; ++g)
        if (m_locks[static_cast<std::size_t>(g)]->isChecked())
            locks = locks.with(static_cast<Group>(g));
    if (locks == m_walk.locks())
        return;
    m_walk.setLocks(locks);
    showGeneration();
    remember();
}

void VariationsWindow::sideChosen(int comboIndex)
{
    const int side = kMinGridSide + comboIndex;
    if (side == m_walk.side())
        return;
    m_walk.setSide(side);
    showGeneration();
    remember();
}

void VariationsWindow::remember()
{
    if (!writeVariationSettings(m_settingsPath, {m_walk.locks(), m_walk.side(), m_walk.strength()}))
        m_note->setText(QStringLiteral("The settings could not be kept in %1").arg(m_settingsPath));
}

} // namespace mandalix
