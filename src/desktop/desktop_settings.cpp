#include "desktop/desktop_settings.h"

#include <QUrl>

#include <utility>
#include <vector>

namespace mandalix {

namespace {

const QString kGsettings = QStringLiteral("gsettings");
const QString kXfconf = QStringLiteral("xfconf-query");
const QString kXfceChannel = QStringLiteral("xfce4-desktop");

// A text as a GVariant string literal, the form gsettings reads its values in.
QString variantString(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + escaped + u'\'';
}

// Keys written so far and what they held before, put back when a later one fails.
struct Restorer {
    std::vector<std::pair<QStringList, QString>> earlier; // the arguments naming a key, its old value

    void putBack(const CommandPath& path, const QString& program) const
    {
        for (auto it = earlier.rbegin(); it != earlier.rend(); ++it)
            (void)runDesktopCommand(path, program, it->first + QStringList{it->second});
    }
};

Result<> setGsettingsKey(const CommandPath& path, const QString& key, const QString& value, Restorer& restorer)
{
    const QStringList naming{QString::fromLatin1(kGnomeBackgroundSchema), key};
    const Result<QByteArray> before = runDesktopCommand(path, kGsettings, QStringList{QStringLiteral("get")} + naming);
    if (!before.ok)
        return Result<>::failure(before.message);
    const Result<QByteArray> set = runDesktopCommand(path, kGsettings, QStringList{QStringLiteral("set")} + naming
                                                                           + QStringList{value});
    if (!set.ok)
        return Result<>::failure(set.message);
    restorer.earlier.push_back({QStringList{QStringLiteral("set")} + naming, QString::fromUtf8(before.value).trimmed()});
    return Result<>::success();
}

} // namespace

QString gnomePictureOption(QSize picturePx, QSize screenPx)
{
    return picturePx == screenPx ? QStringLiteral("centered") : QStringLiteral("zoom");
}

bool hasGnomeBackground(const CommandPath& path)
{
    return runDesktopCommand(path, kGsettings, {QStringLiteral("list-keys"), QString::fromLatin1(kGnomeBackgroundSchema)}).ok;
}

Result<> setGnomeWallpaper(const CommandPath& path, const QString& file, const QString& option)
{
    const Result<QByteArray> keys =
        runDesktopCommand(path, kGsettings, {QStringLiteral("list-keys"), QString::fromLatin1(kGnomeBackgroundSchema)});
    if (!keys.ok)
        return Result<>::failure(keys.message);
    const QString uri = variantString(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded));
    QStringList assignments{QStringLiteral("picture-options"), variantString(option),
                            QStringLiteral("picture-uri"), uri};
    if (QString::fromUtf8(keys.value).split(u'\n').contains(QStringLiteral("picture-uri-dark")))
        assignments << QStringLiteral("picture-uri-dark") << uri;
    Restorer restorer;
    for (qsizetype i = 0; i + 1 < assignments.size(); i += 2) {
        const Result<> set = setGsettingsKey(path, assignments[i], assignments[i + 1], restorer);
        if (!set.ok) {
            restorer.putBack(path, kGsettings);
            return set;
        }
    }
    return Result<>::success();
}

Result<> setKdeWallpaper(const CommandPath& path, const QString& file)
{
    const Result<QByteArray> run = runDesktopCommand(path, QStringLiteral("plasma-apply-wallpaperimage"), {file});
    return run.ok ? Result<>::success() : Result<>::failure(run.message);
}

Result<> setXfceWallpaper(const CommandPath& path, const QString& file)
{
    const Result<QByteArray> listed = runDesktopCommand(path, kXfconf, {QStringLiteral("-c"), kXfceChannel, QStringLiteral("-l")});
    if (!listed.ok)
        return Result<>::failure(listed.message);
    QStringList properties;
    for (const QString& line : QString::fromUtf8(listed.value).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.trimmed().endsWith(QStringLiteral("/last-image")))
            properties << line.trimmed();
    }
    if (properties.isEmpty())
        return Result<>::failure(QStringLiteral("Xfce's desktop has no picture to replace"));
    Restorer restorer;
    for (const QString& property : properties) {
        const QStringList naming{QStringLiteral("-c"), kXfceChannel, QStringLiteral("-p"), property};
        const Result<QByteArray> before = runDesktopCommand(path, kXfconf, naming);
        const Result<QByteArray> set = before.ok ? runDesktopCommand(path, kXfconf, naming + QStringList{QStringLiteral("-s"), file})
                                                 : before;
        if (!set.ok) {
            restorer.putBack(path, kXfconf);
            return Result<>::failure(set.message);
        }
        restorer.earlier.push_back({naming + QStringList{QStringLiteral("-s")}, QString::fromUtf8(before.value).trimmed()});
    }
    return Result<>::success();
}

} // namespace mandalix
