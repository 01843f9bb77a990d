#include "Program.h"

#include "FileCtrl/DirectoryListBox.h"
#include "RXCtrls/RxSpeedButton.h"
#include "about/TForm3.h"
#include "framework/Machine.h"
#include "main/OpenDialog.h"
#include "main/TForm1.h"

void RegisterProgramClasses() {
    RegisterRxControls();
    RegisterOpenDialog();
    RegisterFileControls();
}

std::vector<std::wstring> ProgramArguments() {
    std::vector<std::wstring> arguments = CommandLineArguments(GetCommandLineW());
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
