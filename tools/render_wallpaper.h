// --set-wallpaper of the renderer: the picture it painted, painted again at the size of
// the display's screen and set as the desktop's wallpaper as key W sets it in the window.
// On the renderer's main thread, which has an application object. The outcome is one
// line, on standard output when it worked and on standard error when not.
#pragma once

#include "base/result.h"
#include "state/picture_record.h"

#include <QString>

namespace mandalix {

// The line for the user: "Wallpaper set through ...: FILE", or, when !ok, why not
// ("Could not set the wallpaper: no X display"). `threads` paint it, 0: one per core.
Result<QString> setRenderedWallpaper(const PictureRecord& record, int threads);

} // namespace mandalix
