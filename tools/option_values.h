// The values of the renderer's options read strictly from their text: whole numbers,
// decimals and seeds. Pure functions on strings; a value that cannot be used leaves
// `error` set to one line naming the option and the problem.
#pragma once

#include <QString>

#include <optional>

namespace mandalix {

// Reads a whole number lo..hi: decimal digits, with a minus sign at most, and nothing
// else (no blank, no point). Returns false with `error` set otherwise.
bool readWhole(const QString& option, const QString& value, int lo, int hi, int& out, QString& error);

// Reads a finite decimal: digits with a point and a minus sign at most, as strictly as a
// whole number is read (no blank, no exponent, no "inf").
bool readDecimal(const QString& option, const QString& value, double& out, QString& error);

// Reads a finite number as readDecimal does, with an exponent allowed after it (1.5e-3,
// 2E+6): any number a parameters file may write.
bool readNumber(const QString& option, const QString& value, double& out, QString& error);

// Reads seconds since midnight, 0 to under 86400 once rounded to single precision.
bool readSeed(const QString& option, const QString& value, std::optional<float>& out, QString& error);

} // namespace mandalix
