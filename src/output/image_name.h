// The picture's name: "T" and fourteen digits of the moment its generation began, year,
// month, day, hour, minute and second. Runs on whichever thread runs the commands;
// nothing here fails.
#pragma once

#include <QDateTime>
#include <QString>

namespace mandalix {

// "T" + yyyy MM dd HH mm ss of the moment, zero-padded, the same in every locale.
// Requires a valid moment.
QString imageNameFor(const QDateTime& moment);

} // namespace mandalix
