// Saving the picture on show: "save on disk D:" and "save on disk C:" copy Picture1 into
// the hidden copy Picture2 and write Picture2's drawing area as a 24-bit Windows bitmap
// named imeslike + ".jpg" (the program's own name; the content is a bitmap whatever the
// extension). Run by the thread that runs the commands, which holds the surfaces' lock.
// A failed save comes back as a value with a sentence for the user; nothing throws.
#pragma once

#include "output/drives.h"
#include "base/result.h"
#include "surface/surface.h"
#include "state/window_state.h"

#include <QString>

namespace mandalix {

// The value is the full path of the file written, or that could not be written; the
// message names it with the reason.
using SaveResult = Result<QString>;

// Both copy Picture1 into Picture2 with state.i and state.j as the loop counters (left one
// past sir and vis), then write the file into the drive's folder. The file is written
// aside and renamed over an old one of that name: a failed save leaves no partial file,
// keeps the old one, and changes nothing else but Picture2 and the counters. Only a
// regular file is replaced: a device or a FIFO of that name is refused.
// Requires a name in state.imeslike.
SaveResult SaveOnDiskD(WindowState& state, Surface& picture1, Surface& picture2, const Drives& drives);
SaveResult SaveOnDiskC(WindowState& state, Surface& picture1, Surface& picture2, const Drives& drives);

// The save of both drives: the folder is the drive's; createMissingFolder makes the
// folder (and its parents) when it does not exist.
SaveResult savePicture(WindowState& state, Surface& picture1, Surface& picture2, const QString& folder,
                       bool createMissingFolder);

} // namespace mandalix
