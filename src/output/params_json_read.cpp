#include "output/params_file.h"

#include "output/params_fields.h"
#include "output/params_lineage.h"
#include "output/params_view.h"
#include "state/clock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <mutex>

namespace mandalix {

namespace {

// Reads the fields of a JSON object, remembering the first thing wrong with them.
class FieldReader {
public:
    bool failed() const { return !m_error.isEmpty(); }
    const QString& error() const { return m_error; }

    // The member `key` of `object` when it is an object; `name` is its dotted name.
    QJsonObject object(const QJsonObject& object, const QString& name, const QString& key)
    {
        const QJsonValue value = member(object, name, key);
        if (!failed() && !value.isObject())
            fail(name, QStringLiteral("not an object"));
        return value.toObject();
    }

    double number(const QJsonObject& object, const QString& name, const QString& key)
    {
        const QJsonValue value = member(object, name, key);
        return failed() ? 0.0 : numberOf(value, name);
    }

    QString text(const QJsonObject& object, const QString& name, const QString& key)
    {
        const QJsonValue value = member(object, name, key);
        if (!failed() && !value.isString())
            fail(name, QStringLiteral("not a text"));
        return value.toString();
    }

    std::array<double, 3> threeNumbers(const QJsonObject& object, const QString& name,
                                       const QString& key)
    {
        std::array<double, 3> numbers{};
        const QJsonValue value = member(object, name, key);
        if (failed())
            return numbers;
        if (!value.isArray() || value.toArray().size() != 3) {
            fail(name, QStringLiteral("not a list of three numbers (red, green, blue)"));
            return numbers;
        }
        const QJsonArray array = value.toArray();
        for (int k = 0; k < 3 && !failed(); ++k)
            numbers[k] = numberOf(array.at(k), QStringLiteral("%1[%2]").arg(name).arg(k));
        return numbers;
    }

private:
    QJsonValue member(const QJsonObject& object, const QString& name, const QString& key)
    {
        if (failed())
            return {};
        const auto found = object.constFind(key);
        if (found == object.constEnd()) {
            fail(name, QStringLiteral("missing"));
            return {};
        }
        return found.value();
    }

    double numberOf(const QJsonValue& value, const QString& name)
    {
        if (!value.isDouble()) {
            fail(name, QStringLiteral("not a number"));
            return 0.0;
        }
        const double number = value.toDouble();
        if (!std::isfinite(number))
            fail(name, QStringLiteral("not a finite number"));
        return number;
    }

    void fail(const QString& name, const QString& reason)
    {
        if (!failed())
            m_error = QStringLiteral("%1: %2").arg(name, reason);
    }

    QString m_error;
};

// "line L, column C" of the word or number that ends at a byte offset: the parser stops
// just past a bad one, and a person looks for where it begins.
QString placeOf(const QByteArray& text, int offset)
{
    const auto isWordChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    };
    offset = std::clamp(offset, 0, static_cast<int>(text.size()));
    while (offset > 0 && isWordChar(text[offset - 1]))
        --offset;
    const QByteArray before = text.left(offset);
    const int line = static_cast<int>(before.count('\n')) + 1;
    const int column = offset - static_cast<int>(before.lastIndexOf('\n'));
    return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

ParamsRead failure(const QString& error) { return ParamsRead::failure(error); }

// A short, one-line excerpt of a text read from a file, to quote in a message.
QString excerpt(const QString& text)
{
    constexpr int kMaxChars = 32;
    QString line = text.left(kMaxChars + 1);
    const bool isCut = line.size() > kMaxChars || text.size() > line.size();
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control || c == u'\u2028' || c == u'\u2029')
            c = u' ';
    if (line.size() > kMaxChars)
        line = line.left(kMaxChars);
    return isCut ? line + QStringLiteral("...") : line;
}

// Whether the bytes begin as JSON text does: a file of another kind fails at its first
// byte, and says nothing useful about where.
bool looksLikeJson(const QByteArray& text)
{
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        return c == '{' || c == '[';
    }
    return false;
}

const QString kNotParams =
    QStringLiteral("neither a mandalix parameters file nor a PNG written by mandalix");

// A colour as the file holds it: a whole number 0..0xFFFFFF.
bool readColour(const QJsonValue& value, Colour& colour)
{
    const double number = value.toDouble(-1);
    if (!value.isDouble() || !(number >= 0 && number <= kWhite) || number != std::floor(number))
        return false;
    colour = static_cast<Colour>(number);
    return true;
}

// The fields of a record that older files lack: the moment the picture began (without
// it, the moment its name gives), whether it repeated the parameters before it, and the
// recolourings made on it.
bool readHistory(const QJsonObject& root, PictureRecord& record, QString& error)
{
    const QJsonValue moment = root.value(QStringLiteral("moment"));
    {
        // A local date and time is made through the C library's mktime, which fills in
        // its time zone anew on each call when TZ is unset: records read on two threads
        // at once (two histories, the history and an Open) take turns.
        static std::mutex localTime;
        std::lock_guard lock(localTime);
        record.moment = moment.isString()
            ? QDateTime::fromString(moment.toString(), Qt::ISODateWithMs)
            : QDateTime::fromString(record.imeslike.mid(1), QStringLiteral("yyyyMMddHHmmss"));
    }
    if (moment.isString() && !record.moment.isValid()) {
        error = QStringLiteral("moment: not a date and time");
        return false;
    }
    const QJsonValue repeat = root.value(QStringLiteral("repeat"));
    if (!repeat.isUndefined() && !repeat.isBool()) {
        error = QStringLiteral("repeat: not true or false");
        return false;
    }
    record.isRepeat = repeat.toBool(false);
    const QJsonValue replacements = root.value(QStringLiteral("replacements"));
    if (replacements.isUndefined())
        return true;
    if (!replacements.isArray()) {
        error = QStringLiteral("replacements: not a list");
        return false;
    }
    const QJsonArray list = replacements.toArray();
    if (list.size() > kParamsMaxReplacements) {
        error = QStringLiteral("replacements: %1 recolourings, more than the %2 a picture may carry")
                    .arg(list.size()).arg(kParamsMaxReplacements);
        return false;
    }
    for (qsizetype k = 0; k < list.size(); ++k) {
        const QJsonObject item = list.at(k).toObject();
        ColourReplacement replacement;
        if (!readColour(item.value(QStringLiteral("from")), replacement.from)
            || !readColour(item.value(QStringLiteral("to")), replacement.to)) {
            error = QStringLiteral("replacements[%1]: not a pair of colours \"from\" and \"to\" (0 to 16777215)").arg(k);
            return false;
        }
        record.replacements.push_back(replacement);
    }
    return true;
}

} // namespace

ParamsRead paramsFromJson(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError && !looksLikeJson(json))
        return failure(kNotParams);
    if (parseError.error != QJsonParseError::NoError)
        return failure(QStringLiteral("%1 at %2").arg(parseError.errorString(),
                                                      placeOf(json, parseError.offset)));
    if (!document.isObject())
        return failure(QStringLiteral("not a parameters file (no JSON object)"));

    const QJsonObject root = document.object();
    FieldReader read;
    const QString format = read.text(root, QStringLiteral("format"), QStringLiteral("format"));
    if (!read.failed() && format != QLatin1String(kParamsFormat))
        return failure(QStringLiteral("format: \"%1\" is not \"%2\"").arg(excerpt(format), kParamsFormat));

    PictureRecord record;
    const double seed = read.number(root, QStringLiteral("seed"), QStringLiteral("seed"));
    // Checked again after the rounding to single precision: just under a day may round
    // up to it.
    record.seed = seed >= 0 && seed < kSecondsPerDay ? static_cast<float>(seed) : -1.0f;
    if (!read.failed() && !(record.seed >= 0 && record.seed < kSecondsPerDay))
        return failure(QStringLiteral("seed: out of range (seconds since midnight, 0 to under 86400)"));
    record.imeslike = read.text(root, QStringLiteral("imeslike"), QStringLiteral("imeslike"));
    static const QRegularExpression kName(QStringLiteral("^T[0-9]{14}$"));
    if (!read.failed() && !kName.match(record.imeslike).hasMatch())
        return failure(QStringLiteral("imeslike: \"%1\" is not T and 14 digits (the picture's name)")
                           .arg(excerpt(record.imeslike)));
    record.nac = read.number(root, QStringLiteral("nac"), QStringLiteral("nac"));
    // The window paints only these; a file is read alike wherever it is opened.
    if (!read.failed() && !(record.nac >= 1 && record.nac <= 4 && record.nac == std::floor(record.nac)))
        return failure(QStringLiteral("nac: %1 is not a generation type 1 to 4").arg(record.nac));

    const QJsonObject palette =
        read.object(root, QStringLiteral("palette"), QStringLiteral("palette"));
    for (const WaveField& field : kWaveFields)
        record.palette.*field.member = read.threeNumbers(
            palette, QStringLiteral("palette.%1").arg(field.name), QLatin1String(field.name));

    const QJsonObject picture =
        read.object(root, QStringLiteral("picture"), QStringLiteral("picture"));
    for (const ParameterField& field : kParameterFields)
        record.picture.*field.member = read.number(
            picture, QStringLiteral("picture.%1").arg(field.name), QLatin1String(field.name));

    if (read.failed())
        return failure(read.error());
    QString error;
    if (!readHistory(root, record, error) || !readView(root, record.view, error)
        || !readLineage(root.value(QStringLiteral("lineage")), record.lineage, error))
        return failure(error);
    return ParamsRead::success(record);
}

} // namespace mandalix
