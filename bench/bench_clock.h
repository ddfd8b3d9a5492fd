#pragma once

#include <cstdio>
#include <cstring>
#include <ctime>

// One clock for every process of a run: CLOCK_MONOTONIC is shared by the whole machine, so
// a stamp taken in a child can be set against one taken in the parent before it started it.
inline double monotonicSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// The peak resident set of this process so far, in bytes; 0 when the kernel does not say.
inline long long peakResidentBytes()
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    long long kiB = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            std::sscanf(line + 6, "%lld", &kiB);
            break;
        }
    }
    std::fclose(status);
    return kiB * 1024;
}
