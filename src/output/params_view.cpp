#include "output/params_view.h"

#include "state/picture_record.h"

#include <QJsonValue>
#include <QLocale>

namespace mandalix {

namespace {

const QString kPolx = QStringLiteral("polx");
const QString kPoly = QStringLiteral("poly");

// A number as a message shows it: the shortest form that reads back as the same double.
QString shown(double number) { return QString::number(number, 'g', QLocale::FloatingPointShortest); }

// Reads one of the two fields, which must be a number within the bounds of a view.
bool readHalfExtent(const QJsonObject& root, const QString& name, double& value, QString& error)
{
    const QJsonValue field = root.value(name);
    if (field.isUndefined()) {
        error = QStringLiteral("%1: missing (a view gives both polx and poly)").arg(name);
        return false;
    }
    if (!field.isDouble()) {
        error = QStringLiteral("%1: not a number").arg(name);
        return false;
    }
    value = field.toDouble();
    if (!(value >= kMinView && value <= kMaxView)) {
        error = QStringLiteral("%1: %2 is out of range (%3 to %4, the half-extent of the view)")
                    .arg(name, shown(value), shown(kMinView), shown(kMaxView));
        return false;
    }
    return true;
}

} // namespace

void insertView(QJsonObject& root, double view)
{
    // A picture at the start's view keeps its file as files were before views were kept.
    if (view == kStartView)
        return;
    root.insert(kPolx, view);
    root.insert(kPoly, view);
}

bool readView(const QJsonObject& root, double& view, QString& error)
{
    if (!root.contains(kPolx) && !root.contains(kPoly)) {
        view = kStartView;
        return true;
    }
    double polx = 0;
    double poly = 0;
    if (!readHalfExtent(root, kPolx, polx, error) || !readHalfExtent(root, kPoly, poly, error))
        return false;
    if (polx != poly) {
        error = QStringLiteral("polx and poly differ (%1 and %2); a view is square").arg(shown(polx), shown(poly));
        return false;
    }
    view = polx;
    return true;
}

} // namespace mandalix
