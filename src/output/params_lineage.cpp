#include "output/params_lineage.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>

namespace mandalix {

namespace {

struct KindName {
    Lineage::Kind kind;
    const char* name;
};

inline constexpr std::array<KindName, 6> kKindNames{{
    {Lineage::Kind::Drawn, "drawn"},
    {Lineage::Kind::Mutated, "mutated"},
    {Lineage::Kind::Crossover, "crossover"},
    {Lineage::Kind::Interpolation, "interpolation"},
    {Lineage::Kind::Adopted, "adopted"},
    {Lineage::Kind::Edited, "edited"},
}};

// The most groups a crossover names, and the longest name of one: far more than a
// picture has, few enough that a message quoting them stays short.
constexpr qsizetype kMaxGroups = 64;
constexpr qsizetype kMaxGroupChars = 32;
constexpr qsizetype kMaxFileChars = 4096;

QString excerpt(const QString& text)
{
    constexpr int kMaxChars = 32;
    QString line = text.left(kMaxChars);
    for (QChar& c : line)
        if (!c.isPrint() || c == u'\u2028' || c == u'\u2029')
            c = u' ';
    return text.size() > kMaxChars ? line + QStringLiteral("...") : line;
}

bool isPictureName(const QJsonValue& value)
{
    static const QRegularExpression kName(QStringLiteral("^T[0-9]{14}$"));
    return value.isString() && kName.match(value.toString()).hasMatch();
}

// Reads the fields of a lineage object, remembering the first thing wrong with them.
class LineageReader {
public:
    explicit LineageReader(const QJsonObject& object) : m_object(object) {}
    const QString& error() const { return m_error; }

    double number(const char* key, bool (*isInRange)(double), const char* range)
    {
        const QJsonValue value = m_object.value(QLatin1String(key));
        const double number = value.toDouble();
        if (!value.isDouble() || !std::isfinite(number) || !isInRange(number))
            fail(key, QStringLiteral("not a number %1").arg(QLatin1String(range)));
        return number;
    }

    void parents(Lineage& lineage, int count)
    {
        const QJsonValue value = m_object.value(QStringLiteral("parents"));
        const QJsonArray list = value.toArray();
        if (!value.isArray() || list.size() != count || !isPictureName(list.at(0))
            || (count == 2 && !isPictureName(list.at(1)))) {
            fail("parents", count == 1
                     ? QStringLiteral("not a list of one picture name (T and 14 digits)")
                     : QStringLiteral("not a list of two picture names (T and 14 digits)"));
            return;
        }
        lineage.parent = list.at(0).toString();
        lineage.otherParent = count == 2 ? list.at(1).toString() : QString();
    }

    QStringList groups()
    {
        const QJsonValue value = m_object.value(QStringLiteral("fromOther"));
        const QJsonArray list = value.toArray();
        QStringList groups;
        for (const QJsonValue& group : list) {
            const QString name = group.toString();
            if (!group.isString() || name.isEmpty() || name.size() > kMaxGroupChars)
                break;
            groups << name;
        }
        if (!value.isArray() || list.size() > kMaxGroups || groups.size() != list.size())
            fail("fromOther", QStringLiteral("not a list of group names (1 to %1 characters each, at most %2)")
                                  .arg(kMaxGroupChars).arg(kMaxGroups));
        return groups;
    }

    QString file()
    {
        const QJsonValue value = m_object.value(QStringLiteral("file"));
        const QString name = value.toString();
        if (!value.isString() || name.isEmpty() || name.size() > kMaxFileChars)
            fail("file", QStringLiteral("not a file name"));
        return name;
    }

    void fail(const char* key, const QString& reason)
    {
        if (m_error.isEmpty())
            m_error = QStringLiteral("lineage.%1: %2").arg(QLatin1String(key), reason);
    }

private:
    const QJsonObject& m_object;
    QString m_error;
};

bool isAny(double) { return true; }
bool isNotNegative(double x) { return x >= 0; }
bool isBetweenParents(double x) { return x > 0 && x < 1; }

} // namespace

QJsonObject lineageJson(const Lineage& lineage)
{
    Q_ASSERT(!lineage.isDrawn());
    QJsonObject object;
    for (const KindName& kind : kKindNames)
        if (kind.kind == lineage.kind)
            object.insert(QStringLiteral("kind"), QLatin1String(kind.name));
    switch (lineage.kind) {
    case Lineage::Kind::Drawn:
        break;
    case Lineage::Kind::Mutated:
        object.insert(QStringLiteral("parents"), QJsonArray{lineage.parent});
        object.insert(QStringLiteral("seed"), lineage.seed);
        object.insert(QStringLiteral("strength"), lineage.strength);
        break;
    case Lineage::Kind::Crossover:
        object.insert(QStringLiteral("parents"), QJsonArray{lineage.parent, lineage.otherParent});
        object.insert(QStringLiteral("fromOther"), QJsonArray::fromStringList(lineage.fromOther));
        break;
    case Lineage::Kind::Interpolation:
        object.insert(QStringLiteral("parents"), QJsonArray{lineage.parent, lineage.otherParent});
        object.insert(QStringLiteral("fraction"), lineage.fraction);
        break;
    case Lineage::Kind::Adopted:
        object.insert(QStringLiteral("file"), lineage.file);
        break;
    case Lineage::Kind::Edited:
        object.insert(QStringLiteral("parents"), QJsonArray{lineage.parent});
        break;
    }
    return object;
}

bool readLineage(const QJsonValue& value, Lineage& lineage, QString& error)
{
    lineage = Lineage{};
    if (value.isUndefined())
        return true;
    if (!value.isObject()) {
        error = QStringLiteral("lineage: not an object");
        return false;
    }
    const QJsonObject object = value.toObject();
    LineageReader read(object);
    const QJsonValue kind = object.value(QStringLiteral("kind"));
    const auto found = std::find_if(kKindNames.begin(), kKindNames.end(), [&](const KindName& k) {
        return kind.isString() && kind.toString() == QLatin1String(k.name);
    });
    if (found == kKindNames.end()) {
        error = QStringLiteral("lineage.kind: \"%1\" is not drawn, mutated, crossover, interpolation, adopted or edited")
                    .arg(excerpt(kind.toString()));
        return false;
    }
    lineage.kind = found->kind;
    switch (lineage.kind) {
    case Lineage::Kind::Drawn:
        break;
    case Lineage::Kind::Mutated:
        read.parents(lineage, 1);
        lineage.seed = read.number("seed", isAny, "(the mutation's seed)");
        lineage.strength = read.number("strength", isNotNegative, "0 or more (the mutation's strength)");
        break;
    case Lineage::Kind::Crossover:
        read.parents(lineage, 2);
        lineage.fromOther = read.groups();
        break;
    case Lineage::Kind::Interpolation:
        read.parents(lineage, 2);
        lineage.fraction = read.number("fraction", isBetweenParents, "between 0 and 1 (exclusive)");
        break;
    case Lineage::Kind::Adopted:
        lineage.file = read.file();
        break;
    case Lineage::Kind::Edited:
        read.parents(lineage, 1);
        break;
    }
    error = read.error();
    return error.isEmpty();
}

} // namespace mandalix
