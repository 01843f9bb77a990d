#pragma once
#include <string>
#include <windows.h>

// Path scanning on 8-bit strings of a code page: a double-byte character is one unit, so a
// backslash that is the second byte of one is no separator.

// The position of the character after the one at i.
size_t NextChar(const std::string& text, size_t i, UINT codePage);
// The position of the first character c at or after start, or npos.
size_t FindChar(const std::string& text, char c, size_t start, UINT codePage);
// The position of the last character that is one of the separators, or npos.
size_t FindLastOf(const std::string& text, const char* separators, UINT codePage);
// The drive of a path: "C:" when its second character is ":", the share prefix ("\\SERVER\SHARE")
// when it begins with two backslashes, else an empty text.
std::string DrivePart(const std::string& path, UINT codePage);
// directory + name, with a backslash between them unless the directory ends in one.
std::string JoinPath(const std::string& directory, const std::string& name, UINT codePage);
// The number of backslash characters in the path.
int PathDepth(const std::string& path, UINT codePage);

// A path to move to, read as text: the root to change to first (the path's drive or share
// prefix, else that of the directory it is relative to), the drive letter (0 on a share), the
// directory part and the last component (the text after the last "\" or ":"). The directory
// part is "\" when the only separator leads, and empty when there is no separator at all: then
// the directory the root keeps as its current one is meant.
struct TTargetText {
    std::string Root;
    char Drive;
    std::string Directory;
    std::string Name;
};
TTargetText SplitTarget(const std::string& text, const std::string& relativeTo, UINT codePage);
// The directory part once its last component has been entered as well: "\" + name when the
// directory part is one character long, else directory + "\" + name.
std::string EnteredDirectory(const std::string& directory, const std::string& name);
