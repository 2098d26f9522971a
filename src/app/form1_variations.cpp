// Form1's side of the variations and the editor: the keys V and E and their buttons open
// them for the picture on show; a kept picture of the history panel can be the variations'
// parent, or be bred with the picture on show; an adopted cell or an applied edit is
// painted here as the picture on show, one step.
#include "app/form1.h"

#include "app/form1_layout.h"
#include "app/editor_window.h"
#include "app/variations_window.h"

#include <QMenu>
#include <QPushButton>

namespace mandalix {

void Form1::buildVariationsButton()
{
    const struct {
        const char* name;
        const char* caption;
        const char* tip;
        int y;
        void (Form1::*action)();
    } buttons[] = {
        {"VariationsButton", "variations", "More like this: variations of the picture on show (V)", kVariationsY,
         &Form1::openVariations},
        {"EditorButton", "edit", "Edit the numbers of the picture on show (E)", kEditorY, &Form1::openEditor},
    };
    for (const auto& row : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(row.caption), this);
        button->setObjectName(QString::fromLatin1(row.name));
        button->setGeometry(kVariationsX, row.y, kVariationsW, kVariationsH);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(QString::fromLatin1(row.tip));
        connect(button, &QPushButton::clicked, this, row.action);
    }
}

EditorWindow& Form1::editor()
{
    if (!m_editor) {
        m_editor = new EditorWindow(QSize(kPictureSizePx, kPictureSizePx), this);
        connect(m_editor, &EditorWindow::applied, this, [this](const PictureRecord& record) { post(cmd::Adopt{record}); });
    }
    return *m_editor;
}

void Form1::openEditor() { editor().openFor(pictureOnShow()); }

PictureRecord Form1::pictureOnShow() const
{
    std::lock_guard lock(m_program.surfaces.lock);
    return m_program.picture;
}

VariationsWindow& Form1::variations()
{
    if (!m_variations) {
        m_variations = new VariationsWindow(m_variationSettingsPath, [this] { return pictureOnShow(); }, this);
        connect(m_variations, &VariationsWindow::adopted, this,
                [this](const PictureRecord& record) { post(cmd::Adopt{record}); });
        connect(m_variations, &VariationsWindow::morphAsked, this, [this](const PictureRecord& record) {
            exportAnimation(SecondPicture{record, record.imeslike});
        });
    }
    return *m_variations;
}

void Form1::openVariations() { variations().openFor(pictureOnShow()); }

void Form1::useKeptPicture(const QString& path, KeptUse use)
{
    if (!m_program.history)
        return;
    const Result<KeptPicture> kept = m_program.history->readKept(path);
    if (!kept.ok) {
        showHistoryLine(QStringLiteral("Cannot use that kept picture: %1").arg(kept.message));
        return;
    }
    if (use == KeptUse::Parent)
        variations().openFor(kept.value.record);
    else
        variations().openBred(pictureOnShow(), kept.value.record);
}

void Form1::showKeptMenu(const QString& path, QPoint globalPosition)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("Show it"), this, [this, path] { post(cmd::RestoreKept{path}); });
    menu.addAction(QStringLiteral("Variations of it"), this, [this, path] { useKeptPicture(path, KeptUse::Parent); });
    menu.addAction(QStringLiteral("Breed it with the picture on show"), this,
                   [this, path] { useKeptPicture(path, KeptUse::Breed); });
    menu.addAction(QStringLiteral("Morph loop with the picture on show..."), this, [this, path] { morphWithKept(path); });
    menu.exec(globalPosition);
}

} // namespace mandalix
