// The program's four drawing surfaces and the lock that guards them. The worker thread
// paints while holding the lock and lets go at each pacing point; the window takes the
// lock only to copy a snapshot, after it has seen the change counter move.
#pragma once

#include "surface/surface.h"
#include "surface/surface_sizes.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace mandalix {

struct Surfaces {
    Surface Form1{kFormWidthPx, kFormHeightPx, kBlack};
    Surface Picture1{kPictureSizePx, kPictureSizePx, kPictureBackColour};
    Surface Picture2{kPictureSizePx, kPictureSizePx, kPictureBackColour};
    Surface Picture3{kStripWidthPx, kStripHeightPx, kPictureBackColour};

    // Guards the four rasters whenever the window is attached.
    std::mutex lock;
    // Moves whenever painted pixels are ready to be shown.
    std::atomic<std::uint64_t> changes{0};

    void publish() { changes.fetch_add(1, std::memory_order_release); }
};

} // namespace mandalix
