#pragma once
// Timing helpers shared by the benchmarks.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

// The wall time of the work, in milliseconds; drawing is flushed before the clock stops.
inline double Milliseconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    GdiFlush();
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
