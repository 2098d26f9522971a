// A session bus of a test's own, that starts dconf-service when asked and nothing else,
// and a desktop portal of the test's own on it that records each SetWallpaperURI and
// answers as it is told. Test thread only; the portal answers while that thread handles
// events.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

#include <memory>

namespace mandalix::bustest {

class TestPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Wallpaper")
public:
    explicit TestPortal(QDBusConnection bus) : m_bus(std::move(bus)) { }
    uint response = 0;
    QStringList uris;
    QVariantMap options;

public slots:
    QDBusObjectPath SetWallpaperURI(const QString& parent, const QString& uri, const QVariantMap& given,
                                    const QDBusMessage& call);

private:
    QDBusConnection m_bus;
};

class PrivateBus {
public:
    // `home` holds the bus's files; the dconf database is wherever XDG_CONFIG_HOME points
    // when start() is called.
    explicit PrivateBus(const QString& home) : m_home(home) { }
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Starts dbus-daemon; false with the reason when it cannot.
    bool start(QString* error);
    QString address() const { return m_address; }

    // A portal answering `response`, until stopPortal(); null when it cannot be put there.
    TestPortal* startPortal(uint response);
    void stopPortal();

private:
    QString m_home;
    QProcess m_daemon;
    QString m_address;
    std::unique_ptr<TestPortal> m_portal;
};

} // namespace mandalix::bustest
