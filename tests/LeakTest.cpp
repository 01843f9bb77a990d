// Repeated use of the program's windows leaves no GDI or USER objects and no kernel handles
// behind: the list rebuilt, the readme loaded, the buttons repainted, the about window and the
// missing-destination warning opened and closed, each many times.
#include <gtest/gtest.h>

#include "ProcessResources.h"
#include "ProgramFixture.h"
#include "framework/Machine.h"

#include <cstdio>

namespace {

// The Win32 machine, except that a started program is only counted: a hundred archiver
// processes would cost more than everything else here.
class TCountedStarts : public TMachine {
  public:
    explicit TCountedStarts(TMachine& real) : Real(real) {}
    UINT CodePage() override { return Real.CodePage(); }
    std::string CurrentDirectory() override { return Real.CurrentDirectory(); }
    DWORD ChangeDirectory(const std::string& path) override { return Real.ChangeDirectory(path); }
    bool Enumerate(const std::string& pattern,
                   const std::function<void(DWORD, const char*, bool)>& visit) override {
        return Real.Enumerate(pattern, visit);
    }
    std::wstring ShortPath(const std::wstring& path) override { return Real.ShortPath(path); }
    std::wstring FullPath(const std::wstring& path) override { return Real.FullPath(path); }
    bool VolumeFlags(const std::string& root, DWORD& flags) override {
        return Real.VolumeFlags(root, flags);
    }
    bool VolumeLabel(const std::string& root, std::string& label) override {
        return Real.VolumeLabel(root, label);
    }
    DWORD LogicalDrives() override { return Real.LogicalDrives(); }
    UINT DriveType(const std::string& root) override { return Real.DriveType(root); }
    bool RemoteName(const std::string& drive, std::string& name) override {
        return Real.RemoteName(drive, name);
    }
    DWORD FileAttributes(const std::string& path) override { return Real.FileAttributes(path); }
    TFileRead ReadWholeFile(const std::string& path, LONGLONG limit, std::string& bytes) override {
        return Real.ReadWholeFile(path, limit, bytes);
    }
    UINT SetErrorMode(UINT mode) override { return Real.SetErrorMode(mode); }
    DWORD StartProgram(const std::string&, const std::string&) override { return ++Starts, 0; }
    void OpenUrl(HWND owner, const std::string& url) override { Real.OpenUrl(owner, url); }

    TMachine& Real;
    int Starts = 0;
};

HWND NewWindow() {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                           nullptr);
}

// Wine keeps the device contexts that windows asked for, for reuse, and makes new ones until
// it keeps 64 (a context, its clipping region and its bitmap each): that growth would look like
// a leak, so the cache is filled before counting. The platform's own cache is not counted.
void FillDeviceContextCache() {
    constexpr int CacheSize = 64;
    HWND windows[CacheSize];
    HDC contexts[CacheSize];
    for (int i = 0; i < CacheSize; i++) {
        windows[i] = NewWindow();
        contexts[i] = GetDC(windows[i]);
    }
    for (int i = 0; i < CacheSize; i++) {
        ReleaseDC(windows[i], contexts[i]);
        DestroyWindow(windows[i]);
    }
}

class Leaks : public TProgramTest {
  protected:
    void SetUp() override {
        TProgramTest::SetUp();
        Scratch.Write("readme.txt", "Tolvo\nwersja 1.0\n");
        Scratch.Write("Alpha\\readme.txt", "Alpha\r\n");
    }

    // What is made once and kept (fonts, measured captions, the dialog's pictures) is made in
    // a few rounds first; then the counts after the rounds must be those before, within a
    // small bound.
    void ExpectNoLeak(const char* what, int rounds, const std::function<void(int)>& round) {
        for (int i = 0; i < 3; i++)
            round(i);
        FillDeviceContextCache();
        PumpMessages();
        TProcessResources before = CountProcessResources(GetCurrentProcessId());
        for (int i = 0; i < rounds; i++)
            round(i);
        PumpMessages();
        TProcessResources after = CountProcessResources(GetCurrentProcessId());
        std::printf("%-34s GDI %ld -> %ld, USER %ld -> %ld, handles %ld -> %ld\n", what, before.Gdi,
                    after.Gdi, before.User, after.User, before.Handles, after.Handles);
        ASSERT_GT(before.Gdi, 0);
        ASSERT_GT(before.User, 0);
        ASSERT_GT(before.Handles, 0);
        EXPECT_LE(after.Gdi, before.Gdi + Bound) << what;
        EXPECT_LE(after.User, before.User + Bound) << what;
        EXPECT_LE(after.Handles, before.Handles + Bound) << what;
    }

    static constexpr long Bound = 2;
    TScratchFolder Scratch{"leaks"};
};

std::vector<TControl*> SpeedButtons() {
    std::vector<TControl*> buttons;
    for (TForm* form : {static_cast<TForm*>(Form1), static_cast<TForm*>(Form3)})
        for (TComponent* component : form->Components())
            if (auto* button = dynamic_cast<TRxSpeedButton*>(component))
                buttons.push_back(button);
    return buttons;
}

} // namespace

// The counts the checks rely on see what the process makes and frees. A window lives throughout,
// as the thread's first window brings the input method's window along.
TEST(ProcessResources, CountWhatTheProcessMakesAndFrees) {
    HWND first = NewWindow();
    TProcessResources before = CountProcessResources(GetCurrentProcessId());
    HBRUSH brushes[3] = {CreateSolidBrush(1), CreateSolidBrush(2), CreateSolidBrush(3)};
    HWND window = NewWindow();
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    TProcessResources during = CountProcessResources(GetCurrentProcessId());
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    DestroyWindow(window);
    CloseHandle(event);
    TProcessResources after = CountProcessResources(GetCurrentProcessId());
    EXPECT_EQ(during.Gdi, before.Gdi + 3);
    EXPECT_EQ(during.User, before.User + 1);
    EXPECT_EQ(during.Handles, before.Handles + 1);
    EXPECT_EQ(after.Gdi, before.Gdi);
    EXPECT_EQ(after.User, before.User);
    EXPECT_EQ(after.Handles, before.Handles);
    DestroyWindow(first);
}

TEST_F(Leaks, RebuildingTheDirectoryList) {
    const std::string folders[] = {Scratch.Path + "\\Alpha", Scratch.Path};
    ExpectNoLeak("1000 rebuilds of the directory list", 1000, [&](int i) {
        Form1->DirectoryListBox1->ChangeDirectory(folders[i % 2]);
        Form1->DirectoryListBox1->Repaint();
    });
    EXPECT_EQ(Form1->Edit1->Text(), Scratch.Path) << "the list moved with every rebuild";
}

TEST_F(Leaks, LoadingTheReadme) {
    const std::string files[] = {Scratch.Path + "\\readme.txt",
                                 Scratch.Path + "\\Alpha\\readme.txt"};
    ExpectNoLeak("1000 loads of the readme", 1000,
                 [&](int i) { Form3->Memo1->Lines().LoadTextFile(files[i % 2]); });
    EXPECT_EQ(Form3->Memo1->Caption(), "Alpha\r\n");
}

TEST_F(Leaks, RepaintingEveryButton) {
    Form3->Show();
    std::vector<TControl*> buttons = SpeedButtons();
    ASSERT_GE(buttons.size(), 4u);
    ExpectNoLeak("1000 repaints of every button", 1000, [&](int) {
        for (TControl* button : buttons)
            button->Repaint();
    });
}

TEST_F(Leaks, OpeningAndClosingTheAboutWindow) {
    ExpectNoLeak("100 openings of the about window", 100, [&](int) {
        ClickWindowless(Form1->RxSpeedButton4);
        ASSERT_TRUE(IsWindowVisible(Form3->Handle()));
        SendMessageA(Form3->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_FALSE(IsWindowVisible(Form3->Handle()));
    });
}

TEST_F(Leaks, OpeningAndClosingTheMissingDestinationWarning) {
    TCountedStarts machine(*SetMachine(nullptr));
    SetMachine(&machine);
    Form1->Edit1->SetText(Scratch.Path + "\\missing");
    TMessageBoxWatcher watcher;
    ExpectNoLeak("100 missing-destination warnings", 100,
                 [&](int) { ClickWindowless(Form1->RxSpeedButton2); });
    SetMachine(nullptr);
    std::vector<TMessageBoxWatcher::TBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 103u);
    EXPECT_EQ(boxes.back().Text, "Wskazany katalog docelowy nie istnieje!");
    EXPECT_EQ(machine.Starts, 103);
}

// The dialog's own window procedure must see the window's last message, which frees the font
// the dialog was made with: a font a dialog was lost once.
TEST_F(Leaks, OpeningAndCancellingTheOpenDialog) {
    TMessageBoxWatcher watcher(IDCANCEL);
    ExpectNoLeak("30 cancelled open dialogs", 30,
                 [&](int) { ClickWindowless(Form1->RxSpeedButton1); });
    EXPECT_EQ(watcher.Boxes().size(), 33u);
}
