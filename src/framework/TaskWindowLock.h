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

// The frame of every modal dialog: remembers the active window and locks the program's other
// windows; on leaving, also when an error escapes, releases the lock and makes the remembered
// window active again if it still exists.
class TModalScope {
  public:
    TModalScope() : FActive(GetActiveWindow()) { FLock.Apply(); }
    ~TModalScope() {
        FLock.Release();
        if (FActive && IsWindow(FActive))
            SetActiveWindow(FActive);
    }
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;
    // The dialog lost the activation to another window: leave the activation where it is.
    void KeepActivation() { FActive = nullptr; }

  private:
    HWND FActive;
    TTaskWindowLock FLock;
};
