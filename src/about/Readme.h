#pragma once
#include "framework/Memo.h"
#include "framework/Resources.h"

#include <string>

// Loads "readme.txt" into the lines. The current directory comes first, so a readme there is the
// one shown; but it follows every folder the user browses and every archive chosen, so when no
// readme is there the one beside the program is tried. A readme that is there but cannot be
// opened, or one in neither place, raises the first place's error ("Cannot open file
// readme.txt"); other errors leave at once.
void LoadReadme(TMemoStrings& lines, const std::string& programFolder = ProgramFolder());
