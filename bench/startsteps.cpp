// Where start-up time goes: the program's start-up sequence, step by step, from the moment the
// process was created to the main window's first paint, with the system seam's calls made
// while the main window is built counted apart. Prints one line per step: name|milliseconds.
#include "Timing.h"
#include "about/TForm3.h"
#include "framework/Machine.h"
#include "main/TForm1.h"
#include "shell/Application.h"

#include <cstdio>

namespace {

// The Win32 machine, with the time spent in it summed up by kind of call.
class TTimingMachine : public TMachine {
    template <class F> static auto Timed(double& sum, F work) {
        double start = ClockMilliseconds();
        auto result = work();
        sum += ClockMilliseconds() - start;
        return result;
    }

public:
    explicit TTimingMachine(TMachine& inner) : Inner(inner) {}
    double Directories = 0, Drives = 0;

    UINT CodePage() override { return Inner.CodePage(); }
    std::string CurrentDirectory() override {
        return Timed(Directories, [&] { return Inner.CurrentDirectory(); });
    }
    DWORD ChangeDirectory(const std::string& path) override {
        return Timed(Directories, [&] { return Inner.ChangeDirectory(path); });
    }
    bool Enumerate(const std::string& pattern,
                   const std::function<void(DWORD, const char*)>& visit) override {
        return Timed(Directories, [&] { return Inner.Enumerate(pattern, visit); });
    }
    bool VolumeFlags(const std::string& root, DWORD& flags) override {
        return Timed(Drives, [&] { return Inner.VolumeFlags(root, flags); });
    }
    bool VolumeLabel(const std::string& root, std::string& label) override {
        return Timed(Drives, [&] { return Inner.VolumeLabel(root, label); });
    }
    DWORD LogicalDrives() override {
        return Timed(Drives, [&] { return Inner.LogicalDrives(); });
    }
    UINT DriveType(const std::string& root) override {
        return Timed(Drives, [&] { return Inner.DriveType(root); });
    }
    bool RemoteName(const std::string& drive, std::string& name) override {
        return Timed(Drives, [&] { return Inner.RemoteName(drive, name); });
    }
    DWORD FileAttributes(const std::string& path) override {
        return Timed(Directories, [&] { return Inner.FileAttributes(path); });
    }
    bool ReadWholeFile(const std::string& path, std::string& bytes) override {
        return Inner.ReadWholeFile(path, bytes);
    }
    UINT SetErrorMode(UINT mode) override { return Inner.SetErrorMode(mode); }
    bool StartProgram(const std::string& program, const std::string& commandLine) override {
        return Inner.StartProgram(program, commandLine);
    }
    void OpenUrl(HWND owner, const std::string& url) override { Inner.OpenUrl(owner, url); }

private:
    TMachine& Inner;
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    double created = ProcessCreated(), entered = ClockMilliseconds();
    TTimingMachine machine(Machine());
    SetMachine(&machine);

    double start = ClockMilliseconds();
    TApplication application;
    Application->SetTitle("Tolvo");
    double applicationMade = ClockMilliseconds();
    Application->AddForm(Form1);
    double mainBuilt = ClockMilliseconds();
    Application->AddForm(Form3);
    double aboutBuilt = ClockMilliseconds();
    Form1->Show();
    UpdateWindow(Form1->Handle());
    double painted = ClockMilliseconds();

    double mainWindow = mainBuilt - applicationMade, seam = machine.Directories + machine.Drives;
    PrintStep(LoaderStep, entered - created);
    PrintStep(FirstWindowStep, applicationMade - start);
    PrintStep("main window built: description, controls and their windows, pictures, fonts",
         mainWindow - seam);
    PrintStep("main window built: the tree's current directory and enumeration", machine.Directories);
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
