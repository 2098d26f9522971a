// The wallpaper of an X session without a desktop: the root window's background set to a
// pixmap of the picture, kept on the server after the program's connection closes, and
// named in the root's _XROOTPMAP_ID and ESETROOT_PMAP_ID properties, so that it shows at
// once and programs drawing see-through windows find it. The pixmap it replaces, when an
// earlier setter left one, is freed. Opens a connection of its own to $DISPLAY for each
// call; for the wallpaper's thread. Failures come back as a short reason, the root window
// as it was.
#pragma once

#include "base/result.h"

#include <QImage>
#include <QSize>

namespace mandalix {

// The size of the display's default screen in pixels; when !ok, why there is none.
Result<QSize> xScreenSize();

// Makes `picture` the root window's background, centred on black when its size differs
// from the screen's.
Result<> setXRootBackground(const QImage& picture);

} // namespace mandalix
