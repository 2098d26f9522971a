// The processor time of the calling thread, as a std::chrono clock, and of the process. Ratios measured with
// it do not count the time another process takes the processor away in the middle of one
// of the two things compared. Safe on any thread; reading it never fails on Linux.
#pragma once

#include <chrono>
#include <ctime>

namespace mandalix::bench {

struct ThreadClock {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<ThreadClock>;
    static constexpr bool is_steady = true;

    static time_point now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(static_cast<rep>(t.tv_sec) * 1000000000 + t.tv_nsec));
    }
};

// The processor time of the whole process so far: every thread of the shared pool counted.
inline std::chrono::nanoseconds processTime()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

// Nanoseconds per unit of `count`.
inline double nsPer(ThreadClock::duration d, long long count)
{
    return std::chrono::duration<double, std::nano>(d).count() / static_cast<double>(count);
}

} // namespace mandalix::bench
