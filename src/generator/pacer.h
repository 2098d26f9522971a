// Lets a long paint loop show its progress and be stopped. The loops call checkpoint()
// every kBatchPixels positions and stop at once when it answers false. The worker's
// pacer unlocks the surfaces there, publishes and waits for the pass's pace; the
// default pacer does nothing, so tests and the headless renderer run at full speed.
#pragma once

#include <atomic>

namespace mandalix {

inline constexpr long long kBatchPixels = 1024;

class Pacer {
public:
    virtual ~Pacer() = default;
    // A pass over `positions` positions begins.
    virtual void beginPass(long long positions) { (void)positions; }
    // `done` positions of the current pass are painted. False asks the loop to stop.
    virtual bool checkpoint(long long done)
    {
        (void)done;
        return true;
    }
    // A flag that is set once the next checkpoint would answer false, for work between
    // checkpoints that can end early (a frame painted at once); null when none is kept.
    virtual const std::atomic<bool>* stopFlag() const { return nullptr; }
};

// A pacer that never waits and never stops a loop.
inline Pacer& noPacing()
{
    static Pacer pacer;
    return pacer;
}

} // namespace mandalix
