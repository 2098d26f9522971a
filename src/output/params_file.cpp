#include "output/params_file.h"

#include "output/params_fields.h"
#include "output/params_lineage.h"
#include "output/params_view.h"
#include "output/png_text.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mandalix {

namespace {

QJsonArray threeNumbers(const std::array<double, 3>& values)
{
    return QJsonArray{values[0], values[1], values[2]};
}

ParamsRead failureOf(const QString& path, const QString& reason)
{
    return ParamsRead::failure(QStringLiteral("Could not read \"%1\": %2").arg(path, reason));
}

bool isPng(const QByteArray& start) { return start.startsWith(QByteArrayView(kPngSignature, kPngSignatureBytes)); }

QJsonDocument paramsDocument(const PictureRecord& record)
{
    QJsonObject palette;
    for (const WaveField& field : kWaveFields)
        palette.insert(QLatin1String(field.name), threeNumbers(record.palette.*field.member));
    QJsonObject picture;
    for (const ParameterField& field : kParameterFields)
        picture.insert(QLatin1String(field.name), record.picture.*field.member);

    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(kParamsFormat));
    root.insert(QStringLiteral("seed"), static_cast<double>(record.seed));
    root.insert(QStringLiteral("imeslike"), record.imeslike);
    root.insert(QStringLiteral("nac"), record.nac);
    root.insert(QStringLiteral("palette"), palette);
    root.insert(QStringLiteral("picture"), picture);
    if (record.moment.isValid())
        root.insert(QStringLiteral("moment"), record.moment.toString(Qt::ISODateWithMs));
    root.insert(QStringLiteral("repeat"), record.isRepeat);
    QJsonArray replacements;
    for (const ColourReplacement& replacement : record.replacements)
        replacements.append(QJsonObject{{QStringLiteral("from"), replacement.from},
                                        {QStringLiteral("to"), replacement.to}});
    root.insert(QStringLiteral("replacements"), replacements);
    insertView(root, record.view);
    // A drawn picture's file stays as files were before lineages were kept.
    if (!record.lineage.isDrawn())
        root.insert(QStringLiteral("lineage"), lineageJson(record.lineage));
    return QJsonDocument(root);
}

} // namespace

QByteArray paramsJson(const PictureRecord& record)
{
    return paramsDocument(record).toJson(QJsonDocument::Indented);
}

QString paramsChunkText(const PictureRecord& record)
{
    // Compact JSON has blanks only inside texts, where \uXXXX means the same character.
    const QString compact = QString::fromUtf8(paramsDocument(record).toJson(QJsonDocument::Compact));
    QString text;
    text.reserve(compact.size());
    for (const QChar c : compact) {
        if (c.isSpace())
            text += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            text += c;
    }
    return text;
}

ParamsRead paramsFromDevice(QIODevice& device)
{
    QByteArray json;
    if (isPng(device.peek(kPngSignatureBytes))) {
        Result<QByteArray> text = pngText(device, kParamsTextKey, kParamsFileMaxBytes);
        if (!text.ok)
            return ParamsRead::failure(text.message);
        json = std::move(text.value);
    } else {
        // Never more than the limit and the one byte that shows it was passed.
        json = device.read(kParamsFileMaxBytes + 1);
        const auto* file = qobject_cast<const QFileDevice*>(&device);
        if (file && file->error() != QFileDevice::NoError)
            return ParamsRead::failure(file->errorString());
        if (json.size() > kParamsFileMaxBytes)
            return ParamsRead::failure(QStringLiteral("too large for a parameters file"));
    }
    return paramsFromJson(json);
}

ParamsRead readParamsFile(const QString& path)
{
    // A device or a FIFO may never end: only a regular file is read.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return failureOf(path, QStringLiteral("not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failureOf(path, file.errorString());
    ParamsRead read = paramsFromDevice(file);
    if (!read.ok)
        return failureOf(path, read.message);
    return read;
}

} // namespace mandalix
