#include "Machine.h"

#include "CleanUp.h"
#include "TextUtils.h"

#include <shellapi.h>
#include <winnetwk.h>

int PlatformMajorVersion() { return LOBYTE(LOWORD(GetVersion())); }

FARPROC LibraryFunction(const char* library, const char* name) {
    HMODULE module = LoadLibraryA(library);
    return module ? GetProcAddress(module, name) : nullptr;
}

namespace {

class TWin32Machine : public TMachine {
  public:
    UINT CodePage() override { return GetACP(); }

    std::string CurrentDirectory() override {
        char buffer[MAX_PATH] = "";
        DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
        return std::string(buffer, length < MAX_PATH ? length : 0);
    }

    DWORD ChangeDirectory(const std::string& path) override {
        return SetCurrentDirectoryA(path.c_str()) ? 0 : GetLastError();
    }

    // The names are read as the platform keeps them, so that a name the code page cannot spell
    // is told from the one its 8-bit spelling names.
    bool Enumerate(const std::string& pattern,
                   const std::function<void(DWORD, const char*, bool)>& visit) override {
        UINT codePage = CodePage();
        WIN32_FIND_DATAW entry;
        HANDLE search = FindFirstFileW(Widen(pattern, codePage).c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE)
            return false;
        TCleanUp closer([search] { FindClose(search); });
        std::string name;
        do {
            bool exact = NarrowExactly(entry.cFileName, codePage, name);
            if (!exact)
                name = PlatformSpelling(entry.cFileName, codePage);
            visit(entry.dwFileAttributes, name.c_str(), exact);
        } while (FindNextFileW(search, &entry));
        return true;
    }

    bool VolumeFlags(const std::string& root, DWORD& flags) override {
        DWORD maximum = 0;
        return GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, &maximum, &flags, nullptr,
                                     0);
    }

    bool VolumeLabel(const std::string& root, std::string& label) override {
        char name[MAX_PATH] = "";
        DWORD maximum = 0, flags = 0;
        if (!GetVolumeInformationA(root.c_str(), name, sizeof name, nullptr, &maximum, &flags,
                                   nullptr, 0))
            return false;
        label = name;
        return true;
    }

    DWORD LogicalDrives() override { return GetLogicalDrives(); }

    UINT DriveType(const std::string& root) override { return GetDriveTypeA(root.c_str()); }

    bool RemoteName(const std::string& drive, std::string& name) override {
        static auto* connection =
            Late<decltype(WNetGetConnectionA)>("mpr.dll", "WNetGetConnectionA");
        char buffer[MAX_PATH] = "";
        DWORD length = sizeof buffer;
        if (!connection || connection(drive.c_str(), buffer, &length) != NO_ERROR)
            return false;
        name = buffer;
        return true;
    }

    std::wstring ShortPath(const std::wstring& path) override {
        std::wstring result(MAX_PATH, L'\0');
        DWORD length = GetShortPathNameW(path.c_str(), result.data(), MAX_PATH);
        result.resize(length < MAX_PATH ? length : 0);
        return result;
    }

    std::wstring FullPath(const std::wstring& path) override {
        DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
        std::wstring result(size, L'\0');
        DWORD length = size ? GetFullPathNameW(path.c_str(), size, result.data(), nullptr) : 0;
        result.resize(length < size ? length : 0);
        return result;
    }

    DWORD FileAttributes(const std::string& path) override {
        return GetFileAttributesA(path.c_str());
    }

    TFileRead ReadWholeFile(const std::string& path, LONGLONG limit, std::string& bytes) override {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return TFileRead::CannotOpen;
        TCleanUp closer([file] { CloseHandle(file); });
        LARGE_INTEGER size{};
        GetFileSizeEx(file, &size);
        if (size.QuadPart > limit)
            return TFileRead::TooLarge;
        bytes.assign(size_t(size.QuadPart), '\0');
        DWORD read = 0;
        ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
        bytes.resize(read);
        return TFileRead::Read;
    }

    UINT SetErrorMode(UINT mode) override { return ::SetErrorMode(mode); }

    DWORD StartProgram(const std::string& program, const std::string& commandLine) override {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        std::string line = commandLine;
        if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process))
            return GetLastError();
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return 0;
    }

    void OpenUrl(HWND owner, const std::string& url) override {
        static auto* execute = Late<decltype(ShellExecuteA)>("shell32.dll", "ShellExecuteA");
        if (execute)
            execute(owner, "open", url.c_str(), "", "", SW_SHOWNORMAL);
    }
};

// Made on first use, so that code running while the program loads may use it too.
TMachine& Win32Machine() {
    static TWin32Machine machine;
    return machine;
}

TMachine* GMachine = nullptr;

} // namespace

TMachine& Machine() { return GMachine ? *GMachine : Win32Machine(); }

TMachine* SetMachine(TMachine* machine) {
    TMachine* previous = &Machine();
    GMachine = machine;
    return previous;
}

BOOL WINAPI RunOpenFileDialog(LPOPENFILENAMEA request) {
    static auto* open = Late<decltype(GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    return open ? open(request) : FALSE;
}

std::vector<std::wstring> TakeDroppedFiles(HDROP drop) {
    static auto* query = Late<decltype(DragQueryFileW)>("shell32.dll", "DragQueryFileW");
    static auto* finish = Late<decltype(DragFinish)>("shell32.dll", "DragFinish");
    std::vector<std::wstring> items;
    if (query)
        items.resize(query(drop, 0xFFFFFFFF, nullptr, 0));
    for (UINT i = 0; i < items.size(); i++) {
        items[i].resize(query(drop, i, nullptr, 0) + 1);
        items[i].resize(query(drop, i, items[i].data(), UINT(items[i].size())));
    }
    if (finish)
        finish(drop);
    return items;
}

std::vector<std::wstring> CommandLineArguments(const wchar_t* commandLine) {
    static auto* split = Late<decltype(CommandLineToArgvW)>("shell32.dll", "CommandLineToArgvW");
    int count = 0;
    LPWSTR* arguments = split ? split(commandLine, &count) : nullptr;
    if (!arguments)
        return {};
    std::vector<std::wstring> result(arguments, arguments + count);
    LocalFree(arguments);
    return result;
}
