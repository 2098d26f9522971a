// A record's view in the parameters file: the optional "polx" and "poly" numbers, the
// half-extent of the coordinate window, shared by the file's writer and its reader. A
// picture at the start's view has neither, so its file reads as files of older versions
// do. Pure functions on values, safe on any thread; a bad field comes back as a sentence
// naming it.
#pragma once

#include <QJsonObject>
#include <QString>

namespace mandalix {

// Adds "polx" and "poly" to `root` when `view` is not the start's.
void insertView(QJsonObject& root, double view);

// Reads "polx" and "poly" of `root`; neither (a file without a view) reads as the start's
// view. When either is there both must be numbers, equal and within kMinView..kMaxView.
// On failure returns false and sets `error`, naming the field: "polx: not a number".
bool readView(const QJsonObject& root, double& view, QString& error);

} // namespace mandalix
