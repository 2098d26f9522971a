#include "desktop/private_bus.h"

#include <QDir>
#include <QFile>
#include <QTimer>

namespace mandalix::bustest {

namespace {

constexpr char kConnection[] = "test-portal";

bool writeText(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

QDBusObjectPath TestPortal::SetWallpaperURI(const QString&, const QString& uri, const QVariantMap& given,
                                            const QDBusMessage& call)
{
    uris << uri;
    options = given;
    QString sender = call.service().mid(1);
    sender.replace(u'.', u'_');
    const QString handle = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                               .arg(sender, given.value("handle_token").toString());
    // After the reply, as a portal answers once the desktop has done it.
    QTimer::singleShot(0, this, [this, handle] {
        QDBusMessage signal = QDBusMessage::createSignal(handle, "org.freedesktop.portal.Request", "Response");
        signal << response << QVariantMap();
        m_bus.send(signal);
    });
    return QDBusObjectPath(handle);
}

PrivateBus::~PrivateBus()
{
    stopPortal();
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        m_daemon.waitForFinished(5000);
    }
}

bool PrivateBus::start(QString* error)
{
    const QDir home(m_home);
    home.mkpath("services");
    const bool written =
        writeText(home.filePath("services/ca.desrt.dconf.service"),
                  "[D-BUS Service]\nName=ca.desrt.dconf\nExec=/usr/libexec/dconf-service\n")
        && writeText(home.filePath("bus.conf"),
                     "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                     " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n<busconfig>"
                     "<type>session</type><listen>unix:tmpdir=" + m_home + "</listen>"
                     "<servicedir>" + home.filePath("services") + "</servicedir>"
                     "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                     "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
    if (!written) {
        *error = "cannot write the bus's files into " + m_home;
        return false;
    }
    m_daemon.start("dbus-daemon", {"--config-file=" + home.filePath("bus.conf"), "--nofork", "--print-address"});
    if (!m_daemon.waitForReadyRead(10000)) {
        *error = "dbus-daemon did not start: " + m_daemon.errorString();
        return false;
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    return true;
}

TestPortal* PrivateBus::startPortal(uint response)
{
    stopPortal();
    QDBusConnection bus = QDBusConnection::connectToBus(m_address, kConnection);
    if (!bus.isConnected())
        return nullptr;
    m_portal = std::make_unique<TestPortal>(bus);
    m_portal->response = response;
    if (!bus.registerObject("/org/freedesktop/portal/desktop", m_portal.get(), QDBusConnection::ExportAllSlots)
        || !bus.registerService("org.freedesktop.portal.Desktop"))
        return nullptr;
    return m_portal.get();
}

void PrivateBus::stopPortal()
{
    m_portal.reset();
    QDBusConnection::disconnectFromBus(kConnection);
}

} // namespace mandalix::bustest
