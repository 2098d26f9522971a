// The program's four drawing surfaces and the lock that guards them. The worker thread
// paints while holding the lock and lets go at each pacing point; the window takes the
// lock only to copy a snapshot of a surface, after it has seen that surface's count move.
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
    // For each surface on show, a count that moves whenever it has new pixels to show,
    // so its view copies only its own surface and only when it changed. Picture2 is
    // never shown and has none.
    std::atomic<std::uint64_t> form1Changes{0};
    std::atomic<std::uint64_t> picture1Changes{0};
    std::atomic<std::uint64_t> picture3Changes{0};

    // Requires the lock. Moves the count of every shown surface drawn on since the last
    // publish.
    void publish()
    {
        publishOne(Form1, form1Changes);
        publishOne(Picture1, picture1Changes);
        publishOne(Picture3, picture3Changes);
    }

    // The count of a shown surface; Picture2 has none (nullptr).
    const std::atomic<std::uint64_t>* changesOf(const Surface& surface) const
    {
        if (&surface == &Form1)
            return &form1Changes;
        if (&surface == &Picture1)
            return &picture1Changes;
        if (&surface == &Picture3)
            return &picture3Changes;
        return nullptr;
    }

private:
    static void publishOne(Surface& surface, std::atomic<std::uint64_t>& changes)
    {
        if (surface.takeChange())
            changes.fetch_add(1, std::memory_order_release);
    }
};

} // namespace mandalix
