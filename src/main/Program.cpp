#include "Program.h"

#include "FileCtrl/DirectoryListBox.h"
#include "RXCtrls/RxSpeedButton.h"
#include "about/TForm3.h"
#include "framework/Machine.h"
#include "main/OpenDialog.h"
#include "main/TForm1.h"

#include <cwchar>

void RegisterProgramClasses() {
    RegisterRxControls();
    RegisterOpenDialog();
    RegisterFileControls();
}

// Whether anything follows the program's own name, which the platform's rules end at its closing
// quote, or else at the first blank.
static bool HasArguments(const wchar_t* commandLine) {
    const wchar_t* rest = commandLine;
    if (*rest == L'"') {
        rest = std::wcschr(rest + 1, L'"');
        if (!rest)
            return false;
        rest++;
    } else {
        rest += std::wcscspn(rest, L" \t");
    }
    return rest[std::wcsspn(rest, L" \t")] != L'\0';
}

// The usual start has no arguments: then the shell's library, which splits them, is not loaded
// before the first window.
std::vector<std::wstring> ProgramArguments(const wchar_t* commandLine) {
    if (!HasArguments(commandLine))
        return {};
    std::vector<std::wstring> arguments = CommandLineArguments(commandLine);
    if (!arguments.empty())
        arguments.erase(arguments.begin());
    return arguments;
}

void CreateProgramWindows(TApplication& application) {
    application.SetTitle("Tolvo");
    RegisterProgramClasses();
    application.AddForm(Form1);
    application.AddForm(Form3);
}
