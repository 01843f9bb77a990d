#pragma once
#include <gtest/gtest.h>

#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "shell/Application.h"

#include <atomic>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Dispatches whatever is queued for this thread, without waiting.
void PumpMessages();

// Runs exactly one idle step of the application's loop: the queue is emptied first, and a
// timer wakes the step's wait afterwards.
void RunIdleStep(TApplication& application);

// A user's click on a windowless control: the idle step reports the pointer over it, then a
// left press and release in its middle reach its window.
void ClickWindowless(TControl* control);

// Watches this thread for message boxes and closes each one with its default button, keeping
// the caption and text it showed. A message box runs a modal loop of its own, so a test that
// triggers one needs somebody else to answer it.
class TMessageBoxWatcher {
  public:
    // answer: the button each box is closed with (IDCLOSE: its close box); onBox runs on the
    // watcher's thread while the box is up, before it is answered.
    explicit TMessageBoxWatcher(int answer = IDOK, std::function<void(HWND box)> onBox = nullptr);
    ~TMessageBoxWatcher();
    struct TBox {
        std::string Caption, Text;
        bool OwnerDisabled;
        RECT Bounds;
    };
    std::vector<TBox> Boxes() const;

  private:
    void Watch(DWORD thread);
    std::string TextOnTestThread(HWND box);
    int FAnswer;
    std::function<void(HWND)> FOnBox;
    // The program's objects belong to the test's thread: a box's text is read there, through
    // a message to this window, which the box's modal loop dispatches.
    HWND FRelay;
    std::atomic<bool> FStop{false}, FDone{false};
    mutable std::atomic_flag FLock = ATOMIC_FLAG_INIT;
    std::vector<TBox> FBoxes;
    std::thread FThread;
};

// The texts of the message boxes shown while the action runs, each closed with its default button.
std::vector<std::string> BoxTexts(const std::function<void()>& action);

// A window's client area as it paints it (background, then its own painting), in a memory
// bitmap of the given size.
class TPainted {
  public:
    TPainted(TWinControl& window, int width, int height);
    ~TPainted();
    COLORREF At(int x, int y) const { return GetPixel(FDC, x, y); }
    int Count(RECT area, COLORREF color) const;

  private:
    HDC FDC;
    HBITMAP FBitmap;
    HGDIOBJ FOld;
};

// A glyph strip: one cell per colour, each with a bottom row of the key colour (fuchsia).
std::unique_ptr<TBitmap> Strip(const std::vector<TColor>& colors, int cellWidth = 16,
                               int height = 16);

// A windowless control that records the notifications it receives and paints itself in one
// colour, so tests can see what reached it.
class TProbeControl : public TGraphicControl {
  public:
    explicit TProbeControl(TComponent* owner);
    const char* ClassName() const override { return "TProbeControl"; }
    void WndProc(TMessage& message) override;
    int Count(UINT msg) const;
    std::vector<UINT> Received;
    TColor PaintColor = clNavy;

  protected:
    void Paint() override;
};

// A windowed container for probes.
class TProbePanel : public TWinControl {
  public:
    explicit TProbePanel(TComponent* owner);
    const char* ClassName() const override { return "TProbePanel"; }
};

// A form built from one of the test descriptions; which one is chosen before it is made.
class TTestForm : public TForm {
  public:
    explicit TTestForm(TComponent* owner);
    ~TTestForm() override;
    const char* ClassName() const override { return "TTestForm"; }

    static inline std::string NextDescription = "TESTFORM";
    // Called at the start of each test form's destruction.
    static inline std::function<void(TTestForm*)> OnDestroy;

    int Clicks = 0;
    int ListChanges = 0;
    bool ThrowOnClick = false;
    TProbeControl* Probe(const std::string& name) const;
};

// A folder of its own for each test, with the subfolders beta and Alpha, made the current
// directory while the test runs, and removed with everything in it afterwards.
class TScratchFolder {
  public:
    explicit TScratchFolder(const std::string& name = "main") {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        Path = std::string(temp) + "tolvo-" + name + "-" + std::to_string(GetTickCount());
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

// Registers the test classes with the description reader (once).
void RegisterTestClasses();

// A live application object for one test, torn down afterwards.
class TApplicationTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    template <class F> F* Add(const std::string& description = "TESTFORM") {
        TTestForm::NextDescription = description;
        F* form = nullptr;
        App->AddForm(form);
        return form;
    }
    TApplication* App = nullptr;
    int LiveBefore = 0;
};
