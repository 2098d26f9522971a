// The parameters a picture begun at a moment draws, worked out apart from the program,
// for tests that check what a picture command drew.
#pragma once

#include "generator/picture_parameters.h"
#include "generator/rnd.h"
#include "state/clock.h"
#include "state/picture_record.h"

#include <QDateTime>

namespace mandalix {

inline PictureParameters parametersDrawnAt(const QDateTime& moment)
{
    Rnd rnd(secondsSinceMidnight(moment));
    PictureParameters parameters;
    drawPictureParameters(parameters, rnd);
    return parameters;
}

} // namespace mandalix
