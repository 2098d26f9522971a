// The picture's name: "T" and fourteen digits of the moment its generation began, year,
// month, day, hour, minute and second. Runs on whichever thread runs the commands;
// nothing here fails.
#pragma once

#include "state/clock.h"
#include "state/window_state.h"

#include <QDateTime>
#include <QString>

namespace mandalix {

// "T" + yyyy MM dd HH mm ss of the moment, zero-padded, the same in every locale.
// Requires a valid moment.
QString imageNameFor(const QDateTime& moment);

// Sets imeslike from one reading of the clock, so date and time belong to the same
// moment even when the day changes around the reading.
void MakeImageName(WindowState& state, const Clock& clock);

} // namespace mandalix
