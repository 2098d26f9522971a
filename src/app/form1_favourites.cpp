// Form1's side of the favourite palettes: K and the "favourite palettes" button, keeping
// the palette of the picture on show under a name, and a favourite used from their window
// as a command, for the picture on show or for the pictures that follow.
#include "app/form1.h"

#include "app/favourites_window.h"
#include "app/form1_layout.h"

#include <QInputDialog>
#include <QPushButton>

namespace mandalix {

void Form1::buildFavouritesButton()
{
    auto* button = new QPushButton(QStringLiteral("favourite palettes"), this);
    button->setObjectName(QStringLiteral("FavouritesButton"));
    button->setGeometry(kFavouritesX, kFavouritesY, kFavouritesW, kFavouritesH);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QStringLiteral("The palettes kept as favourites (K keeps the one on show)"));
    connect(button, &QPushButton::clicked, this, &Form1::openFavourites);
}

FavouritesWindow& Form1::favourites()
{
    if (!m_favourites) {
        m_favourites = new FavouritesWindow(m_favouritesPath, this);
        connect(m_favourites, &FavouritesWindow::used, this,
                [this](const PaletteWaves& waves, bool repaint) { post(cmd::UsePalette{waves, repaint}); });
    }
    return *m_favourites;
}

// Opened beside the buttons, so the picture it repaints stays in sight.
void Form1::openFavourites()
{
    FavouritesWindow& window = favourites();
    if (!window.isVisible())
        window.move(mapToGlobal(QPoint(kStatusX + kStatusW + 8, kVariationsY)));
    window.present();
}

void Form1::askToKeepPalette()
{
    const QString suggested = QStringLiteral("palette of %1").arg(pictureOnShow().imeslike);
    bool ok = false;
    const QString name = QInputDialog::getText(this, QStringLiteral("Keep this palette"), QStringLiteral("Name:"),
                                               QLineEdit::Normal, suggested, &ok);
    if (ok)
        keepPalette(name);
}

bool Form1::keepPalette(const QString& name)
{
    const bool kept = favourites().keep(name, pictureOnShow().palette);
    openFavourites();
    return kept;
}

} // namespace mandalix
