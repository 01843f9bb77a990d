#include "PathScan.h"

size_t NextChar(const std::string& text, size_t i, UINT codePage) {
    return i + (IsDBCSLeadByteEx(codePage, BYTE(text[i])) && i + 1 < text.size() ? 2 : 1);
}

size_t FindChar(const std::string& text, char c, size_t start, UINT codePage) {
    for (size_t i = start; i < text.size(); i = NextChar(text, i, codePage))
        if (text[i] == c)
            return i;
    return std::string::npos;
}

size_t FindLastOf(const std::string& text, const char* separators, UINT codePage) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < text.size(); i = NextChar(text, i, codePage))
        for (const char* s = separators; *s; s++)
            if (text[i] == *s)
                last = i;
    return last;
}

std::string DrivePart(const std::string& path, UINT codePage) {
    if (path.empty())
        return "";
    size_t second = NextChar(path, 0, codePage);
    if (second < path.size() && path[second] == ':')
        return path.substr(0, second + 1);
    if (path.rfind("\\\\", 0) != 0)
        return "";
    size_t serverEnd = FindChar(path, '\\', 2, codePage);
    if (serverEnd == std::string::npos)
        return path;
    size_t shareEnd = FindChar(path, '\\', serverEnd + 1, codePage);
    return shareEnd == std::string::npos ? path : path.substr(0, shareEnd);
}

std::string JoinPath(const std::string& directory, const std::string& name, UINT codePage) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < directory.size(); i = NextChar(directory, i, codePage))
        last = i;
    bool endsInBackslash = last != std::string::npos && directory[last] == '\\';
    return endsInBackslash ? directory + name : directory + "\\" + name;
}

int PathDepth(const std::string& path, UINT codePage) {
    int depth = 0;
    for (size_t i = 0; i < path.size(); i = NextChar(path, i, codePage))
        depth += path[i] == '\\';
    return depth;
}

TTargetText SplitTarget(const std::string& text, const std::string& relativeTo, UINT codePage) {
    std::string root = DrivePart(text, codePage);
    std::string rest = text.substr(root.size());
    if (root.empty())
        root = DrivePart(relativeTo, codePage);
    char drive = root.size() >= 2 && root[1] == ':' ? root[0] : '\0';
    size_t separator = FindLastOf(rest, "\\:", codePage);
    if (separator == std::string::npos)
        return {root, drive, "", rest};
    std::string name = rest.substr(separator + 1);
    return {root, drive, separator == 0 ? "\\" : rest.substr(0, separator), name};
}

std::string EnteredDirectory(const std::string& directory, const std::string& name) {
    return directory.size() == 1 ? "\\" + name : directory + "\\" + name;
}
