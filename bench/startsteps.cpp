// Where start-up time goes: the program's start-up sequence, step by step, from the moment the
// process was created to the main window's first paint, with the system seam's calls made
// while the main window is built counted apart. Prints one line per step: name|milliseconds.
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

namespace {

int WindowsMade = 0;

LRESULT CALLBACK CountWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND)
        ++WindowsMade;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    double created = ProcessCreated(), entered = ClockMilliseconds();
    TTimingMachine machine(Machine());
    SetMachine(&machine);

    double start = ClockMilliseconds();
    TApplication application;
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
    HHOOK hook = SetWindowsHookExA(WH_CBT, CountWindows, nullptr, GetCurrentThreadId());
    RegisterProgramClasses();
    Application->AddForm(Form1);
    double mainBuilt = ClockMilliseconds();
    UnhookWindowsHookEx(hook);
    Application->AddForm(Form3);
    double aboutBuilt = ClockMilliseconds();
    Form1->Show();
    UpdateWindow(Form1->Handle());
    double painted = ClockMilliseconds();

    double mainWindow = mainBuilt - pictured, seam = machine.Directories() + machine.Drives;
    PrintStep(LoaderStep, entered - created);
    PrintStep(FirstWindowStep, applicationMade - start);
    PrintStep("ahead of the main window: the first font made and measured",
              fontMade - applicationMade);
    PrintStep("ahead of the main window: both window descriptions read and parsed",
              described - fontMade);
    PrintStep("ahead of the main window: the icon and the nine pictures loaded",
              pictured - described);
    std::string controls =
        "main window built: its controls and their " + std::to_string(WindowsMade) + " windows";
    PrintStep(controls.c_str(), mainWindow - seam);
    PrintStep("main window built: the tree's current directory and enumeration",
              machine.Directories());
    PrintStep("main window built: drive list and volume queries", machine.Drives);
    PrintStep("about window built, hidden", aboutBuilt - mainBuilt);
    PrintStep(ShownStep, painted - aboutBuilt);
    PrintStep(TotalStep, painted - created);

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
