// Where start-up time goes: the program's start-up sequence, step by step, from the moment the
// process was created to the main window's first paint, with the system seam's calls made
// while the main window is built counted apart and each of its windows timed, then the closing.
// Prints one line per step: name|milliseconds.
#include "Timing.h"
#include "TimingMachine.h"
#include "about/TForm3.h"
#include "framework/Description.h"
#include "framework/Machine.h"
#include "framework/Resources.h"
#include "main/Program.h"
#include "main/TForm1.h"
#include "shell/Application.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Each window the main window makes: its class, when its making began and how much time the
// system seam had taken by then.
struct TWindowMade {
    std::string Class;
    double At, SeamAt;
};
std::vector<TWindowMade> WindowsMade;
TTimingMachine* Seam = nullptr;

double SeamTime() { return Seam->Directories() + Seam->Drives; }

LRESULT CALLBACK NoteWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
        WindowsMade.push_back({HIWORD(name) ? name : "(atom)", ClockMilliseconds(), SeamTime()});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// One step per window: from the start of its making to the start of the next one's (or the end
// of the main window's building), the seam's calls in between left out. A window made inside
// another's making (the drop-down list of the drive selector) ends the other's step, and the
// rest of the other's setting up goes to its own.
void PrintWindowSteps(double ahead, double end, double seamEnd) {
    PrintStep("main window built: its controls made, before their windows",
              WindowsMade.front().At - ahead);
    for (size_t i = 0; i < WindowsMade.size(); i++) {
        bool last = i + 1 == WindowsMade.size();
        double until = last ? end : WindowsMade[i + 1].At;
        double seam = (last ? seamEnd : WindowsMade[i + 1].SeamAt) - WindowsMade[i].SeamAt;
        std::string step = "main window built: window " + std::to_string(i + 1) + " of " +
                           std::to_string(WindowsMade.size()) + ", " + WindowsMade[i].Class;
        PrintStep(step.c_str(), until - WindowsMade[i].At - seam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    double entered = ClockMilliseconds();
    TTimingMachine machine(Machine());
    SetMachine(&machine);
    Seam = &machine;

    double start = ClockMilliseconds();
    auto application = std::make_unique<TApplication>();
    Application->SetTitle("Tolvo");
    double applicationMade = ClockMilliseconds();
    // Parts of building the main window done ahead, each alone, to see what they cost.
    TFont font;
    font.SetName("MS Sans Serif");
    FontLineHeight(font);
    double fontMade = ClockMilliseconds();
    for (const char* window : {"TFORM1", "TFORM3"})
        ParseDescription(LoadTextResource(window));
    double described = ClockMilliseconds();
    TIcon icon;
    icon.LoadFromResourceName("MAINICON");
    for (const char* name : {"SIDE", "CLOSEDFOLDER", "OPENFOLDER", "CURRENTFOLDER", "FLOPPY",
                             "HARD", "NETWORK", "CDROM", "RAM"})
        TBitmap().LoadFromResourceName(name);
    double pictured = ClockMilliseconds();
    HHOOK hook = SetWindowsHookExA(WH_CBT, NoteWindow, nullptr, GetCurrentThreadId());
    RegisterProgramClasses();
    Application->AddForm(Form1);
    double mainBuilt = ClockMilliseconds(), seam = SeamTime();
    UnhookWindowsHookEx(hook);
    Application->AddForm(Form3);
    double aboutBuilt = ClockMilliseconds();
    Form1->Show();
    double visible = ClockMilliseconds();
    UpdateWindow(Form1->Handle());
    double painted = ClockMilliseconds();
    double closing = Milliseconds([&] { application.reset(); });

    PrintStartSteps(entered);
    PrintStep(FirstWindowStep, applicationMade - start);
    PrintStep("ahead of the main window: the first font made and measured",
              fontMade - applicationMade);
    PrintStep("ahead of the main window: both window descriptions read and parsed",
              described - fontMade);
    PrintStep("ahead of the main window: the icon and the nine pictures loaded",
              pictured - described);
    PrintWindowSteps(pictured, mainBuilt, seam);
    PrintStep("main window built: the tree's current directory and enumeration",
              machine.Directories());
    PrintStep("main window built: drive list and volume queries", machine.Drives);
    PrintStep("about window built, hidden", aboutBuilt - mainBuilt);
    PrintShowSteps(aboutBuilt, visible, painted);
    PrintStep(ClosingStep, closing);

    // What the start-up no longer pays: the libraries only the open dialog, the author links
    // and network drive names need, loaded here for the first time.
    double before = ClockMilliseconds();
    for (const char* library : {"comdlg32.dll", "shell32.dll", "mpr.dll"})
        LoadLibraryA(library);
    PrintStep("not at start-up: open dialog, shell and network libraries, loaded on first use",
              ClockMilliseconds() - before);
    SetMachine(nullptr);
    return 0;
}
