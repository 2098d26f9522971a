// Built against the surface layer alone: the window state lies a layer above, so this
// include must not be found.
#include "state/window_state.h"
