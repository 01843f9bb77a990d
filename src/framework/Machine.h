#pragma once
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

// What reading a whole file came to.
enum class TFileRead { Read, CannotOpen, TooLarge };

// The one way the program reaches the file system (directories, files, volumes), the drives,
// process start and the shell's handling of URLs. The program runs on the Win32 machine; tests
// install a simulated one to reach what a test machine cannot produce (drives of every kind,
// shares, vanishing directories, refused access). Where the archiver may lie (the program's own
// folder, the system folders, the search path) is read from the platform itself; every place is
// then looked at through this seam.
class TMachine {
  public:
    virtual ~TMachine() = default;

    // The ANSI code page that paths are written in.
    virtual UINT CodePage() = 0;
    // The process's current directory as a full path. (The open dialog's hook reads the folder
    // the dialog moved to with GetCurrentDirectoryW past this seam: that is the platform's
    // dialog speaking, in wide text, and no simulated machine stands behind a real dialog.)
    virtual std::string CurrentDirectory() = 0;
    // Changes it; 0 on success, else the platform's error code.
    virtual DWORD ChangeDirectory(const std::string& path) = 0;
    // Calls visit for every entry matching the pattern (a folder, "\" and "*.*"); false when
    // the first call fails (nothing there, no access). A name the code page cannot spell exactly
    // comes as the platform's 8-bit functions spell it, with exact false.
    virtual bool
    Enumerate(const std::string& pattern,
              const std::function<void(DWORD attributes, const char* name, bool exact)>& visit) = 0;
    // The file-system flags of the volume at root (a drive or share prefix and "\").
    virtual bool VolumeFlags(const std::string& root, DWORD& flags) = 0;
    // The volume label at root; false when the volume cannot be read.
    virtual bool VolumeLabel(const std::string& root, std::string& label) = 0;
    // Bit n set for drive letter 'A' + n.
    virtual DWORD LogicalDrives() = 0;
    // DRIVE_REMOVABLE, DRIVE_FIXED, DRIVE_REMOTE, DRIVE_CDROM, DRIVE_RAMDISK, ... of a root.
    virtual UINT DriveType(const std::string& root) = 0;
    // The network name behind a drive ("X:"); false when it has none.
    virtual bool RemoteName(const std::string& drive, std::string& name) = 0;
    // The platform's short (8.3) form of an existing path; empty when it has none.
    virtual std::wstring ShortPath(const std::wstring& path) = 0;
    // The full form of a path, made against the current directory (and the current directory of
    // the drive it names) as the platform makes it, "." and ".." resolved; empty when the platform
    // makes none.
    virtual std::wstring FullPath(const std::wstring& path) = 0;
    // The attribute bits of a path, or INVALID_FILE_ATTRIBUTES.
    virtual DWORD FileAttributes(const std::string& path) = 0;
    // Reads a whole file, held open without sharing while it is read. A file larger than limit
    // bytes is not read.
    virtual TFileRead ReadWholeFile(const std::string& path, LONGLONG limit,
                                    std::string& bytes) = 0;
    // Sets the error mode and returns the previous one.
    virtual UINT SetErrorMode(UINT mode) = 0;
    // Starts the program with the command line in a normal window, in the current directory,
    // without waiting; 0 when it started, else the platform's error code.
    virtual DWORD StartProgram(const std::string& program, const std::string& commandLine) = 0;
    // Asks the shell to open a URL with its registered handler.
    virtual void OpenUrl(HWND owner, const std::string& url) = 0;
};

// The machine in use: the Win32 one unless a test installed another.
TMachine& Machine();
// Installs a machine (null puts the Win32 one back); returns the one that was in use.
TMachine* SetMachine(TMachine* machine);

// The platform's major version: 4 and above have the newer look and dialogs.
int PlatformMajorVersion();

// A function of a platform library, the library loaded on this first need; null when either is
// missing. The libraries of the open dialog, the shell and network names are reached this way
// only: the first window needs none of them, and loading them would delay it.
FARPROC LibraryFunction(const char* library, const char* name);
// The function of that type and name; the call sites keep it. (A function pointer of no
// particular type lies between the two types, as the compiler asks.)
template <class F> F* Late(const char* library, const char* name) {
    return reinterpret_cast<F*>(reinterpret_cast<void (*)()>(LibraryFunction(library, name)));
}
// The platform's open dialog; FALSE, as for a failed dialog, when its library is missing.
BOOL WINAPI RunOpenFileDialog(LPOPENFILENAMEA request);
// The paths of the files and folders of a drop, in the drop's order; the drop is finished (its
// memory freed) either way. None when the shell's library is missing.
std::vector<std::wstring> TakeDroppedFiles(HDROP drop);
// The arguments of a command line as the platform's rules split them, the program's own name
// first. None when the shell's library is missing.
std::vector<std::wstring> CommandLineArguments(const wchar_t* commandLine);
