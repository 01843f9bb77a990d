#pragma once
#include <vector>
#include <windows.h>

// Disables the program's other windows while a modal dialog is up: every top-level window of
// this thread that is visible and enabled when the lock is applied, and only those.
class TTaskWindowLock {
public:
    ~TTaskWindowLock() { Release(); }
    void Apply(HWND except = nullptr);
    // Enables again each window the lock disabled that still exists.
    void Release();
    bool Held() const { return FHeld; }

private:
    std::vector<HWND> FDisabled;
    bool FHeld = false;
};
