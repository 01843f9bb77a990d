#include "main/Program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram([] {
        TApplication application;
        CreateProgramWindows(application);
        application.RunMessageLoop();
    });
}
