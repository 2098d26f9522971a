// The favourite palettes in the real program: K keeps the palette on show under the name
// the dialog proposes, the favourites window shows, and applying the favourite after a
// new palette repaints the picture with the kept palette's colours.
#include "window/real_window_fixture.h"

#include "output/favourites_file.h"
#include "palette/strip_colours.h"

#include <QDir>

#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

QString favouritesWindow() { return visibleWindowNamed(QStringLiteral("^mandalix favourite palettes$")); }

// Surely painted pixels of the picture whose colour is not one of `colours`.
int foreignPixels(const QImage& picture, const QSet<QRgb>& colours)
{
    int foreign = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            foreign += isSurelyPainted(x, y) && !colours.contains(picture.pixel(x, y)) ? 1 : 0;
    return foreign;
}

using FavouritePalettesWindowTest = RealWindowTest;

TEST_F(FavouritePalettesWindowTest, KeptWithKAndAppliedRepaintsThePictureWithIt)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    waitUntilPictureIsStill();
    const QSet<QRgb> kept = pictureColours(m_program->grab());

    QString error;
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("k"), &error)) << error.toStdString();
    ASSERT_TRUE(m_program->waitForWindowTitled(QStringLiteral("Keep this palette"), kWindowDeadline, &error))
        << error.toStdString();
    ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("Return"), &error)) << error.toStdString();
    QString window;
    ASSERT_TRUE(waitFor([&] { return !(window = favouritesWindow()).isEmpty(); }, kWindowDeadline));

    const QString file = QDir(m_program->folder()).filePath(QStringLiteral("config/mandalix/favourite-palettes.json"));
    const Result<Favourites> favourites = readFavourites(file);
    ASSERT_TRUE(favourites.ok) << favourites.message.toStdString();
    ASSERT_EQ(favourites.value.size(), 1u);
    EXPECT_TRUE(favourites.value[0].name.startsWith(QLatin1String("palette of T"))) << favourites.value[0].name.toStdString();
    QSet<QRgb> keptInFile;
    for (const Colour colour : stripColours(favourites.value[0].waves))
        keptInFile.insert(toArgb(colour));
    EXPECT_EQ(keptInFile, kept) << "the palette on show was kept";

    // A new picture with a new palette, then the favourite applied to it.
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("ctrl+n"), &error)) << error.toStdString();
    ASSERT_TRUE(waitFor([&] { return pictureColours(m_program->grab()) != kept; }, kPaintDeadline));
    const QImage other = waitUntilPictureIsStill();
    ASSERT_EQ(xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window}).exitCode, 0);
    ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("Return"), &error)) << error.toStdString();
    ASSERT_TRUE(waitFor([&] { return pictureColours(m_program->grab()) == kept; }, kPaintDeadline))
        << "the strip shows the kept palette again";
    const QImage applied = waitUntilPictureIsStill();
    EXPECT_NE(applied, other);
    EXPECT_EQ(foreignPixels(applied, kept), 0) << "the picture is painted from the kept palette";
    saveForTheEye(m_program->grab(), "favourite-applied.png");
}

} // namespace
} // namespace mandalix::xtest
