#include "SimulatedMachine.h"

#include "FileCtrl/PathScan.h"
#include "framework/TextUtils.h"

#include <algorithm>

TSimulatedMachine::TSimulatedMachine() { FPrevious = SetMachine(this); }

TSimulatedMachine::~TSimulatedMachine() { SetMachine(FPrevious); }

std::string TSimulatedMachine::Key(const std::string& path) {
    std::string key = path;
    std::transform(key.begin(), key.end(), key.begin(), AsciiLower);
    while (key.size() > 3 && key.back() == '\\')
        key.pop_back();
    return key;
}

// "C:\" for a drive path, "\\SERVER\SHARE\" for a share path.
std::string TSimulatedMachine::Root(const std::string& full) {
    if (full.rfind("\\\\", 0) == 0) {
        size_t server = full.find('\\', 2);
        size_t share = server == std::string::npos ? server : full.find('\\', server + 1);
        return (share == std::string::npos ? full : full.substr(0, share)) + "\\";
    }
    return full.substr(0, 2) + "\\";
}

void TSimulatedMachine::AddDrive(char letter, TDrive drive) {
    FDrives[letter] = drive;
    std::string root = std::string(1, letter) + ":\\";
    FEntries[root] = {root, FILE_ATTRIBUTE_DIRECTORY, "", {}};
    FDriveCurrent[Key(root)] = root;
}

void TSimulatedMachine::RemoveDrive(char letter) {
    FDrives.erase(letter);
    std::string root = Key(std::string(1, letter) + ":\\");
    std::erase_if(FEntries,
                  [&](const auto& entry) { return Key(entry.first).rfind(root, 0) == 0; });
}

// Entries are kept under their exact path, so that a case-sensitive volume may hold names that
// differ only in case; lookups fall back to comparing without case.
void TSimulatedMachine::AddDirectory(const std::string& path, DWORD attributes) {
    std::string root = Root(path);
    if (!Find(root)) {
        FEntries[root] = {root, FILE_ATTRIBUTE_DIRECTORY, "", {}};
        FDriveCurrent[Key(root)] = root;
    }
    if (Key(path) == Key(root))
        return;
    size_t separator = FindLastOf(path, "\\", Page);
    std::string parent = separator < root.size() ? root : path.substr(0, separator);
    if (!Find(parent))
        AddDirectory(parent);
    TEntry& parentEntry = FEntries[Find(parent)->Path];
    if (std::find(parentEntry.Children.begin(), parentEntry.Children.end(), path) ==
        parentEntry.Children.end())
        parentEntry.Children.push_back(path);
    FEntries[path] = {path, attributes | FILE_ATTRIBUTE_DIRECTORY, "", {}};
}

void TSimulatedMachine::AddFile(const std::string& path, const std::string& bytes,
                                DWORD attributes) {
    AddDirectory(path, attributes);
    FEntries[path].Attributes = attributes;
    FEntries[path].Bytes = bytes;
}

void TSimulatedMachine::Remove(const std::string& path) {
    const TEntry* entry = Find(path);
    if (!entry)
        return;
    std::string exact = entry->Path;
    FEntries.erase(exact);
    for (auto& [key, other] : FEntries)
        std::erase(other.Children, exact);
}

void TSimulatedMachine::StartIn(const std::string& path) {
    FCurrent = Find(path)->Path;
    FDriveCurrent[Key(Root(FCurrent))] = FCurrent;
}

// The full path a path names from the current directory, with "." and ".." applied.
std::string TSimulatedMachine::Resolve(const std::string& path) const {
    std::string full;
    if (path.size() >= 2 && path[1] == ':') {
        std::string root = path.substr(0, 2) + "\\";
        auto current = FDriveCurrent.find(Key(root));
        std::string base = current == FDriveCurrent.end() ? root : current->second;
        std::string rest = path.substr(2);
        full = rest.empty()      ? base
               : rest[0] == '\\' ? path.substr(0, 2) + rest
                                 : base + "\\" + rest;
    } else if (path.rfind("\\\\", 0) == 0) {
        full = path;
    } else if (!path.empty() && path[0] == '\\') {
        full = Root(FCurrent) + path.substr(1);
    } else {
        full = FCurrent + "\\" + path;
    }
    std::string root = Root(full);
    std::vector<std::string> parts;
    size_t start = root.size();
    while (start <= full.size()) {
        size_t end = std::min(FindChar(full, '\\', start, Page), full.size());
        std::string part = full.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string resolved = root;
    for (const std::string& part : parts)
        resolved += (resolved.back() == '\\' ? "" : "\\") + part;
    return resolved;
}

std::wstring TSimulatedMachine::FullPath(const std::wstring& path) {
    std::string narrow;
    std::wstring full;
    if (NarrowExactly(path, Page, narrow))
        full = Widen(Resolve(narrow), Page);
    else // a name the code page cannot spell is joined to the current directory as it stands
        full = path.size() >= 3 && path[1] == L':' ? path : Widen(FCurrent, Page) + L"\\" + path;
    return full.size() < MAX_PATH ? full : std::wstring();
}

const TSimulatedMachine::TEntry* TSimulatedMachine::Find(const std::string& full) const {
    if (auto exact = FEntries.find(full); exact != FEntries.end())
        return &exact->second;
    for (auto& [path, entry] : FEntries)
        if (Key(path) == Key(full))
            return &entry;
    return nullptr;
}

const TSimulatedMachine::TDrive* TSimulatedMachine::DriveOf(const std::string& full) const {
    auto found =
        full.size() >= 2 && full[1] == ':' ? FDrives.find(char(toupper(full[0]))) : FDrives.end();
    return found == FDrives.end() ? nullptr : &found->second;
}

DWORD TSimulatedMachine::ChangeDirectory(const std::string& path) {
    if (path.empty())
        return ERROR_INVALID_NAME;
    if (path.size() >= 2 && path[1] == ':' && !DriveOf(path))
        return ERROR_PATH_NOT_FOUND; // as the platform answers for a drive that is not there
    std::string full = Resolve(path);
    if (const TDrive* drive = DriveOf(full); drive && drive->MediumError)
        return drive->MediumError;
    if (auto refused = FRefused.find(Key(full)); refused != FRefused.end())
        return refused->second;
    const TEntry* entry = Find(full);
    if (!entry) {
        size_t separator = full.find_last_of('\\', full.size() - 2);
        bool parentExists = separator != std::string::npos &&
                            Find(full.substr(0, std::max(separator, Root(full).size())));
        return parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    if (!(entry->Attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_DIRECTORY;
    FCurrent = entry->Path;
    FDriveCurrent[Key(Root(FCurrent))] = FCurrent;
    return 0;
}

bool TSimulatedMachine::Enumerate(const std::string& pattern,
                                  const std::function<void(DWORD, const char*, bool)>& visit) {
    std::string directory = Resolve(pattern.substr(0, FindLastOf(pattern, "\\", Page) + 1));
    const TEntry* entry = Find(directory);
    if (!entry || FUnreadable.count(Key(directory)))
        return false;
    if (Key(directory) != Key(Root(directory))) {
        visit(FILE_ATTRIBUTE_DIRECTORY, ".", true);
        visit(FILE_ATTRIBUTE_DIRECTORY, "..", true);
    }
    for (const std::string& path : entry->Children) {
        const TEntry& child = FEntries.at(path);
        visit(child.Attributes, child.Path.substr(FindLastOf(child.Path, "\\", Page) + 1).c_str(),
              true);
    }
    return true;
}

bool TSimulatedMachine::VolumeFlags(const std::string& root, DWORD& flags) {
    const TDrive* drive = DriveOf(root);
    if (drive && !drive->VolumeReadable)
        return false;
    flags = drive ? drive->Flags : FS_CASE_IS_PRESERVED;
    return true;
}

bool TSimulatedMachine::VolumeLabel(const std::string& root, std::string& label) {
    LabelQueries.push_back(root);
    const TDrive* drive = DriveOf(root);
    if (!drive || !drive->VolumeReadable)
        return false;
    label = drive->Label;
    return true;
}

DWORD TSimulatedMachine::LogicalDrives() {
    DWORD bits = 0;
    for (auto& [letter, drive] : FDrives)
        bits |= 1u << (letter - 'A');
    return bits;
}

UINT TSimulatedMachine::DriveType(const std::string& root) {
    const TDrive* drive = DriveOf(root);
    return drive ? drive->Type : DRIVE_NO_ROOT_DIR;
}

bool TSimulatedMachine::RemoteName(const std::string& drive, std::string& name) {
    const TDrive* found = DriveOf(drive);
    if (!found || found->Remote.empty())
        return false;
    name = found->Remote;
    return true;
}

DWORD TSimulatedMachine::FileAttributes(const std::string& path) {
    if (path.empty())
        return INVALID_FILE_ATTRIBUTES;
    const TEntry* entry = Find(Resolve(path));
    return entry ? entry->Attributes : INVALID_FILE_ATTRIBUTES;
}

TFileRead TSimulatedMachine::ReadWholeFile(const std::string& path, LONGLONG limit,
                                           std::string& bytes) {
    const TEntry* entry = Find(Resolve(path));
    if (!entry || (entry->Attributes & FILE_ATTRIBUTE_DIRECTORY))
        return TFileRead::CannotOpen;
    if (LONGLONG(entry->Bytes.size()) > limit)
        return TFileRead::TooLarge;
    bytes = entry->Bytes;
    return TFileRead::Read;
}

UINT TSimulatedMachine::SetErrorMode(UINT mode) {
    UINT previous = ErrorModes.empty() ? 0 : ErrorModes.back();
    ErrorModes.push_back(mode);
    return previous;
}

// A folder is refused as the platform refuses it: access denied.
DWORD TSimulatedMachine::StartProgram(const std::string& program, const std::string& commandLine) {
    DWORD attributes = FileAttributes(program);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ERROR_FILE_NOT_FOUND;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ERROR_ACCESS_DENIED;
    if (auto refused = FStartRefused.find(Key(program)); refused != FStartRefused.end())
        return refused->second;
    Started.emplace_back(program, commandLine);
    return 0;
}

void TSimulatedMachine::OpenUrl(HWND owner, const std::string& url) {
    OpenedUrls.push_back(url);
    UrlOwners.push_back(owner);
}
