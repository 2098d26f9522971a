#include "program/generate_image.h"

#include "generator/picture_parameters.h"
#include "generator/pixel_pipeline.h"
#include "generator/traversals.h"
#include "output/image_name.h"
#include "state/clock.h"

namespace mandalix {

void BeginImage(WindowState& s, Surface& picture2, Rnd& rnd, float seed, const QString& name)
{
    rnd.Randomize(seed);
    s.imeslike = name;
    picture2.Cls();
    s.re = 0;
    s.gr = 0;
    s.bl = 0;
    if (s.ponovi != 1)
        drawPictureParameters(s, rnd);
    s.ponovi = 0;
}

bool PaintImage(WindowState& s, Surface& picture1, const Surface& picture3, Rnd& rnd, Pacer& pacer)
{
    // A failed pixel leaves Picture1 as it was there; the picture goes on.
    return paintInOrderOfType(s, picture1, rnd, pacer,
                              [&] { (void)DrawPixel(s, picture3, picture1); });
}

bool GenerateImage(WindowState& s, Surface& picture1, Surface& picture2, const Surface& picture3,
                   Rnd& rnd, const QDateTime& moment, Pacer& pacer)
{
    BeginImage(s, picture2, rnd, secondsSinceMidnight(moment), imageNameFor(moment));
    return PaintImage(s, picture1, picture3, rnd, pacer);
}

} // namespace mandalix
