#pragma once
#include <windows.h>

// What a process holds of the system's objects, counted from outside it (or from inside).
struct TProcessResources {
    long Gdi = 0, User = 0, Handles = 0;
};

// GDI objects, USER objects and kernel handles of the process; -1 in a figure that cannot be read.
TProcessResources CountProcessResources(DWORD processId);
