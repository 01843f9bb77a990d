#pragma once
#include "shell/Application.h"

#include <string>
#include <vector>

// The classes the program's window descriptions name; registering them again does nothing.
void RegisterProgramClasses();

// The program's windows as the start-up makes them, for the program and its tests alike: the
// title, the classes, then the main window (the first window made becomes the main one) and the
// about window, hidden.
void CreateProgramWindows(TApplication& application);

// The arguments of the program's command line (GetCommandLineW) as the platform's rules split it,
// the program's own name left out.
std::vector<std::wstring> ProgramArguments(const wchar_t* commandLine);
