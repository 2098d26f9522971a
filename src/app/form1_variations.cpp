// Form1's side of the variations: the key V and the "variations" button open them for the
// picture on show; a kept picture of the history panel can be their parent, or be bred
// with the picture on show; an adopted cell is painted here as the picture on show.
#include "app/form1.h"

#include "app/form1_layout.h"
#include "app/variations_window.h"

#include <QMenu>
#include <QPushButton>

namespace mandalix {

void Form1::buildVariationsButton()
{
    auto* button = new QPushButton(QStringLiteral("variations"), this);
    button->setObjectName(QStringLiteral("VariationsButton"));
    button->setGeometry(kVariationsX, kVariationsY, kVariationsW, kVariationsH);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QStringLiteral("More like this: variations of the picture on show (V)"));
    connect(button, &QPushButton::clicked, this, &Form1::openVariations);
}

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
    menu.exec(globalPosition);
}

} // namespace mandalix
