// The animation dialog's fields, built once: each with its name for screen readers and a label
// whose Alt+letter reaches it.
#include "app/animation_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace mandalix {

namespace {

// Wide enough that a value out of bounds reaches the check, which names it.
constexpr int kMaxTypedSidePx = 16384;
constexpr int kMaxTypedFps = 1000;
constexpr double kMaxTypedSeconds = 100000;

QSpinBox* sideBox(const char* name, const QString& accessibleName, int value, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setRange(1, kMaxTypedSidePx);
    box->setValue(value);
    return box;
}

// A field's label, whose Alt+letter moves to `buddy` (the row around it takes no focus).
QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QWidget* rowOf(QWidget* parent, std::initializer_list<QWidget*> widgets)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : widgets)
        layout->addWidget(widget, widget == *widgets.begin() ? 1 : 0);
    return row;
}

} // namespace

void AnimationDialog::buildFields(const AnimationChoices& last)
{
    auto* form = new QFormLayout;
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("AnimationKind"));
    m_kind->setAccessibleName(QStringLiteral("What to export"));
    m_kind->addItems({QStringLiteral("The painting"), QStringLiteral("Colour cycling"), QStringLiteral("Morph loop")});
    m_kind->setCurrentIndex(static_cast<int>(last.kind));
    m_shownKind = last.kind;
    form->addRow(QStringLiteral("&Animation:"), m_kind);
    QWidget* sizeRow = buildSizeRow(last);
    form->addRow(labelFor(QStringLiteral("Si&ze:"), m_sizes, this), sizeRow);
    m_fps = new QSpinBox(this);
    m_fps->setObjectName(QStringLiteral("AnimationFps"));
    m_fps->setAccessibleName(QStringLiteral("Frames a second"));
    m_fps->setRange(0, kMaxTypedFps);
    m_fps->setValue(last.framesPerSecond);
    form->addRow(labelFor(QStringLiteral("&Frame rate:"), m_fps, this),
                 rowOf(this, {m_fps, new QLabel(QStringLiteral("frames a second"), this)}));
    m_seconds = new QDoubleSpinBox(this);
    m_seconds->setObjectName(QStringLiteral("AnimationSeconds"));
    m_seconds->setRange(0, kMaxTypedSeconds);
    m_seconds->setDecimals(2);
    m_secondsLabel = new QLabel(this);
    m_secondsLabel->setBuddy(m_seconds);
    form->addRow(m_secondsLabel, m_seconds);
    form->addRow(QStringLiteral("Second picture:"), buildSecondRow());
    QWidget* outputRow = buildOutputRow(QString());
    form->addRow(labelFor(QStringLiteral("&Output file:"), m_output, this), outputRow);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("AnimationProblem"));
    m_problem->setAccessibleName(QStringLiteral("Why the animation was not exported"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0);"));
    m_problem->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &AnimationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AnimationDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &AnimationDialog::kindChosen);
    kindChosen();
}

QWidget* AnimationDialog::buildSizeRow(const AnimationChoices& last)
{
    m_sizes = new QComboBox(this);
    m_sizes->setObjectName(QStringLiteral("AnimationSize"));
    m_sizes->setAccessibleName(QStringLiteral("Video size"));
    int chosen = static_cast<int>(m_sizeChoices.size()) - 1;
    for (int k = 0; k < static_cast<int>(m_sizeChoices.size()); ++k) {
        m_sizes->addItem(m_sizeChoices[static_cast<std::size_t>(k)].label);
        if (m_sizeChoices[static_cast<std::size_t>(k)].size == last.size)
            chosen = k;
    }
    m_sizes->setCurrentIndex(chosen);
    m_width = sideBox("AnimationWidth", QStringLiteral("Width in pixels"), last.size.width(), this);
    m_height = sideBox("AnimationHeight", QStringLiteral("Height in pixels"), last.size.height(), this);
    const auto enableSides = [this](int index) {
        const bool isTyped = index == m_sizes->count() - 1;
        m_width->setEnabled(isTyped);
        m_height->setEnabled(isTyped);
    };
    enableSides(chosen);
    connect(m_sizes, &QComboBox::currentIndexChanged, this, enableSides);
    return rowOf(this, {m_sizes, m_width, new QLabel(QStringLiteral("x"), this), m_height});
}

QWidget* AnimationDialog::buildSecondRow()
{
    m_secondName = new QLabel(QStringLiteral("none chosen"), this);
    m_secondName->setObjectName(QStringLiteral("AnimationSecondName"));
    auto* choose = new QPushButton(QStringLiteral("&Choose a file..."), this);
    choose->setObjectName(QStringLiteral("AnimationSecondChoose"));
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &AnimationDialog::chooseSecondFile);
    m_secondRow = rowOf(this, {m_secondName, choose});
    return m_secondRow;
}

QWidget* AnimationDialog::buildOutputRow(const QString& path)
{
    m_output = new QLineEdit(path, this);
    m_output->setObjectName(QStringLiteral("AnimationOutput"));
    m_output->setAccessibleName(QStringLiteral("Output file"));
    m_output->setMinimumWidth(360);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(QStringLiteral("AnimationBrowse"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &AnimationDialog::browse);
    return rowOf(this, {m_output, browse});
}

} // namespace mandalix
