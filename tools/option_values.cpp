#include "option_values.h"

#include "state/clock.h"

#include <QRegularExpression>

#include <cmath>

namespace mandalix {

bool readWhole(const QString& option, const QString& value, int lo, int hi, int& out, QString& error)
{
    static const QRegularExpression kWhole(QStringLiteral("^-?[0-9]+$"));
    bool isNumber = false;
    const int number = kWhole.match(value).hasMatch() ? value.toInt(&isNumber, 10) : 0;
    if (!isNumber) {
        error = QStringLiteral("--%1: \"%2\" is not a whole number").arg(option, value);
        return false;
    }
    if (number < lo || number > hi) {
        error = QStringLiteral("--%1: %2 is out of range (%3 to %4)").arg(option).arg(number).arg(lo).arg(hi);
        return false;
    }
    out = number;
    return true;
}

namespace {

// Reads a finite number whose text `pattern` matches whole.
bool readMatching(const QRegularExpression& pattern, const QString& option, const QString& value, double& out,
                  QString& error)
{
    bool isNumber = false;
    const double number = pattern.match(value).hasMatch() ? value.toDouble(&isNumber) : 0.0;
    if (!isNumber || !std::isfinite(number)) {
        error = QStringLiteral("--%1: \"%2\" is not a number").arg(option, value);
        return false;
    }
    out = number;
    return true;
}

} // namespace

bool readDecimal(const QString& option, const QString& value, double& out, QString& error)
{
    static const QRegularExpression kDecimal(QStringLiteral("^-?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    return readMatching(kDecimal, option, value, out, error);
}

bool readNumber(const QString& option, const QString& value, double& out, QString& error)
{
    static const QRegularExpression kNumber(QStringLiteral("^-?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][-+]?[0-9]+)?$"));
    return readMatching(kNumber, option, value, out, error);
}

bool readSeed(const QString& option, const QString& value, std::optional<float>& out, QString& error)
{
    double number = 0;
    if (!readDecimal(option, value, number, error))
        return false;
    // Checked again after the rounding to single precision: just under a day may round
    // up to it.
    const float seed = number >= 0 && number < kSecondsPerDay ? static_cast<float>(number) : -1.0f;
    if (!(seed >= 0 && seed < kSecondsPerDay)) {
        error = QStringLiteral("--%1: %2 is out of range (seconds since midnight, 0 to under 86400)")
                    .arg(option, value);
        return false;
    }
    out = seed;
    return true;
}

} // namespace mandalix
