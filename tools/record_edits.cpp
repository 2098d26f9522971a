#include "record_edits.h"

#include "option_values.h"
#include "output/params_fields.h"

#include <algorithm>

namespace mandalix {

namespace {

const QString kParameterNames =
    QStringLiteral("tip, barv, f1, f2, n1..n4, komp1..komp3, ba1..ba3, baf01..baf03");

// Reads one --set NAME=VALUE into `settings`, refusing a parameter set twice.
bool readSetting(const QString& text, std::vector<ParameterSetting>& settings, QString& error)
{
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0) {
        error = QStringLiteral("--set: \"%1\" is not NAME=VALUE, e.g. n1=12.5").arg(text);
        return false;
    }
    const QString name = text.left(equals);
    const auto* found = std::find_if(std::begin(kParameterFields), std::end(kParameterFields),
                                     [&](const ParameterField& field) { return name == QLatin1String(field.name); });
    if (found == std::end(kParameterFields)) {
        error = QStringLiteral("--set: \"%1\" is not a parameter (%2)").arg(name, kParameterNames);
        return false;
    }
    ParameterSetting setting{found->member, 0};
    if (!readNumber(QStringLiteral("set ") + name, text.mid(equals + 1), setting.value, error))
        return false;
    const bool isTwice = std::any_of(settings.begin(), settings.end(),
                                     [&](const ParameterSetting& s) { return s.field == setting.field; });
    if (isTwice) {
        error = QStringLiteral("--set: %1 given more than once").arg(name);
        return false;
    }
    settings.push_back(setting);
    return true;
}

// Reads --zoom Z into the view kStartView / Z, which must lie within the views' bounds.
bool readZoom(const QString& text, std::optional<double>& view, QString& error)
{
    double zoom = 0;
    if (!readNumber(QStringLiteral("zoom"), text, zoom, error))
        return false;
    const double zoomed = kStartView / zoom;
    if (!(zoomed >= kMinView && zoomed <= kMaxView)) {
        error = QStringLiteral("--zoom: %1 is out of range (%2 to %3, a view of %4 to %5)")
                    .arg(text, QString::number(kStartView / kMaxView), QString::number(kStartView / kMinView),
                         QString::number(kMinView), QString::number(kMaxView));
        return false;
    }
    view = zoomed;
    return true;
}

} // namespace

bool readRecordEdits(const QCommandLineParser& parser, RecordEdits& edits, QString& error)
{
    for (const QString& text : parser.values(QStringLiteral("set")))
        if (!readSetting(text, edits.settings, error))
            return false;
    return !parser.isSet(QStringLiteral("zoom")) || readZoom(parser.value(QStringLiteral("zoom")), edits.view, error);
}

void applyEdits(const RecordEdits& edits, PictureRecord& record)
{
    for (const ParameterSetting& setting : edits.settings)
        record.picture.*setting.field = setting.value;
    if (edits.view)
        record.view = *edits.view;
    if (edits.palette) {
        record.palette = *edits.palette;
        record.replacements.clear();
    }
}

} // namespace mandalix
