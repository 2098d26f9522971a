// Setting the wallpaper on a private session bus: a portal of the test's own that records
// the call and answers as it is told, and GNOME's keys in a private dconf when no portal
// answers. Every way that fails leaves the earlier wallpaper and files alone and says why.
#include "desktop/wallpaper_setter.h"

#include "base/serial_queue.h"
#include "desktop/desktop_settings.h"
#include "desktop/portal_wallpaper.h"
#include "desktop/private_bus.h"
#include "desktop/wallpaper_worker.h"
#include "render_job.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace mandalix {
namespace {

using bustest::TestPortal;

// The private bus, with the dconf database in a temporary folder.
class WallpaperSetter : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed (scripts/install-deps test)";
        QDir(m_home.path()).mkpath("config");
        QDir(m_home.path()).mkpath("runtime");
        QFile::setPermissions(m_home.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setVariable("XDG_CONFIG_HOME", m_home.filePath("config"));
        setVariable("XDG_RUNTIME_DIR", m_home.filePath("runtime"));
        QString error;
        ASSERT_TRUE(m_bus.start(&error)) << error.toStdString();
        setVariable("DBUS_SESSION_BUS_ADDRESS", m_bus.address());
        m_session.portalTimeoutMs = 10000;
    }

    void TearDown() override
    {
        m_bus.stopPortal();
        for (const auto& [name, value] : m_earlier)
            value ? qputenv(name, *value) : qunsetenv(name);
    }

    void setVariable(const char* name, const QString& value)
    {
        m_earlier.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv(name, value.toUtf8());
    }

    // Puts a portal answering `response` on the bus.
    void startPortal(uint response)
    {
        m_portal = m_bus.startPortal(response);
        ASSERT_NE(m_portal, nullptr);
    }

    bool hasGnomeKeys() const
    {
        return !QStandardPaths::findExecutable("gsettings").isEmpty() && QFileInfo::exists(kDconfService)
               && QFileInfo::exists("/usr/share/glib-2.0/schemas/org.gnome.desktop.background.gschema.xml");
    }

    QString gsettings(const QStringList& arguments)
    {
        QProcess process;
        process.start("gsettings", arguments);
        process.waitForFinished(10000);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }
    QString backgroundKey(const char* key) { return gsettings({"get", "org.gnome.desktop.background", key}); }

    // Runs `job` on a worker, as the window does, answering the bus meanwhile.
    template <typename Job> auto offThread(Job job)
    {
        decltype(job()) result{};
        SerialQueue queue("wallpaper-test");
        queue.post([&] { result = job(); });
        QElapsedTimer clock;
        clock.start();
        while (!queue.waitIdleFor(std::chrono::milliseconds(5)) && clock.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        queue.waitIdle();
        return result;
    }

    // A picture of the screen's size.
    QString pictureFile(QSize screenPx)
    {
        QImage image(screenPx, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = m_home.filePath("T20261209101500-64x48.png");
        image.save(path);
        return path;
    }

    const QString kDconfService = "/usr/libexec/dconf-service";
    QTemporaryDir m_home;
    bustest::PrivateBus m_bus{m_home.path()};
    TestPortal* m_portal = nullptr;
    DesktopSession m_session;
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_earlier;
};

TEST_F(WallpaperSetter, ThePortalGetsTheFilesUriWithoutPreviewForBothScreens)
{
    startPortal(0);
    const QString file = pictureFile(QSize(64, 48));
    const Result<WallpaperWay> set = offThread([&] { return setWallpaper(file, QSize(64, 48), m_session); });
    ASSERT_TRUE(set.ok) << set.message.toStdString();
    EXPECT_EQ(set.value, WallpaperWay::Portal);
    EXPECT_EQ(m_portal->uris, QStringList{QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)});
    EXPECT_EQ(m_portal->options.value("show-preview"), QVariant(false));
    EXPECT_EQ(m_portal->options.value("set-on"), QVariant(QStringLiteral("both")));
}

TEST_F(WallpaperSetter, WithoutAPortalGnomesKeysAreSet)
{
    if (!hasGnomeKeys())
        GTEST_SKIP() << "gsettings, dconf-service or GNOME's schemas are not installed (scripts/install-deps test)";
    const QString file = pictureFile(QSize(64, 48));
    m_session.desktop = "ubuntu:GNOME";
    const Result<WallpaperWay> set = offThread([&] { return setWallpaper(file, QSize(64, 48), m_session); });
    ASSERT_TRUE(set.ok) << set.message.toStdString();
    EXPECT_EQ(set.value, WallpaperWay::Gnome);
    const QString uri = "'" + QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + "'";
    EXPECT_EQ(backgroundKey("picture-uri"), uri);
    EXPECT_EQ(backgroundKey("picture-uri-dark"), uri);
    EXPECT_EQ(backgroundKey("picture-options"), "'centered'");
    EXPECT_EQ(gnomePictureOption(QSize(64, 48), QSize(1920, 1080)), "zoom");
}

TEST_F(WallpaperSetter, EveryFailureSaysWhyAndLeavesTheEarlierWallpaper)
{
    const bool hasGnome = hasGnomeKeys();
    const QString earlier = "'file:///usr/share/backgrounds/earlier.png'";
    if (hasGnome)
        gsettings({"set", "org.gnome.desktop.background", "picture-uri", earlier});
    const QTemporaryDir noCommands;
    struct Row {
        const char* name;
        std::optional<uint> portal; // none: no portal on the bus
        const char* desktop;
        bool hasCommands;
        const char* reasons;
    };
    const Row rows[] = {
        {"portal refuses, gsettings missing", 1u, "GNOME", false,
         "the desktop portal refused (cancelled); gsettings is not installed"},
        {"portal fails, no desktop, no display", 2u, "", false,
         "the desktop portal could not set it (answer 2); no desktop and no X display"},
        {"no portal, KDE's command missing", std::nullopt, "KDE", false,
         "no desktop portal; plasma-apply-wallpaperimage is not installed"},
    };
    const QString file = pictureFile(QSize(64, 48));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.portal)
            startPortal(*row.portal);
        m_session.desktop = row.desktop;
        m_session.commands.folders = row.hasCommands ? QStringList{} : QStringList{noCommands.path()};
        const Result<WallpaperWay> set = offThread([&] { return setWallpaper(file, QSize(64, 48), m_session); });
        EXPECT_FALSE(set.ok);
        EXPECT_EQ(set.message, row.reasons);
        if (hasGnome) {
            EXPECT_EQ(backgroundKey("picture-uri"), earlier);
        }
        m_bus.stopPortal();
    }
}

TEST_F(WallpaperSetter, AFileThatDidNotBecomeTheWallpaperIsTakenBack)
{
    startPortal(1);
    RenderRequest request;
    request.seed = 1234.5f;
    request.moment = momentOfSeed(QDate(2026, 12, 9), request.seed);
    const RenderedPicture rendered = renderPicture(request, noPacing());
    const WallpaperPicture picture{rendered.record, rendered.picture, QSize(48, 32), 1};
    const QString folder = m_home.filePath("wallpapers");
    const std::atomic<bool> cancel{false};
    const Result<WallpaperFile> before = writeWallpaperFile(folder, {rendered.record, rendered.picture, QSize(32, 48), 1}, cancel);
    ASSERT_TRUE(before.ok);

    const Result<QString> refused = offThread([&] { return makeWallpaper(folder, picture, m_session, cancel); });
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.message.startsWith("Could not set the wallpaper: the desktop portal refused"))
        << refused.message.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QFileInfo(before.value.path).fileName()});

    m_portal->response = 0;
    const Result<QString> set = offThread([&] { return makeWallpaper(folder, picture, m_session, cancel); });
    ASSERT_TRUE(set.ok) << set.message.toStdString();
    const QString path = QDir(folder).filePath(wallpaperFileName(rendered.record.imeslike, QSize(48, 32)));
    EXPECT_EQ(set.value, "Wallpaper set through the desktop portal: " + path);
    EXPECT_EQ(m_portal->uris.last(), QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    EXPECT_EQ(QDir(folder).count(), 2u + 2u);
}

TEST_F(WallpaperSetter, TheQueueSetsOneWallpaperAtATimeAndTellsHowItWent)
{
    startPortal(0);
    RenderRequest request;
    request.seed = 2345.5f;
    request.moment = momentOfSeed(QDate(2026, 12, 9), request.seed);
    const PictureRecord record = renderPicture(request, noPacing()).record;
    WallpaperWorker worker(m_home.filePath("wallpapers"));
    std::atomic<int> calls{0};
    QString line;
    auto done = [&](const Result<QString>& told) {
        line = told.ok ? told.value : told.message;
        calls.fetch_add(1);
    };
    // No picture shown: painted from the record on the worker.
    ASSERT_TRUE(worker.start({record, QImage(), QSize(40, 30), 1}, m_session, done));
    // The portal answers only while this thread handles events: the first is still on.
    EXPECT_FALSE(worker.start({record, QImage(), QSize(30, 40), 1}, m_session, done));
    QElapsedTimer clock;
    clock.start();
    while (!worker.waitIdleFor(std::chrono::milliseconds(5)) && clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(calls.load(), 1);
    EXPECT_FALSE(worker.isBusy());
    const QString path = QDir(m_home.filePath("wallpapers")).filePath(wallpaperFileName(record.imeslike, QSize(40, 30)));
    EXPECT_EQ(line, "Wallpaper set through the desktop portal: " + path);
    EXPECT_EQ(m_portal->uris, QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)});
}

} // namespace
} // namespace mandalix
