#pragma once
// Timing helpers shared by the benchmarks.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Does the work and adds its time on that clock to sum; returns what the work returns.
template <class F> auto Timed(double& sum, F work) {
    double start = ClockMilliseconds();
    auto result = work();
    sum += ClockMilliseconds() - start;
    return result;
}

// When this process was created, on the same clock.
inline double ProcessCreated() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return double(ULARGE_INTEGER{{created.dwLowDateTime, created.dwHighDateTime}}.QuadPart) / 1e4;
}

// When this process was started, on the same clock: the moment the starter handed over in
// BENCH_STARTED (the probe's "launch" sets it just before it creates the process, as its "time"
// starts its clock), else the process's creation time. Started from a Unix shell, a process is
// created only when its loader first reaches the server, part of the way into its start.
inline double ProcessStarted() {
    char started[32];
    if (GetEnvironmentVariableA("BENCH_STARTED", started, sizeof started) - 1 < sizeof started - 1)
        return std::atof(started);
    return ProcessCreated();
}

// One line of the start-up breakdown: name|milliseconds.
inline void PrintStep(const char* name, double milliseconds) {
    std::printf("%s|%.1f\n", name, milliseconds);
}

// The names of the steps both start-up breakdowns have.
constexpr const char* CreatedStep = "started to the process's creation (the starter's call)";
constexpr const char* LoaderStep =
    "process creation to WinMain: loader, imported libraries, static initialisation";
constexpr const char* FirstWindowStep = "first window made (the display connection opens)";
constexpr const char* ShownStep = "main window shown: visible";
constexpr const char* PaintedStep = "main window painted";
constexpr const char* VisibleStep = "total: start to the visible main window";
constexpr const char* TotalStep = "total: start to the first painted main window";
constexpr const char* ClosingStep = "closing: windows hidden and destroyed";

// The names of the steps the program's breakdown and the same-window floor's have both.
constexpr const char* PicturesStep =
    "ahead of the main window: the icon and the nine pictures loaded";
constexpr const char* TreeFolderStep =
    "main window built: the tree's current directory and enumeration";
constexpr const char* DriveQueriesStep = "main window built: drive list and volume queries";

// The steps every breakdown begins and ends with, from the same origin as the start-up
// benchmark's: started, created, WinMain entered; made visible, painted.
inline void PrintStartSteps(double entered) {
    double started = ProcessStarted(), created = ProcessCreated();
    PrintStep(CreatedStep, created - started);
    PrintStep(LoaderStep, entered - created);
}
inline void PrintShowSteps(double shownFrom, double visible, double painted) {
    double started = ProcessStarted();
    PrintStep(ShownStep, visible - shownFrom);
    PrintStep(PaintedStep, painted - visible);
    PrintStep(VisibleStep, visible - started);
    PrintStep(TotalStep, painted - started);
}

// Shows the benchmark's window. Started with "steps", it prints the breakdown (the start, the
// program's own steps, the showing) and closes the window as soon as it is painted; otherwise
// it runs until the window is closed.
inline int ShowAndRun(HWND window, int show, const char* commandLine, double entered,
                      double shownFrom, const std::function<void()>& printOwnSteps) {
    ShowWindow(window, show);
    if (std::strcmp(commandLine, "steps") == 0) {
        double visible = ClockMilliseconds();
        UpdateWindow(window);
        double painted = ClockMilliseconds();
        PrintStartSteps(entered);
        printOwnSteps();
        PrintShowSteps(shownFrom, visible, painted);
        PrintStep(ClosingStep, Milliseconds([&] { DestroyWindow(window); }));
        return 0;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
