#include "generator/generate_image.h"

#include "generator/picture_parameters.h"
#include "generator/pixel_pipeline.h"
#include "generator/traversals.h"
#include "output/image_name.h"

namespace mandalix {

bool GenerateImage(WindowState& s, Surface& picture1, Surface& picture2, const Surface& picture3,
                   Rnd& rnd, const Clock& clock, Pacer& pacer)
{
    rnd.Randomize(secondsSinceMidnight(clock.now()));
    MakeImageName(s, clock);
    picture2.Cls();
    s.re = 0;
    s.gr = 0;
    s.bl = 0;
    if (s.ponovi != 1)
        drawPictureParameters(s, rnd);
    s.ponovi = 0;
    // A failed pixel leaves Picture1 as it was there; the picture goes on.
    return paintInOrderOfType(s, picture1, rnd, pacer,
                              [&] { (void)DrawPixel(s, picture3, picture1); });
}

} // namespace mandalix
