// The yardstick for the start-up benchmark: the least a Win32 program does to show one window.
// Started with the argument "steps" it prints how long each of its steps took and ends as soon
// as its window is painted and closed, for the start-up breakdown.
#include "Timing.h"

static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    double entered = ClockMilliseconds();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "Minimal";
    RegisterClassA(&windowClass);
    HWND window =
        CreateWindowExA(0, "Minimal", "Minimal window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 339, 281, nullptr, nullptr, instance, nullptr);
    double made = ClockMilliseconds();
    return ShowAndRun(window, show, commandLine, entered, made,
                      [&] { PrintStep(FirstWindowStep, made - entered); });
}
