#include "output/favourites_file.h"

#include "output/output_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <set>

namespace mandalix {

namespace {

const QString kList = QStringLiteral("favourites");
const QString kName = QStringLiteral("name");
const QString kPeriod = QStringLiteral("period");
const QString kPhase = QStringLiteral("phase");
const QString kWavelength = QStringLiteral("wavelength");

QJsonArray threeNumbers(const std::array<double, 3>& numbers)
{
    return {numbers[0], numbers[1], numbers[2]};
}

// Three finite numbers under `key` of the favourite `where`; when `mustBePositive`, each
// above zero. The reason, or an empty text.
QString readThree(const QJsonObject& object, const QString& key, const QString& where, bool mustBePositive,
                  std::array<double, 3>& numbers)
{
    const QJsonValue value = object.value(key);
    if (!value.isArray() || value.toArray().size() != 3)
        return QStringLiteral("%1.%2 is not a list of three numbers (red, green, blue)").arg(where, key);
    const QJsonArray array = value.toArray();
    for (int k = 0; k < 3; ++k) {
        const QJsonValue number = array.at(k);
        if (!number.isDouble() || !std::isfinite(number.toDouble()))
            return QStringLiteral("%1.%2[%3] is not a finite number").arg(where, key).arg(k);
        if (mustBePositive && !(number.toDouble() > 0))
            return QStringLiteral("%1.%2[%3] is not above zero").arg(where, key).arg(k);
        numbers[static_cast<std::size_t>(k)] = number.toDouble();
    }
    return {};
}

// One favourite of the list, at `index`; the reason, or an empty text.
QString readOne(const QJsonValue& value, int index, FavouritePalette& favourite)
{
    const QString where = QStringLiteral("favourites[%1]").arg(index);
    if (!value.isObject())
        return QStringLiteral("%1 is not an object").arg(where);
    const QJsonObject object = value.toObject();
    if (!object.value(kName).isString() || object.value(kName).toString().trimmed().isEmpty())
        return QStringLiteral("%1.name is not a name").arg(where);
    favourite.name = object.value(kName).toString();
    QString problem = readThree(object, kPeriod, where, true, favourite.waves.period);
    if (problem.isEmpty())
        problem = readThree(object, kPhase, where, false, favourite.waves.phase);
    if (problem.isEmpty())
        problem = readThree(object, kWavelength, where, true, favourite.waves.wavelength);
    return problem;
}

} // namespace

QString defaultFavouritesPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
         + QStringLiteral("/mandalix/favourite-palettes.json");
}

QByteArray favouritesJson(const Favourites& favourites)
{
    QJsonArray list;
    for (const FavouritePalette& f : favourites)
        list.append(QJsonObject{{kName, f.name},
                                {kPeriod, threeNumbers(f.waves.period)},
                                {kPhase, threeNumbers(f.waves.phase)},
                                {kWavelength, threeNumbers(f.waves.wavelength)}});
    return QJsonDocument(QJsonObject{{kList, list}}).toJson(QJsonDocument::Indented);
}

Result<Favourites> parseFavourites(const QByteArray& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        return Result<Favourites>::failure(
            QStringLiteral("damaged JSON at byte %1: %2").arg(error.offset).arg(error.errorString()));
    if (!document.isObject() || !document.object().value(kList).isArray())
        return Result<Favourites>::failure(QStringLiteral("no list of favourites"));
    const QJsonArray list = document.object().value(kList).toArray();
    Favourites favourites(static_cast<std::size_t>(list.size()));
    std::set<QString> names;
    for (int k = 0; k < list.size(); ++k) {
        FavouritePalette& favourite = favourites[static_cast<std::size_t>(k)];
        if (const QString problem = readOne(list.at(k), k, favourite); !problem.isEmpty())
            return Result<Favourites>::failure(problem);
        if (!names.insert(favourite.name).second)
            return Result<Favourites>::failure(
                QStringLiteral("favourites[%1]: the name \"%2\" is used twice").arg(k).arg(favourite.name));
    }
    return Result<Favourites>::success(std::move(favourites));
}

Result<Favourites> readFavourites(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return Result<Favourites>::success();
    if (!file.open(QIODevice::ReadOnly))
        return Result<Favourites>::failure(QStringLiteral("Could not read \"%1\": %2").arg(path, file.errorString()));
    Result<Favourites> read = parseFavourites(file.readAll());
    if (!read.ok)
        read.message = QStringLiteral("Could not read \"%1\": %2").arg(path, read.message);
    return read;
}

Result<> writeFavourites(const QString& path, const Favourites& favourites)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return Result<>::failure(QStringLiteral("Could not write \"%1\": cannot make the folder \"%2\"").arg(path, folder));
    OutputFiles files;
    if (const Result<> added = files.addText(path, favouritesJson(favourites)); !added.ok)
        return added;
    return files.commit();
}

Result<PaletteWaves> firstFavouriteWaves(const QString& path)
{
    const Result<Favourites> read = readFavourites(path);
    if (!read.ok)
        return Result<PaletteWaves>::failure(read.message);
    if (read.value.empty())
        return Result<PaletteWaves>::failure(QStringLiteral("\"%1\" holds no favourite palette").arg(path));
    return Result<PaletteWaves>::success(read.value.front().waves);
}

QString unusedName(const QString& name, const Favourites& taken)
{
    const auto isTaken = [&](const QString& candidate) {
        return std::any_of(taken.begin(), taken.end(), [&](const FavouritePalette& f) { return f.name == candidate; });
    };
    QString candidate = name;
    for (int n = 2; isTaken(candidate); ++n)
        candidate = QStringLiteral("%1 (%2)").arg(name).arg(n);
    return candidate;
}

} // namespace mandalix
