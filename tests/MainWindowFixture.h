#pragma once
#include "ProgramFixture.h"
#include "about/TForm3.h"
#include "main/TForm1.h"

#include <fstream>
#include <sstream>

// A folder of its own for each test, made the current directory while the test runs, and
// removed with everything in it afterwards.
class TScratchFolder {
public:
    TScratchFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        Path = std::string(temp) + "tolvo-main-" + std::to_string(GetTickCount());
        CreateDirectoryA(Path.c_str(), nullptr);
        CreateDirectoryA((Path + "\\beta").c_str(), nullptr);
        CreateDirectoryA((Path + "\\Alpha").c_str(), nullptr);
        GetCurrentDirectoryA(MAX_PATH, FPrevious);
        SetCurrentDirectoryA(Path.c_str());
    }
    ~TScratchFolder() {
        SetCurrentDirectoryA(FPrevious);
        RemoveTree(Path);
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path + "\\" + name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream file(Path + "\\" + name, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    bool Exists(const std::string& name) const {
        return GetFileAttributesA((Path + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // Removes a folder and everything in it; names are read in wide characters, so that those
    // the code page cannot spell go too.
    static void RemoveTree(const std::string& folder) {
        wchar_t wide[MAX_PATH * 2];
        MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH * 2);
        RemoveTree(std::wstring(wide));
    }
    static void RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW entry;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more;
             more = FindNextFileW(search, &entry)) {
            std::wstring name = entry.cFileName, path = folder + L"\\" + name;
            if (name == L"." || name == L"..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        RemoveDirectoryW(folder.c_str());
    }
    std::string Path;

private:
    char FPrevious[MAX_PATH];
};

inline void Press(TControl* button) { ClickWindowless(button); }

// The program's two windows, built in a scratch folder, with the stand-in archiver recording
// into that folder.
class MainWindow : public TProgramTest {
protected:
    void SetUp() override {
        TProgramTest::SetUp();
        SetEnvironmentVariableA("TOLVO_ACE_LOG", (Scratch.Path + "\\ace.log").c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableA("TOLVO_ACE_LOG", nullptr);
        UnpackCommand.clear();
        TApplicationTest::TearDown();
    }
    // Waits until the stand-in archiver has written its whole record.
    bool ArchiverRan() const {
        for (int i = 0; i < 500; i++, Sleep(20)) {
            std::string record = Scratch.Read("ace.log");
            if (record.size() >= 4 && record.compare(record.size() - 4, 4, "end\n") == 0)
                return true;
        }
        return false;
    }
    TScratchFolder Scratch;
};
