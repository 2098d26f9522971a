#include "generator/picture_parameters.h"

#include "surface/colour.h"

namespace mandalix {

void drawPictureParameters(PictureParameters& s, Rnd& rnd)
{
    // Each line is one draw; the order is the order of the random sequence.
    s.tip = Int(rnd.next() * 4.0 + 1.0);
    s.barv = Int(rnd.next() * 5.0 + 1.0);
    s.f1 = 2.0 * Int(rnd.next() * 10.0 + 3.0);
    s.f2 = 2.0 * Int(rnd.next() * 7.0 + 2.0);
    s.n1 = toSingle(rnd.next() * 20.0 + 10.0);
    s.n2 = toSingle(rnd.next() * 20.0 + 10.0);
    s.n3 = toSingle(rnd.next() * 6.0 + 3.0);
    s.n4 = rnd.next() * 0.8 + 0.1;
    // 2 * Int(Rnd * 6), an even number 0..10 that no picture uses: drawn and dropped,
    // so that the draws after it keep their places in the sequence.
    rnd.next();
    s.komp1 = Int(rnd.next() * 50.0 + 100.0);
    s.komp2 = Int(rnd.next() * 50.0 + 100.0);
    s.komp3 = Int(rnd.next() * 50.0 + 100.0);
    s.ba1 = Int(rnd.next() * 80.0 + 150.0);
    s.ba2 = Int(rnd.next() * 80.0 + 340.0);
    s.ba3 = Int(rnd.next() * 80.0 + 530.0);
    s.baf01 = toSingle(rnd.next() * 20.0 + 20.0);
    s.baf02 = toSingle(rnd.next() * 2.0 + 2.0);
    s.baf03 = toSingle(rnd.next() * 100.0 + 100.0);
}

void skipPictureParameters(Rnd& rnd)
{
    for (int k = 0; k < kPictureParameterDraws; ++k)
        rnd.next();
}

} // namespace mandalix
