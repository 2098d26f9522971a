// A record's lineage in the parameters file: the optional "lineage" object, shared by the
// file's writer and its reader. A drawn picture has no such field, so its file reads as
// files of older versions do. Pure functions on values, safe on any thread; a bad field
// comes back as a sentence naming it.
#pragma once

#include "state/lineage.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace mandalix {

// Requires !lineage.isDrawn(): a drawn picture's file carries no lineage.
QJsonObject lineageJson(const Lineage& lineage);

// Reads the "lineage" field's value; undefined (a file without it) reads as drawn. On
// failure returns false and sets `error`, naming the field: "lineage.kind: ...".
bool readLineage(const QJsonValue& value, Lineage& lineage, QString& error);

} // namespace mandalix
