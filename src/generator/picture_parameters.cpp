#include "generator/picture_parameters.h"

namespace mandalix {

void drawPictureParameters(PictureParameters& s, Rnd& rnd)
{
    // Each row is one draw; the order is the order of the random sequence.
    for (const ParameterDraw& draw : kParameterDraws) {
        const double r = rnd.next();
        if (draw.field != nullptr)
            s.*draw.field = draw.formula.value(r);
    }
}

void skipPictureParameters(Rnd& rnd)
{
    for (int k = 0; k < kPictureParameterDraws; ++k)
        rnd.next();
}

} // namespace mandalix
