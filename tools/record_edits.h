// What the renderer's --set NAME=VALUE and --zoom Z change in the record it paints: some
// of the seventeen parameters and the view. Read from the parsed command line, then laid
// over a record (a --params record, a --seed picture after its draw, or the parents of a
// run that makes children). Pure functions on values; a value that cannot be used leaves
// `error` set to one line naming the option and the problem.
#pragma once

#include "state/picture_record.h"

#include <QCommandLineParser>
#include <QString>

#include <optional>
#include <vector>

namespace mandalix {

// One --set: the parameter's field and the value it takes.
struct ParameterSetting {
    double PictureParameters::*field = nullptr;
    double value = 0;

    bool operator==(const ParameterSetting&) const = default;
};

struct RecordEdits {
    std::vector<ParameterSetting> settings; // in the order given, each field at most once
    std::optional<double> view;             // --zoom Z: kStartView / Z
    std::optional<PaletteWaves> palette;    // --palette-file: a favourite's waves, read by the run

    bool isEmpty() const { return settings.empty() && !view && !palette; }
    bool operator==(const RecordEdits&) const = default;
};

// Reads --set (repeatable; NAME one of the parameters' code names, VALUE any finite
// number, given as a decimal with an exponent at most) and --zoom (a view within
// kMinView..kMaxView). Returns false with `error` set otherwise.
bool readRecordEdits(const QCommandLineParser& parser, RecordEdits& edits, QString& error);

// The record with the edits laid over it: each setting's field, the view, then the
// palette (which drops the recolourings: they named colours of the palette before).
void applyEdits(const RecordEdits& edits, PictureRecord& record);

} // namespace mandalix
