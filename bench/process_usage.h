// What the process uses while a benchmark runs: its resident memory now and the processor
// time of all its threads so far (the pool's and the encoders' own count too). Read from
// the system on Linux; any thread; a figure that cannot be read is 0.
#pragma once

#include <cstdio>

#include <sys/resource.h>
#include <unistd.h>

namespace mandalix::bench {

// The process's resident memory now, in megabytes.
inline double residentMb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Processor time of every thread of the process so far, in seconds.
inline double processSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace mandalix::bench
