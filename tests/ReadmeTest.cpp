#include <gtest/gtest.h>

#include "TestSupport.h"
#include "about/Readme.h"
#include "about/TForm3.h"
#include "framework/Exceptions.h"
#include "main/Program.h"
#include "main/TForm1.h"

#include <fstream>

namespace {

// A folder of its own, made the current directory while the test runs; the files written into
// it are removed afterwards.
class TScratch {
  public:
    TScratch() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        Path = std::string(temp) + "tolvo-readme-" + std::to_string(GetTickCount());
        CreateDirectoryA(Path.c_str(), nullptr);
        CreateDirectoryA(Folder("prog").c_str(), nullptr);
        GetCurrentDirectoryA(MAX_PATH, FPrevious);
        SetCurrentDirectoryA(Path.c_str());
    }
    ~TScratch() {
        SetCurrentDirectoryA(FPrevious);
        for (const std::string& name : FWritten)
            DeleteFileA(Folder(name).c_str());
        RemoveDirectoryA(Folder("prog").c_str());
        RemoveDirectoryA(Path.c_str());
    }
    std::string Folder(const std::string& name) const { return Path + "\\" + name; }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(Folder(name), std::ios::binary) << bytes;
        FWritten.push_back(name);
    }
    // True when nobody holds the file open: it can be opened without sharing.
    bool Closed(const std::string& name) const {
        HANDLE file =
            CreateFileA(Folder(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(file);
        return true;
    }
    std::string Path;

  private:
    char FPrevious[MAX_PATH];
    std::vector<std::string> FWritten;
};

// A memo that counts its set-text requests and change notifications, notes whether its
// redrawing was suspended while its text was set, and can refuse a text as a full control does.
class TRecordingMemo : public TMemo {
  public:
    explicit TRecordingMemo(TWinControl* parent) : TMemo(parent) { SetParent(parent); }
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_SETREDRAW) {
            RedrawOn = message.WParam != 0;
            RedrawSwitches++;
        }
        if (message.Msg == CM_TEXTCHANGED)
            Changes++;
        if (message.Msg == WM_SETTEXT) {
            SetTexts++;
            SetWhileRedrawOn = SetWhileRedrawOn || RedrawOn;
            if (Refuse) {
                message.Result = FALSE;
                return;
            }
        }
        TMemo::WndProc(message);
    }
    bool Refuse = false, RedrawOn = true, SetWhileRedrawOn = false;
    int SetTexts = 0, Changes = 0, RedrawSwitches = 0;
};

class MemoLoading : public TApplicationTest {
  protected:
    void SetUp() override {
        TApplicationTest::SetUp();
        RegisterProgramClasses();
        App->AddForm(Form3);
        Memo = new TRecordingMemo(Form3);
        Memo->SetBounds(0, 64, 369, 233);
        Memo->Handle();
        Memo->SetTexts = 0;
    }
    // Writes the bytes to readme.txt and loads it.
    void Load(const std::string& bytes) {
        Scratch.Write("readme.txt", bytes);
        Memo->Lines().LoadTextFile("readme.txt");
    }
    std::string LoadError(const std::string& fileName) {
        try {
            Memo->Lines().LoadTextFile(fileName);
        } catch (const Exception& error) {
            return std::string(error.ClassName()) + ": " + error.Message;
        }
        return "no error";
    }
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(Memo->Handle(), msg, wParam, lParam);
    }
    TScratch Scratch;
    TRecordingMemo* Memo = nullptr;
};

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; i++)
        text += "line " + std::to_string(i) + "\n";
    return text;
}

} // namespace

TEST_F(MemoLoading, LineBreaksBecomePairsAndTheTextEndsAtAZeroByte) {
    Load("a\nb\rc\r\nd\n\re");
    EXPECT_EQ(Memo->Lines().Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(Send(EM_GETLINECOUNT), 6);
    Load(std::string("before\0after", 12));
    EXPECT_EQ(Memo->Lines().Text(), "before");
    Load("");
    EXPECT_EQ(Memo->Lines().Text(), "");
}

TEST_F(MemoLoading, ANewTextIsSetOnceWithRedrawSuspendedAndAnnounced) {
    Load("first");
    EXPECT_EQ(Memo->SetTexts, 1);
    EXPECT_EQ(Memo->Changes, 1);
    EXPECT_FALSE(Memo->SetWhileRedrawOn);
    EXPECT_EQ(Memo->RedrawSwitches, 2);
    EXPECT_TRUE(Memo->RedrawOn) << "drawing again afterwards";
    EXPECT_TRUE(GetWindowLongA(Memo->Handle(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(Scratch.Closed("readme.txt"));
}

TEST_F(MemoLoading, AnUnchangedFileKeepsScrollPositionAndSelection) {
    Load(Lines(200));
    Send(EM_LINESCROLL, 0, 50);
    Send(EM_SETSEL, 30, 42);
    int top = int(Send(EM_GETFIRSTVISIBLELINE));
    ASSERT_GT(top, 0);
    Load(Lines(200));
    EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), top);
    DWORD start = 0, end = 0;
    Send(EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 30u);
    EXPECT_EQ(end, 42u);
    EXPECT_EQ(Memo->SetTexts, 1) << "the same text is not set again";
    EXPECT_EQ(Memo->Changes, 1);
    // A zero byte does not make the same file look changed.
    Load(Lines(200) + std::string("\0tail", 5));
    EXPECT_EQ(Memo->SetTexts, 1);
    // A changed file shows its text from the top.
    Load(Lines(201));
    EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), 0);
    EXPECT_EQ(Memo->SetTexts, 2);
}

TEST_F(MemoLoading, AFileThatCannotBeOpenedLeavesTheMemoUntouched) {
    Load("kept");
    int switches = Memo->RedrawSwitches;
    EXPECT_EQ(LoadError("missing.txt"), "EFOpenError: Cannot open file missing.txt");
    EXPECT_EQ(LoadError(Scratch.Path), "EFOpenError: Cannot open file " + Scratch.Path)
        << "a folder is no file";
    // Held open by someone else, even one who shares it for reading: the load wants it alone.
    HANDLE holder =
        CreateFileA(Scratch.Folder("readme.txt").c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(LoadError("readme.txt"), "EFOpenError: Cannot open file readme.txt");
    CloseHandle(holder);
    EXPECT_EQ(Memo->Lines().Text(), "kept");
    EXPECT_EQ(Memo->RedrawSwitches, switches) << "nothing else happened";
}

TEST_F(MemoLoading, ATextTheControlRefusesIsTheCapacityErrorAndTheOldTextStays) {
    Load("kept");
    Memo->Refuse = true;
    Scratch.Write("readme.txt", "refused");
    EXPECT_EQ(LoadError("readme.txt"), "EInvalidOperation: Text exceeds memo capacity");
    EXPECT_EQ(Memo->Lines().Text(), "kept");
    EXPECT_EQ(Memo->Changes, 1) << "no change announced";
    EXPECT_TRUE(Memo->RedrawOn);
    EXPECT_TRUE(GetWindowLongA(Memo->Handle(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(Scratch.Closed("readme.txt"));
}

TEST_F(MemoLoading, AFileBeyondThisProcesssMemoryIsTheCapacityError) {
    // 5 GB, stored sparse: its size alone does not fit the 32 bits of a plain size request.
    Scratch.Write("huge.txt", "");
    HANDLE file = CreateFileA(Scratch.Folder("huge.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 5LL << 30;
    ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
    Load("kept");
    EXPECT_EQ(LoadError("huge.txt"), "EInvalidOperation: Text exceeds memo capacity");
    EXPECT_EQ(Memo->Lines().Text(), "kept");
    EXPECT_TRUE(Scratch.Closed("huge.txt"));
}

TEST_F(MemoLoading, ShortReadShowsTheBytesActuallyRead) {
    // The kernel reports a size of a whole page for this file but has only a few bytes in it.
    const char* path = "Z:\\sys\\devices\\system\\cpu\\online";
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD size = GetFileSize(file, nullptr);
    CloseHandle(file);
    Memo->Lines().LoadTextFile(path);
    std::string text = Memo->Lines().Text();
    EXPECT_LT(text.size(), size);
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << "the line read, its break adjusted";
}

TEST_F(MemoLoading, AFileUpToTheCapacityIsShownWholeALargerOneIsRefusedUnread) {
    // The slowest texts for the control: the most lines, and one line wrapped all the way.
    const size_t capacity = size_t(MemoFileCapacity);
    std::string shortLines, oneLine;
    for (size_t i = 0; i < capacity / 2; i++)
        shortLines += "x\n";
    for (size_t i = 0; i < capacity; i++)
        oneLine += i % 6 == 5 ? ' ' : 'w';
    Load(shortLines);
    EXPECT_EQ(GetWindowTextLengthA(Memo->Handle()), int(capacity / 2 * 3));
    EXPECT_EQ(Send(EM_GETLINECOUNT), int(capacity / 2 + 1));
    Load(oneLine);
    EXPECT_EQ(Memo->Lines().Text(), oneLine);
    int switches = Memo->RedrawSwitches;
    for (const std::string& text : {shortLines + "x", oneLine + "w"}) {
        Scratch.Write("readme.txt", text);
        EXPECT_EQ(LoadError("readme.txt"), "EInvalidOperation: Text exceeds memo capacity");
        EXPECT_EQ(Memo->Lines().Text(), oneLine);
        EXPECT_TRUE(Scratch.Closed("readme.txt"));
    }
    EXPECT_EQ(Memo->RedrawSwitches, switches) << "refused before the memo was touched";
}

TEST_F(MemoLoading, TheReadmeOfTheCurrentDirectoryComesBeforeTheProgramsOwn) {
    std::string program = Scratch.Folder("prog") + "\\";
    Scratch.Write("prog\\readme.txt", "beside the program");
    LoadReadme(Memo->Lines(), program);
    EXPECT_EQ(Memo->Lines().Text(), "beside the program");
    Scratch.Write("readme.txt", "in the current directory");
    LoadReadme(Memo->Lines(), program);
    EXPECT_EQ(Memo->Lines().Text(), "in the current directory");
    // Here but held open by another program: its error, not the program's own readme.
    Scratch.Write("readme.txt", "changed");
    HANDLE holder = CreateFileA(Scratch.Folder("readme.txt").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    try {
        LoadReadme(Memo->Lines(), program);
        ADD_FAILURE() << "no error";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.Message, "Cannot open file readme.txt");
    }
    CloseHandle(holder);
    EXPECT_EQ(Memo->Lines().Text(), "in the current directory");
}

TEST_F(MemoLoading, WithoutAReadmeInEitherPlaceTheErrorNamesTheFirst) {
    Load("kept");
    DeleteFileA(Scratch.Folder("readme.txt").c_str());
    try {
        LoadReadme(Memo->Lines(), Scratch.Folder("prog") + "\\");
        FAIL() << "no error";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.Message, "Cannot open file readme.txt");
    }
    EXPECT_EQ(Memo->Lines().Text(), "kept");
}

TEST_F(MemoLoading, AFolderNamedReadmeIsNoReadme) {
    ASSERT_TRUE(CreateDirectoryA(Scratch.Folder("readme.txt").c_str(), nullptr));
    EXPECT_EQ(LoadError("readme.txt"), "EFOpenError: Cannot open file readme.txt");
    Scratch.Write("prog\\readme.txt", "beside the program");
    LoadReadme(Memo->Lines(), Scratch.Folder("prog") + "\\");
    EXPECT_EQ(Memo->Lines().Text(), "beside the program") << "the program's own is shown instead";
    RemoveDirectoryA(Scratch.Folder("readme.txt").c_str());
}

TEST_F(MemoLoading, AReadmeTooBigForTheMemoIsNotReplacedByTheProgramsOwn) {
    Scratch.Write("readme.txt", "refused");
    Scratch.Write("prog\\readme.txt", "beside the program");
    Memo->Refuse = true;
    EXPECT_THROW(LoadReadme(Memo->Lines(), Scratch.Folder("prog") + "\\"), EInvalidOperation);
    EXPECT_EQ(Memo->SetTexts, 1);
}

namespace {
class AboutCommand : public TApplicationTest {
  protected:
    void SetUp() override {
        TApplicationTest::SetUp();
        CreateProgramWindows(*App);
        Form1->Show();
    }
    TScratch Scratch;
};
} // namespace

TEST_F(AboutCommand, AnEmptyReadmeShowsTheWindowWithAnEmptyMemo) {
    Scratch.Write("readme.txt", "");
    Form1->RxSpeedButton4->Click();
    EXPECT_TRUE(IsWindowVisible(Form3->Handle()));
    EXPECT_EQ(Form3->Memo1->Lines().Text(), "");
}

TEST_F(AboutCommand, AWindowAlreadyShownIsOnlyReloadedNeitherActivatedNorMoved) {
    Scratch.Write("readme.txt", "first");
    Form1->RxSpeedButton4->Click();
    ASSERT_EQ(GetActiveWindow(), Form3->Handle());
    SetWindowPos(Form3->Handle(), nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetActiveWindow(Form1->Handle());
    Scratch.Write("readme.txt", "second");
    Form1->RxSpeedButton4->Click();
    EXPECT_EQ(Form3->Memo1->Lines().Text(), "second");
    EXPECT_EQ(GetActiveWindow(), Form1->Handle());
    RECT bounds;
    GetWindowRect(Form3->Handle(), &bounds);
    EXPECT_EQ(bounds.left, 50);
    EXPECT_EQ(bounds.top, 60);
}
