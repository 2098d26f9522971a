// Built against the variations' layer: everything it includes lies at or below it, from
// the bottom of the layers to the capability libraries under it.
#include "base/work_pool.h"
#include "export/picture_export.h"
#include "history/picture_history.h"
#include "slideshow/slide_show.h"
#include "state/window_state.h"
#include "surface/surface_sizes.h"
#include "undo/session.h"
#include "variations/mutation.h"
#include "video/video_writer.h"

int mandalixLayerProbe() { return mandalix::kPictureSizePx; }
