// The parameters file: a picture's record, everything needed to paint it again (the
// moment, seed and name, the generation type, whether it repeated its parameters, the
// strip's three waves, the seventeen parameters, the recolourings, the view and where the
// picture came from) as JSON text, in a file of its own or in a PNG text chunk. Pure
// functions on values, safe on any thread. A file that cannot be used comes back as a value with a sentence naming
// the field and the reason; nothing throws. Writing lives in params_file.cpp, reading
// the JSON in params_json_read.cpp.
#pragma once

#include "base/result.h"
#include "state/picture_record.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace mandalix {

// The value of the file's "format" field, and the key of the PNG text chunk.
inline constexpr char kParamsFormat[] = "mandalix-params/1";
inline constexpr char kParamsTextKey[] = "mandalix-params";
// Larger files are refused unread: a parameters file is well under a kilobyte.
inline constexpr qint64 kParamsFileMaxBytes = 1 << 20;
// The most recolourings a record may carry: far more than a person makes on one picture,
// few enough that painting the record again stays quick.
inline constexpr qsizetype kParamsMaxReplacements = 1000;

// The record as JSON. Every number is written in the shortest form that reads back as
// the same double (a negative zero reads back as zero, which paints alike).
QByteArray paramsJson(const PictureRecord& record);

// The same record as the text of a PNG chunk: compact JSON with every blank inside a
// text written as an escape, because the PNG reader collapses runs of blanks.
QString paramsChunkText(const PictureRecord& record);

// When !ok, the message says what is wrong, naming the field: "picture.n1: missing".
using ParamsRead = Result<PictureRecord>;

// Reads the JSON of a record. Every field is required but "moment", "repeat",
// "replacements", "polx" and "poly", and "lineage", which files of older versions lack
// (without a view the picture shows the start's, without a lineage it was drawn), and at
// most kParamsMaxReplacements recolourings; every number must be finite, a view within
// kMinView..kMaxView with polx = poly;
// the seed and the name must be ones the program could have given (seconds since
// midnight in single precision, "T" and 14 digits) and the generation type one of 1 to 4;
// any finite value is accepted otherwise. Unknown fields are ignored. Texts from the file are quoted in a message
// only as a short excerpt of one line.
ParamsRead paramsFromJson(const QByteArray& json);

// Reads a record from a device positioned at the start of a parameters file or of a PNG
// written with one, as readParamsFile does. The message is the reason alone: the caller
// that knows the path names it.
ParamsRead paramsFromDevice(QIODevice& device);

// Reads a parameters file, or the text chunk of a PNG written with one, wherever it lies
// in the PNG. Only a regular file is read, and at most kParamsFileMaxBytes of JSON. The
// error names the path: Could not read "/tmp/a.json": picture.n1: missing
ParamsRead readParamsFile(const QString& path);

} // namespace mandalix
