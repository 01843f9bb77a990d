#pragma once
// Timing helpers shared by the benchmarks.
#include <windows.h>

#include <algorithm>
#include <cstdio>
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

// Milliseconds on the clock that a process's creation time is given in.
inline double ClockMilliseconds() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return double(ULARGE_INTEGER{{now.dwLowDateTime, now.dwHighDateTime}}.QuadPart) / 1e4;
}

// When this process was created, on the same clock.
inline double ProcessCreated() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return double(ULARGE_INTEGER{{created.dwLowDateTime, created.dwHighDateTime}}.QuadPart) / 1e4;
}

// One line of the start-up breakdown: name|milliseconds.
inline void PrintStep(const char* name, double milliseconds) {
    std::printf("%s|%.1f\n", name, milliseconds);
}

// The names of the steps both start-up breakdowns have.
constexpr const char* LoaderStep =
    "process start to WinMain: loader, imported libraries, static initialisation";
constexpr const char* FirstWindowStep = "first window made (the display connection opens)";
constexpr const char* ShownStep = "main window shown and painted";
constexpr const char* TotalStep = "total: process start to the first painted main window";
constexpr const char* ClosingStep = "closing: windows hidden and destroyed";
