// The picture's name: "T" and fourteen digits of the moment its generation began, year,
// month, day, hour, minute and second. Runs on whichever thread runs the commands;
// nothing here fails.
#pragma once

#include "state/picture_record.h"

#include <QDateTime>
#include <QString>

namespace mandalix {

// "T" + yyyy MM dd HH mm ss of the moment, zero-padded, the same in every locale.
// Requires a valid moment.
QString imageNameFor(const QDateTime& moment);

// A made picture (a variation, a bred or an edited one) named as a new picture begun at
// `moment`: its moment, its seed and its name come from that one moment, as a drawn
// picture's do. Requires a valid moment.
PictureRecord bornAt(PictureRecord made, const QDateTime& moment);

} // namespace mandalix
