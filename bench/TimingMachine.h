#pragma once
// The Win32 machine with the time spent in it counted, for the benchmarks that break a step down.
#include "Timing.h"
#include "framework/Machine.h"

// The Win32 machine, with the time spent in it summed up by kind of call.
class TTimingMachine : public TMachine {
  public:
    explicit TTimingMachine(TMachine& inner) : Inner(inner) {}
    // Milliseconds spent: changing and reading the current directory, enumerating, asking the
    // volumes and drives.
    double DirectoryChanges = 0, Enumeration = 0, Drives = 0;
    int DirectoryChangeCalls = 0;
    double Directories() const { return DirectoryChanges + Enumeration; }

    UINT CodePage() override { return Inner.CodePage(); }
    std::string CurrentDirectory() override {
        return Timed(DirectoryChanges, [&] { return Inner.CurrentDirectory(); });
    }
    DWORD ChangeDirectory(const std::string& path) override {
        ++DirectoryChangeCalls;
        return Timed(DirectoryChanges, [&] { return Inner.ChangeDirectory(path); });
    }
    bool Enumerate(const std::string& pattern,
                   const std::function<void(DWORD, const char*, bool)>& visit) override {
        return Timed(Enumeration, [&] { return Inner.Enumerate(pattern, visit); });
    }
    bool VolumeFlags(const std::string& root, DWORD& flags) override {
        return Timed(Drives, [&] { return Inner.VolumeFlags(root, flags); });
    }
    bool VolumeLabel(const std::string& root, std::string& label) override {
        return Timed(Drives, [&] { return Inner.VolumeLabel(root, label); });
    }
    DWORD LogicalDrives() override {
        return Timed(Drives, [&] { return Inner.LogicalDrives(); });
    }
    UINT DriveType(const std::string& root) override {
        return Timed(Drives, [&] { return Inner.DriveType(root); });
    }
    bool RemoteName(const std::string& drive, std::string& name) override {
        return Timed(Drives, [&] { return Inner.RemoteName(drive, name); });
    }
    std::wstring ShortPath(const std::wstring& path) override { return Inner.ShortPath(path); }
    std::wstring FullPath(const std::wstring& path) override { return Inner.FullPath(path); }
    DWORD FileAttributes(const std::string& path) override {
        return Timed(DirectoryChanges, [&] { return Inner.FileAttributes(path); });
    }
    TFileRead ReadWholeFile(const std::string& path, LONGLONG limit, std::string& bytes) override {
        return Inner.ReadWholeFile(path, limit, bytes);
    }
    UINT SetErrorMode(UINT mode) override { return Inner.SetErrorMode(mode); }
    DWORD StartProgram(const std::string& program, const std::string& commandLine) override {
        return Inner.StartProgram(program, commandLine);
    }
    void OpenUrl(HWND owner, const std::string& url) override { Inner.OpenUrl(owner, url); }

  private:
    TMachine& Inner;
};
