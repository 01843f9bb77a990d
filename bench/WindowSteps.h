#pragma once
// The windows made while a main window is built, each timed as one step of the start-up
// breakdown.
#include "Timing.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Notes each window made on this thread until Stop: its class, when its making began and how
// much time the work timed apart (the queries made while the windows are set up, steps of their
// own) had taken by then. The input method's window, which the platform makes with a thread's
// first top-level window, is no window of the main window's and is left out.
class TWindowNotes {
  public:
    explicit TWindowNotes(std::function<double()> timedApart) : FTimedApart(std::move(timedApart)) {
        Current = this;
        FHook = SetWindowsHookExA(WH_CBT, Note, nullptr, GetCurrentThreadId());
    }
    ~TWindowNotes() { Stop(); }

    void Stop() {
        if (FHook)
            UnhookWindowsHookEx(FHook);
        FHook = nullptr;
    }

    // When the making of the window at that index began.
    double Start(size_t index) const { return FMade[index].At; }

    // One step per window from the one at that index on: from the start of its making to the
    // start of the next one's (or the end of the main window's building), the work timed apart
    // in between left out. A window made inside another's making (the drop-down list of the
    // drive selector) ends the other's step, and the rest of the other's setting up goes to its
    // own.
    void PrintSteps(size_t from, double end, double apartEnd) const {
        for (size_t i = from; i < FMade.size(); i++) {
            bool last = i + 1 == FMade.size();
            double until = last ? end : FMade[i + 1].At;
            double apart = (last ? apartEnd : FMade[i + 1].ApartAt) - FMade[i].ApartAt;
            std::string step = "main window built: window " + std::to_string(i + 1) + " of " +
                               std::to_string(FMade.size()) + ", " + FMade[i].Class;
            PrintStep(step.c_str(), until - FMade[i].At - apart);
        }
    }

  private:
    struct TWindowMade {
        std::string Class;
        double At, ApartAt;
    };

    static LRESULT CALLBACK Note(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
            std::string windowClass = HIWORD(name) ? name : "(atom)";
            if (windowClass != "IME")
                Current->FMade.push_back(
                    {windowClass, ClockMilliseconds(), Current->FTimedApart()});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    inline static TWindowNotes* Current = nullptr;
    std::function<double()> FTimedApart;
    std::vector<TWindowMade> FMade;
    HHOOK FHook;
};
