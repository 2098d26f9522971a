// The favourite palettes from the window: keeping the palette on show, applying a kept
// one to the picture, and a damaged file that the window reports and leaves alone.
#include "app/favourites_window.h"
#include "app/form1.h"

#include "program/program.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

class FavouritesFromForm1 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_form.setFavouritesPath(favouritesPath());
        m_form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
        m_form.start();
        waitIdle();
    }
    void waitIdle() { ASSERT_TRUE(m_form.worker().waitUntilIdle(20s)); }
    QString favouritesPath() const { return m_dir.filePath(QStringLiteral("favourite-palettes.json")); }

    QTemporaryDir m_dir;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 9), QTime(10, 15, 30, 250))};
    Session m_program{m_clock, Drives{m_dir.path(), m_dir.path()}};
    Form1 m_form{m_program, nullptr, std::chrono::milliseconds(0)};
};

TEST_F(FavouritesFromForm1, AKeptPaletteAppliedRepaintsThePictureOnShowWithIt)
{
    const PictureRecord first = m_program.picture;
    ASSERT_TRUE(m_form.keepPalette(QStringLiteral("mine")));
    FavouritesWindow& window = m_form.favourites();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.objectName(), QStringLiteral("Favourites"));
    ASSERT_EQ(window.list()->count(), 1);
    EXPECT_EQ(window.list()->item(0)->text(), QStringLiteral("mine"));
    EXPECT_EQ(readFavourites(favouritesPath()).value, (Favourites{{QStringLiteral("mine"), first.palette}}));

    m_form.post(cmd::NewImageNewPalette{});
    waitIdle();
    PictureRecord expected = m_program.picture;
    ASSERT_NE(expected.palette, first.palette);
    expected.palette = first.palette;

    auto* apply = window.findChild<QPushButton*>(QStringLiteral("ApplyButton"));
    ASSERT_NE(apply, nullptr);
    window.list()->setCurrentRow(0);
    QTest::mouseClick(apply, Qt::LeftButton);
    waitIdle();
    EXPECT_EQ(m_program.picture, expected);
    Program shown(m_clock, Drives{});
    StartUp(shown, noPacing());
    (void)runCommand(shown, cmd::ShowRecord{expected}, noPacing());
    EXPECT_EQ(m_program.surfaces.Picture1.image(), shown.surfaces.Picture1.image());
}

TEST_F(FavouritesFromForm1, ADamagedFileIsReportedAndLeftAlone)
{
    const QByteArray damaged = "{\"favourites\": [{\"name\": \"a\", \"period\": [20, 30";
    {
        QFile file(favouritesPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    EXPECT_FALSE(m_form.keepPalette(QStringLiteral("mine")));
    FavouritesWindow& window = m_form.favourites();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.list()->count(), 0);
    EXPECT_TRUE(window.messageLine()->text().contains(QLatin1String("damaged"))) << window.messageLine()->text().toStdString();
    QFile file(favouritesPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damaged);
}

} // namespace
} // namespace mandalix
