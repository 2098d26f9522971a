#include "desktop/portal_wallpaper.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

#include <atomic>

namespace mandalix {

namespace {

// Waits for the Response of the portal's request on the calling thread.
class PortalResponse : public QObject {
    Q_OBJECT
public:
    bool isAnswered = false;
    uint response = 0;
    QEventLoop loop;

public slots:
    void onResponse(uint code, const QVariantMap&)
    {
        if (isAnswered)
            return;
        isAnswered = true;
        response = code;
        loop.quit();
    }
};

bool listenTo(QDBusConnection& bus, const QString& request, PortalResponse& receiver)
{
    return bus.connect(QString::fromLatin1(kPortalService), request, QString::fromLatin1(kPortalRequestInterface),
                       QStringLiteral("Response"), &receiver, SLOT(onResponse(uint, QVariantMap)));
}

QString portalRefusal(uint response)
{
    return response == 1 ? QStringLiteral("the desktop portal refused (cancelled)")
                         : QStringLiteral("the desktop portal could not set it (answer %1)").arg(response);
}

Result<> askPortal(QDBusConnection& bus, const QString& file, int responseTimeoutMs, const std::atomic<bool>* cancel)
{
    // The request object's path is known before the call from the token, so the answer
    // cannot come before the program listens for it.
    static std::atomic<int> serial{0};
    const QString token = QStringLiteral("mandalix%1").arg(serial.fetch_add(1));
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    const QString expected = QStringLiteral("%1/request/%2/%3").arg(QLatin1String(kPortalPath), sender, token);
    PortalResponse receiver;
    listenTo(bus, expected, receiver);

    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kPortalService), QString::fromLatin1(kPortalPath),
                                                       QString::fromLatin1(kPortalWallpaperInterface),
                                                       QStringLiteral("SetWallpaperURI"));
    const QVariantMap options{{QStringLiteral("show-preview"), false},
                              {QStringLiteral("set-on"), QStringLiteral("both")},
                              {QStringLiteral("handle_token"), token}};
    call << QString() << QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded)
         << options;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kPortalCallTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const QDBusError error(reply);
        if (error.type() == QDBusError::ServiceUnknown)
            return Result<>::failure(QStringLiteral("no desktop portal"));
        if (error.type() == QDBusError::UnknownInterface || error.type() == QDBusError::UnknownMethod
            || error.type() == QDBusError::UnknownObject)
            return Result<>::failure(QStringLiteral("the desktop portal cannot set wallpapers"));
        return Result<>::failure(QStringLiteral("the desktop portal answered: %1").arg(error.message()));
    }
    const QString handle = reply.arguments().value(0).value<QDBusObjectPath>().path();
    if (!handle.isEmpty() && handle != expected)
        listenTo(bus, handle, receiver);
    if (!receiver.isAnswered) {
        QTimer::singleShot(responseTimeoutMs, &receiver.loop, &QEventLoop::quit);
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &receiver.loop, [&] {
            if (cancel && cancel->load(std::memory_order_acquire))
                receiver.loop.quit();
        });
        watch.start(50);
        receiver.loop.exec();
    }
    if (!receiver.isAnswered)
        return Result<>::failure(QStringLiteral("the desktop portal did not answer"));
    return receiver.response == 0 ? Result<>::success() : Result<>::failure(portalRefusal(receiver.response));
}

} // namespace

QString sessionBusAddress()
{
    const QString named = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!named.isEmpty())
        return named;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString socket = runtime + QStringLiteral("/bus");
    return !runtime.isEmpty() && QFileInfo::exists(socket) ? QStringLiteral("unix:path=") + socket : QString();
}

Result<> setPortalWallpaper(const QString& file, int responseTimeoutMs, const std::atomic<bool>* cancel)
{
    // Read now rather than through the library's session bus, which keeps the first
    // address it saw for the program's life.
    const QString address = sessionBusAddress();
    if (address.isEmpty())
        return Result<>::failure(QStringLiteral("no D-Bus session bus"));
    static std::atomic<int> connections{0};
    const QString name = QStringLiteral("mandalix-wallpaper-%1").arg(connections.fetch_add(1));
    Result<> result = Result<>::failure(QString());
    {
        QDBusConnection bus = QDBusConnection::connectToBus(address, name);
        if (bus.isConnected())
            result = askPortal(bus, file, responseTimeoutMs, cancel);
        else
            result.message = QStringLiteral("no D-Bus session bus: %1").arg(bus.lastError().message());
    }
    QDBusConnection::disconnectFromBus(name);
    return result;
}

} // namespace mandalix

#include "portal_wallpaper.moc"
