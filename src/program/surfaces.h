// The program's four drawing surfaces and the lock that guards them. The worker thread
// paints while holding the lock and lets go at each pacing point; the window takes the
// lock only to copy a snapshot, after it has seen the change counter move.
#pragma once

#include "surface/surface.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace mandalix {

// Drawing areas: the picture and its hidden copy inside 2-pixel borders of 457 x 457
// controls, the palette strip inside a 545 x 25 control.
inline constexpr int kPictureSizePx = 453;
inline constexpr int kStripWidthPx = 541;
inline constexpr int kStripHeightPx = 21;
// The part of the window the program draws on (the layout needs 851 x 641).
inline constexpr int kFormWidthPx = 856;
inline constexpr int kFormHeightPx = 648;
// The back colour of a fresh picture box.
inline constexpr Colour kPictureBackColour = 0xF0F0F0;

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
