#include "main/Program.h"
#include "main/TForm1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram([] {
        TApplication application;
        CreateProgramWindows(application);
        Form1->TakeArgumentsWhenShown(ProgramArguments(GetCommandLineW()));
        application.RunMessageLoop();
    });
}
