// Built against the state layer: everything it includes lies at or below it.
#include "state/window_state.h"
#include "surface/surface_sizes.h"

int mandalixLayerProbe() { return mandalix::kPictureSizePx; }
