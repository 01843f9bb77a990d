#pragma once
#include "framework/Memo.h"
#include "framework/Resources.h"

#include <string>

// Loads "readme.txt" into the lines. The current directory comes first, so a readme there is the
// one shown; but it follows every folder the user browses and every archive chosen, so when no
// readme can be opened there the one beside the program is tried. Only when neither opens is the
// first place's error raised ("Cannot open file readme.txt"); other errors leave at once.
void LoadReadme(TMemoStrings& lines, const std::string& programFolder = ProgramFolder());
