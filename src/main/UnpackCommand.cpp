#include "UnpackCommand.h"

#include "FileCtrl/PathScan.h"
#include "framework/Exceptions.h"
#include "framework/Machine.h"
#include "framework/Resources.h"
#include "framework/TextUtils.h"

#include <algorithm>

#include <windows.h>

static bool IsEnclosed(const std::string& argument) {
    if (argument.size() < 2 || argument.front() != '"' || argument.back() != '"')
        return false;
    std::string inner = argument.substr(1, argument.size() - 2);
    return inner.find('"') == std::string::npos && (inner.empty() || inner.back() != '\\');
}

std::string ArgumentAsReceived(const std::string& argument) {
    return IsEnclosed(argument) ? argument.substr(1, argument.size() - 2) : argument;
}

std::string QuoteArgument(const std::string& argument) {
    if (IsEnclosed(argument) || argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            backslashes++;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

std::string BuildUnpackCommand(const std::string& archive, const std::string& destination) {
    return "ace32.exe x -v " + QuoteArgument(archive) + " " + QuoteArgument(destination);
}

bool IsExistingDirectory(const std::string& path) {
    DWORD attributes = Machine().FileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool NamesDevice(const std::string& path, UINT codePage) {
    std::string name = path;
    if (!name.empty() && name.back() == ':') // "CON:" names the device too
        name.pop_back();
    if (size_t separator = FindLastOf(name, "\\/:", codePage); separator != std::string::npos)
        name.erase(0, separator + 1);
    name.erase(std::min(name.find('.'), name.size()));
    name.erase(name.find_last_not_of(' ') + 1);
    for (char& c : name)
        c = AsciiUpper(c);
    bool numbered = name.size() == 4 && (name.rfind("COM", 0) == 0 || name.rfind("LPT", 0) == 0) &&
                    name[3] >= '1' && name[3] <= '9';
    return numbered || name == "CON" || name == "PRN" || name == "AUX" || name == "NUL" ||
           name == "CONIN$" || name == "CONOUT$";
}

static bool IsAbsolute(const std::string& folder) {
    return (folder.size() >= 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/')) ||
           folder.rfind("\\\\", 0) == 0;
}

static std::string InFolder(const std::string& folder, const char* name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        return folder + name;
    return folder + "\\" + name;
}

static std::vector<std::string> SearchPathFolders(const std::string& searchPath) {
    std::vector<std::string> folders;
    size_t start = 0;
    while (start <= searchPath.size()) {
        size_t end = searchPath.find(';', start);
        if (end == std::string::npos)
            end = searchPath.size();
        std::string folder = searchPath.substr(start, end - start);
        if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
            folder = folder.substr(1, folder.size() - 2);
        if (IsAbsolute(folder))
            folders.push_back(folder);
        start = end + 1;
    }
    return folders;
}

std::string FindArchiver(const TArchiverSearch& search,
                         const std::function<bool(const std::string&)>& isFile) {
    std::vector<std::string> folders{search.ProgramFolder, search.StartupDirectory};
    folders.insert(folders.end(), search.SystemFolders.begin(), search.SystemFolders.end());
    for (const std::string& folder : SearchPathFolders(search.PathVariable))
        folders.push_back(folder);
    for (const std::string& folder : folders) {
        if (!IsAbsolute(folder))
            continue;
        std::string candidate = InFolder(folder, "ace32.exe");
        if (isFile(candidate))
            return candidate;
    }
    return "";
}

// Taken while the program is being loaded, before any window exists.
static const std::string GStartupDirectory = Machine().CurrentDirectory();

const std::string& StartupDirectory() { return GStartupDirectory; }

TArchiverSearch ArchiverSearch() {
    TArchiverSearch search;
    search.ProgramFolder = ProgramFolder();
    char buffer[MAX_PATH + 1] = "";
    search.StartupDirectory = StartupDirectory();
    if (GetSystemDirectoryA(buffer, MAX_PATH))
        search.SystemFolders.push_back(buffer);
    if (GetWindowsDirectoryA(buffer, MAX_PATH)) {
        search.SystemFolders.push_back(InFolder(buffer, "SYSTEM"));
        search.SystemFolders.push_back(buffer);
    }
    DWORD length = GetEnvironmentVariableA("PATH", nullptr, 0);
    std::string path(length, '\0');
    path.resize(GetEnvironmentVariableA("PATH", path.data(), length));
    search.PathVariable = path;
    return search;
}

static bool IsFile(const std::string& path) {
    DWORD attributes = Machine().FileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

static bool Exists(const std::string& path) {
    return Machine().FileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

void StartArchiver(const std::string& commandLine) {
    TArchiverSearch search = ArchiverSearch();
    std::string archiver = FindArchiver(search, IsFile);
    // A folder of that name is never taken for the archiver, but where it is all there is, the
    // platform's answer for it tells the user more than "not found" would.
    if (archiver.empty())
        archiver = FindArchiver(search, Exists);
    if (archiver.empty())
        throw Exception("Nie znaleziono programu ace32.exe. Umieść go w folderze programu Tolvo "
                        "lub w folderze wskazanym w zmiennej PATH");
    if (DWORD error = Machine().StartProgram(archiver, commandLine))
        throw Exception("Nie można uruchomić programu ace32.exe: " +
                        SystemErrorMessage(error, archiver));
}
