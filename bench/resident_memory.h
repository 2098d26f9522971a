// The process's resident memory, for benchmarks that show memory stays bounded while a
// long job streams. Any thread; an unreadable /proc answers 0.
#pragma once

#include <cstdio>

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

} // namespace mandalix::bench
