// What every download benchmark prints: one line of key=value pairs on standard output,
//   bench bytes=<body bytes> seconds=<elapsed> peak_ws=<bytes> ok=<1|0>
// which scripts/bench.sh reads. The clock starts just before the transfer and stops just after
// it, so the process's own start-up and Wine's are not part of the figure.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstdio>

class BenchClock {
public:
    BenchClock()
    {
        QueryPerformanceFrequency(&m_frequency);
        QueryPerformanceCounter(&m_start);
    }
    double Seconds() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) /
               static_cast<double>(m_frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_frequency;
    LARGE_INTEGER m_start;
};

// The largest the process's working set has been since it started.
inline unsigned long long PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
        return 0;
    return counters.PeakWorkingSetSize;
}

// Size of the file at path, -1 when it is not there.
inline long long FileSize(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

inline void PrintBenchLine(long long bytes, double seconds, bool ok)
{
    // The product's own diagnostics share standard output; bench.sh picks this line out.
    printf("bench bytes=%lld seconds=%.6f peak_ws=%llu ok=%d\n", bytes, seconds,
           PeakWorkingSet(), ok ? 1 : 0);
    fflush(stdout);
}
