// Where start-up time goes: the program's start-up sequence, step by step, from the moment it
// was started (as the probe hands it over) to the main window made visible and first painted,
// with the system seam's calls made while the main window is built counted apart and each of its
// windows timed, then the closing. Prints one line per step: name|milliseconds.
#include "Timing.h"
#include "TimingMachine.h"
#include "WindowSteps.h"
#include "about/TForm3.h"
#include "framework/Description.h"
#include "framework/Machine.h"
#include "framework/Resources.h"
#include "main/Program.h"
#include "main/TForm1.h"
#include "shell/Application.h"

#include <memory>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    double entered = ClockMilliseconds();
    TTimingMachine machine(Machine());
    SetMachine(&machine);
    auto seamTime = [&machine] { return machine.Directories() + machine.Drives; };

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
    TWindowNotes windows(seamTime);
    RegisterProgramClasses();
    Application->AddForm(Form1);
    double mainBuilt = ClockMilliseconds(), seam = seamTime();
    windows.Stop();
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
    PrintStep(PicturesStep, pictured - described);
    PrintStep("main window built: its controls made, before their windows",
              windows.Start(0) - pictured);
    windows.PrintSteps(0, mainBuilt, seam);
    PrintStep(TreeFolderStep, machine.Directories());
    PrintStep(DriveQueriesStep, machine.Drives);
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
