// A picture's pixels at the window's size painted from its record alone, as the headless
// renderer paints it: fresh surfaces, the start-up state of the record's generation type,
// the one record painter. What the slide show hands to the history, so a kept file
// always equals what its record paints. Pure on values; any thread, each call with
// surfaces of its own.
#pragma once

#include "generator/pacer.h"
#include "program/surfaces.h"
#include "state/picture_record.h"

#include <QByteArray>
#include <QImage>

namespace mandalix {

// Paints `record` from the start onto `surfaces`, fresh as Surfaces makes them, in the
// start-up state of the record's generation type, telling `pacer` as the window's painting
// does. False when the pacer stopped it.
bool paintRecordFromStart(const PictureRecord& record, Surfaces& surfaces, Pacer& pacer);

// Picture1's pixels after painting `record` from the start, Format_RGB32, 453 x 453.
QImage paintRecordAtWindowSize(const PictureRecord& record);

// Those pixels as the PNG the history keeps (encodePicturePng): one paint, one encode.
QByteArray paintKeptPng(const PictureRecord& record);

} // namespace mandalix
