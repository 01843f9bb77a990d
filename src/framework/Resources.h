#pragma once
#include <string>
#include <windows.h>

// A text resource (RCDATA) stored as UTF-8, turned into the system's ANSI code page.
// Raises EResNotFound when the executable has no such resource.
std::string LoadTextResource(const std::string& name);
// Turns UTF-8 text into the given ANSI code page (the system's by default).
std::string Utf8ToAnsi(const std::string& text, UINT codePage = CP_ACP);
// A string of the program's string table, or an empty text when the id is not there.
std::string LoadStr(UINT id);
// The folder of the program's executable, ending in a backslash.
std::string ProgramFolder();
