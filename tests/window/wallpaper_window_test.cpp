// Key W in the real program: the picture on show, painted at the size of the screen,
// goes to the desktop portal of a private session bus, carrying its record.
#include "window/real_window_fixture.h"

#include "desktop/private_bus.h"
#include "output/params_file.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

namespace mandalix::xtest {
namespace {

class WallpaperWindowTest : public RealWindowTest {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed (scripts/install-deps test)";
        QString error;
        ASSERT_TRUE(m_bus.start(&error)) << error.toStdString();
        m_portal = m_bus.startPortal(0);
        ASSERT_NE(m_portal, nullptr);
        // The program takes its session from the environment it is started with.
        setVariable("DBUS_SESSION_BUS_ADDRESS", m_bus.address());
        setVariable("MANDALIX_WALLPAPER_DIR", m_home.filePath("wallpapers"));
        setVariable("XDG_CURRENT_DESKTOP", {});
        RealWindowTest::SetUp();
    }

    void TearDown() override
    {
        RealWindowTest::TearDown();
        for (const auto& [name, value] : m_earlier)
            value ? qputenv(name, *value) : qunsetenv(name);
    }

    void setVariable(const char* name, const QString& value)
    {
        m_earlier.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value.toUtf8());
    }

    QTemporaryDir m_home;
    bustest::PrivateBus m_bus{m_home.path()};
    bustest::TestPortal* m_portal = nullptr;
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_earlier;
};

TEST_F(WallpaperWindowTest, WSetsThePictureOnShowThroughThePortal)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    waitUntilPictureIsStill();
    QString error;
    ASSERT_TRUE(m_program->pressKeys("w", &error)) << error.toStdString();
    ASSERT_TRUE(waitFor([&] { return !m_portal->uris.isEmpty(); }, kPaintDeadline)) << m_program->report();
    EXPECT_EQ(m_portal->uris.size(), 1);
    EXPECT_EQ(m_portal->options.value("set-on"), QVariant(QStringLiteral("both")));

    const QString file = QUrl(m_portal->uris.first()).toLocalFile();
    EXPECT_EQ(QFileInfo(file).absolutePath(), QFileInfo(m_home.filePath("wallpapers")).absoluteFilePath());
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(QImage(file).size(), screen->geometry().size() * screen->devicePixelRatio());
    const ParamsRead record = readParamsFile(file);
    ASSERT_TRUE(record.ok) << record.message.toStdString();
    EXPECT_TRUE(QFileInfo(file).fileName().startsWith(record.value.imeslike));
    saveForTheEye(m_program->grab(), "wallpaper_set.png");
}

} // namespace
} // namespace mandalix::xtest
