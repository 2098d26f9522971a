#include "slideshow/slide_frame.h"

#include "surface/surface_sizes.h"

#include <algorithm>

namespace mandalix {

Result<QRect> slideFrameFor(QSize screenPx, int smallestSidePx)
{
    if (screenPx.width() <= 0 || screenPx.height() <= 0)
        return Result<QRect>::failure(QStringLiteral("There is no screen to show the slide show on."));
    const int side = std::min(screenPx.width(), screenPx.height());
    if (side < smallestSidePx)
        return Result<QRect>::failure(QStringLiteral("The screen (%1 x %2 pixels) is smaller than the picture "
                                                     "(%3 x %3 pixels), so the slide show cannot start.")
                                          .arg(screenPx.width())
                                          .arg(screenPx.height())
                                          .arg(smallestSidePx));
    return Result<QRect>::success(QRect((screenPx.width() - side) / 2, (screenPx.height() - side) / 2, side, side));
}

} // namespace mandalix
