#include "TaskWindowLock.h"

#include "AppLink.h"

namespace {
struct TLockState {
    HWND Except;
    std::vector<HWND>* Disabled;
};

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<TLockState*>(param);
    RunGuarded(nullptr, [&] {
        if (window != state->Except && IsWindowVisible(window) && IsWindowEnabled(window))
            state->Disabled->push_back(window);
    });
    return TRUE;
}
} // namespace

void TTaskWindowLock::Apply(HWND except) {
    TLockState state{except, &FDisabled};
    FHeld = true;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, LPARAM(&state));
    for (HWND window : FDisabled)
        EnableWindow(window, FALSE);
}

void TTaskWindowLock::Release() {
    std::vector<HWND> disabled;
    disabled.swap(FDisabled);
    FHeld = false;
    for (HWND window : disabled)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
}
