#pragma once
#include "framework/Machine.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// A machine for tests: drives of every kind with labels and case flags, network shares,
// per-drive current directories, directories that vanish or refuse entry, and error codes.
// Paths compare without regard to ASCII case; names keep the case they were added with, and
// directories list their entries in the order they were added.
class TSimulatedMachine : public TMachine {
  public:
    struct TDrive {
        UINT Type = DRIVE_FIXED;
        std::string Label;
        DWORD Flags = FS_CASE_IS_PRESERVED;
        bool VolumeReadable = true;
        DWORD MediumError = 0; // non-zero: entering the drive fails with this code
        std::string Remote;
    };

    TSimulatedMachine();
    ~TSimulatedMachine() override;

    void AddDrive(char letter, TDrive drive);
    // The drive goes away with everything on it, as a pulled disk or a dropped connection.
    void RemoveDrive(char letter);
    // Adds a directory and the ones above it; a share root (\\SERVER\SHARE) is added with it.
    void AddDirectory(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_DIRECTORY);
    void AddFile(const std::string& path, const std::string& bytes = "",
                 DWORD attributes = FILE_ATTRIBUTE_ARCHIVE);
    void Remove(const std::string& path);
    // Entering the directory fails with the code.
    void Refuse(const std::string& path, DWORD code) { FRefused[Key(path)] = code; }
    // Starting the program there fails with the code, as for a file that is no program.
    void RefuseStart(const std::string& path, DWORD code) { FStartRefused[Key(path)] = code; }
    // Listing the directory fails.
    void MakeUnreadable(const std::string& path) { FUnreadable.insert(Key(path)); }
    // Makes the directory current, as if the program had been started there.
    void StartIn(const std::string& path);

    UINT Page = 1250;
    std::vector<std::pair<std::string, std::string>> Started; // the programs that did start
    std::vector<std::string> OpenedUrls;
    std::vector<HWND> UrlOwners; // the owner window handed over with each URL
    std::vector<UINT> ErrorModes;
    std::vector<std::string> LabelQueries;

    UINT CodePage() override { return Page; }
    std::string CurrentDirectory() override { return FCurrent; }
    DWORD ChangeDirectory(const std::string& path) override;
    bool Enumerate(const std::string& pattern,
                   const std::function<void(DWORD, const char*, bool)>& visit) override;
    // The short forms the platform has, by path; other paths have none.
    std::map<std::wstring, std::wstring> ShortPaths;
    std::wstring ShortPath(const std::wstring& path) override {
        auto found = ShortPaths.find(path);
        return found == ShortPaths.end() ? std::wstring() : found->second;
    }
    // Relative to the current directory, or to the current drive's root for "\\..."; a result
    // of MAX_PATH characters or more is one the machine makes none of.
    std::wstring FullPath(const std::wstring& path) override;
    bool VolumeFlags(const std::string& root, DWORD& flags) override;
    bool VolumeLabel(const std::string& root, std::string& label) override;
    DWORD LogicalDrives() override;
    UINT DriveType(const std::string& root) override;
    bool RemoteName(const std::string& drive, std::string& name) override;
    DWORD FileAttributes(const std::string& path) override;
    TFileRead ReadWholeFile(const std::string& path, LONGLONG limit, std::string& bytes) override;
    UINT SetErrorMode(UINT mode) override;
    DWORD StartProgram(const std::string& program, const std::string& commandLine) override;
    void OpenUrl(HWND owner, const std::string& url) override;

  private:
    struct TEntry {
        std::string Path; // as added, canonical form
        DWORD Attributes;
        std::string Bytes;
        std::vector<std::string> Children; // keys, in the order added
    };
    static std::string Key(const std::string& path);
    static std::string Root(const std::string& full);
    std::string Resolve(const std::string& path) const;
    const TEntry* Find(const std::string& full) const;
    const TDrive* DriveOf(const std::string& full) const;

    std::map<char, TDrive> FDrives;
    std::map<std::string, TEntry> FEntries;
    std::map<std::string, DWORD> FRefused;
    std::map<std::string, DWORD> FStartRefused;
    std::set<std::string> FUnreadable;
    std::map<std::string, std::string> FDriveCurrent; // root key -> full path
    std::string FCurrent;
    TMachine* FPrevious;
};
