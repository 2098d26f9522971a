// The editor's controls: the preview and the strip on the left, the numbers by group in a
// scrolled list on the right, the buttons below, and the editor's keys.
#include "app/editor_window.h"

#include "app/form1_keys.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

namespace mandalix {

namespace {

QPushButton* button(const QString& caption, const QString& tip, QWidget* parent)
{
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(QStringLiteral("Editor_%1").arg(caption));
    made->setToolTip(tip);
    made->setAutoDefault(false);
    return made;
}

} // namespace

void EditorWindow::buildControls()
{
    auto* left = new QVBoxLayout;
    left->addWidget(m_preview);
    m_strip = new QLabel(this);
    m_strip->setObjectName(QStringLiteral("EditorStrip"));
    m_strip->setAccessibleName(QStringLiteral("The edited palette's strip"));
    left->addWidget(m_strip);
    m_view = new QLabel(this);
    m_view->setObjectName(QStringLiteral("EditorView"));
    left->addWidget(m_view);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("EditorNote"));
    m_note->setWordWrap(true);
    m_note->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0);"));
    left->addWidget(m_note);
    left->addStretch();

    auto* buttons = new QHBoxLayout;
    const struct {
        const char* caption;
        const char* tip;
        void (EditorWindow::*action)();
    } rows[] = {
        {"randomise", "New values for every number not locked, as a new picture draws them", &EditorWindow::randomise},
        {"reset", "Back to the picture's own values", &EditorWindow::reset},
        {"apply", "Paint the edited picture in the window (Ctrl+Z there undoes it)", &EditorWindow::apply},
        {"cancel", "Close, leaving everything as it was (Esc)", &EditorWindow::cancel},
    };
    for (const auto& row : rows) {
        auto* made = button(QString::fromLatin1(row.caption), QString::fromLatin1(row.tip), this);
        connect(made, &QPushButton::clicked, this, row.action);
        buttons->addWidget(made);
    }
    left->addLayout(buttons);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(buildNumbers());
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(scroll, 1);
    resize(1200, 760);
}

QWidget* EditorWindow::buildNumbers()
{
    auto* numbers = new QWidget;
    auto* layout = new QVBoxLayout(numbers);
    QGroupBox* group = nullptr;
    QVBoxLayout* rows = nullptr;
    const auto& editable = editableNumbers();
    for (int k = 0; k < kEditableNumbers; ++k) {
        const EditableNumber& number = editable[static_cast<std::size_t>(k)];
        if (!group || group->title() != QString::fromLatin1(number.group)) {
            group = new QGroupBox(QString::fromLatin1(number.group), numbers);
            rows = new QVBoxLayout(group);
            layout->addWidget(group);
        }
        const bool isTip = qstrcmp(number.code, "tip") == 0;
        const bool isBarv = qstrcmp(number.code, "barv") == 0;
        auto* row = new ParameterRow(k, number, isTip ? kFormulaSetNames.data() : isBarv ? kPositionFormulaNames.data() : nullptr,
                                     isTip ? static_cast<int>(kFormulaSetNames.size())
                                           : static_cast<int>(kPositionFormulaNames.size()),
                                     group);
        connect(row, &ParameterRow::edited, this, &EditorWindow::edit);
        connect(row, &ParameterRow::refused, m_note, &QLabel::setText);
        rows->addWidget(row);
        m_rows.push_back(row);
    }
    layout->addStretch();
    return numbers;
}

void EditorWindow::addKeys()
{
    for (const EditorKeyRow& row : kEditorKeys) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(row.key)), this);
        connect(shortcut, &QShortcut::activated, this, [this, action = row.action] {
            switch (action) {
            case EditorKey::ZoomIn:
                zoomBy(kZoomStep);
                break;
            case EditorKey::ZoomOut:
                zoomBy(1 / kZoomStep);
                break;
            case EditorKey::Apply:
                apply();
                break;
            case EditorKey::Cancel:
                cancel();
                break;
            }
        });
    }
}

} // namespace mandalix
