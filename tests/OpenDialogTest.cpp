#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "about/TForm3.h"
#include "main/OpenDialog.h"
#include "main/Program.h"
#include "main/TForm1.h"

#include <fstream>

// The file name field of the old-style dialog.
constexpr int FileNameField = 0x480;

TEST(OpenDialogRequest, FlagsForTheOptionsOnEveryPlatformVersion) {
    unsigned stored = OptionBit(ofNoLongNames) | OptionBit(ofOldStyleDialog);
    EXPECT_EQ(OpenDialogFlags(stored, 4), 0x00040020u) << "old style on a new platform";
    EXPECT_EQ(OpenDialogFlags(stored, 3), 0x00040020u);
    EXPECT_EQ(OpenDialogFlags(0, 4), 0x00080020u) << "explorer style where there is one";
    EXPECT_EQ(OpenDialogFlags(0, 3), 0x00000020u);
    EXPECT_EQ(OpenDialogFlags(OptionBit(ofReadOnly) | OptionBit(ofHideReadOnly), 3), 0x25u);
}

TEST(OpenDialogRequest, DefaultExtensionFromThePreviousFile) {
    EXPECT_EQ(DefaultExtension("", "C:\\ARCH\\TEST.ACE", false), "ACE");
    EXPECT_EQ(DefaultExtension("", "C:\\A.B\\FILE", false), "") << "a dot in a folder is none";
    EXPECT_EQ(DefaultExtension("", "", false), "");
    EXPECT_EQ(DefaultExtension("txt", "C:\\X.ACE", false), "txt");
    EXPECT_EQ(DefaultExtension("", "C:\\X.ACE", true), "") << "not for an explorer dialog";
}

TEST(OpenDialogRequest, PlacedAtAThirdOfTheFreeHeight) {
    POINT place = DialogPlace(400, 300, 1024, 768);
    EXPECT_EQ(place.x, 312);
    EXPECT_EQ(place.y, 156);
}

namespace {
class OpenDialog : public TProgramTest {
  protected:
    void SetUp() override {
        ShowMainWindow = false;
        TProgramTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        Folder = std::string(temp) + "ARCH" + std::to_string(GetTickCount() % 1000);
        CreateDirectoryA(Folder.c_str(), nullptr);
        std::ofstream(Folder + "\\TEST.ACE") << "x";
        GetCurrentDirectoryA(MAX_PATH, Previous);
    }
    void TearDown() override {
        TApplicationTest::TearDown();
        SetCurrentDirectoryA(Previous); // the dialog may have moved it to the archive's folder
        DeleteFileA((Folder + "\\TEST.ACE").c_str());
        RemoveDirectoryA(Folder.c_str());
    }
    std::string Folder;
    char Previous[MAX_PATH];
};
} // namespace

TEST_F(OpenDialog, OkTakesTheFileAndTheNextRunStartsFromIt) {
    Form1->Show();
    Form3->Show();
    SetActiveWindow(Form1->Handle());
    TOpenDialog* dialog = Form1->OpenDialog1;
    bool locked = false;
    std::string typed = Folder + "\\TEST.ACE";
    {
        TMessageBoxWatcher watcher(IDOK, [&](HWND box) {
            locked = !IsWindowEnabled(Form1->Handle()) && !IsWindowEnabled(Form3->Handle());
            SetDlgItemTextA(box, FileNameField, typed.c_str());
        });
        EXPECT_TRUE(dialog->RunDialog());
        auto boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        RECT bounds = boxes[0].Bounds;
        POINT place = DialogPlace(bounds.right - bounds.left, bounds.bottom - bounds.top,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(bounds.left, place.x);
        EXPECT_EQ(bounds.top, place.y);
    }
    EXPECT_TRUE(locked) << "the main and about windows take no input meanwhile";
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form3->Handle()));
    EXPECT_EQ(GetActiveWindow(), Form1->Handle());
    char shortPath[MAX_PATH];
    GetShortPathNameA(typed.c_str(), shortPath, MAX_PATH);
    EXPECT_TRUE(_stricmp(dialog->FileName.c_str(), shortPath) == 0 ||
                _stricmp(dialog->FileName.c_str(), typed.c_str()) == 0)
        << dialog->FileName;
    EXPECT_EQ(dialog->FilterIndex, 1);
    EXPECT_FALSE(dialog->Options & OptionBit(ofReadOnly));
    // The next run shows the chosen path in the name field; a cancel keeps it.
    std::string shown;
    {
        TMessageBoxWatcher watcher(IDCANCEL, [&](HWND box) {
            char text[MAX_PATH] = "";
            GetDlgItemTextA(box, FileNameField, text, MAX_PATH);
            shown = text;
        });
        std::string before = dialog->FileName;
        EXPECT_FALSE(dialog->RunDialog());
        EXPECT_EQ(dialog->FileName, before);
    }
    EXPECT_NE(shown.find("TEST.ACE"), std::string::npos) << shown;
    EXPECT_EQ(dialog->DialogWindow(), nullptr) << "no dialog window once it is closed";
}

namespace {
// Stands in for the platform's dialog: keeps a copy of what it was asked and answers as told.
struct TDialogDouble {
    OPENFILENAMEA Request{};
    std::string File, Filter, InitialDir, Title, DefaultExt;
    bool OwnerEnabled = true, HookInstalled = false;
    std::function<BOOL(OPENFILENAMEA&)> Answer;
};
TDialogDouble* GDouble = nullptr;

BOOL WINAPI DialogDouble(LPOPENFILENAMEA request) {
    TDialogDouble& d = *GDouble;
    d.Request = *request;
    d.File = request->lpstrFile;
    d.Filter.assign(request->lpstrFilter ? request->lpstrFilter : "", 51);
    d.InitialDir = request->lpstrInitialDir ? request->lpstrInitialDir : "(null)";
    d.Title = request->lpstrTitle ? request->lpstrTitle : "(null)";
    d.DefaultExt = request->lpstrDefExt ? request->lpstrDefExt : "(null)";
    d.OwnerEnabled = IsWindowEnabled(Form1->Handle());
    d.HookInstalled = Application->WindowHookCount() == 1;
    return d.Answer(*request);
}

class OpenDialogRun : public TApplicationTest {
  protected:
    void SetUp() override {
        TApplicationTest::SetUp();
        RegisterProgramClasses();
        App->AddForm(Form1);
        Form1->Show();
        Dialog = Form1->OpenDialog1;
        Dialog->OpenFunction = DialogDouble;
        GDouble = &Double;
    }
    void TearDown() override {
        GDouble = nullptr;
        TApplicationTest::TearDown();
    }
    TDialogDouble Double;
    TOpenDialog* Dialog = nullptr;
};

BOOL Choose(OPENFILENAMEA& request, const char* path, DWORD index, DWORD flags) {
    lstrcpyA(request.lpstrFile, path);
    request.nFilterIndex = index;
    request.Flags |= flags;
    return TRUE;
}
} // namespace

TEST_F(OpenDialogRun, TheFirstRequestAndTheOneAfterAChoice) {
    Double.Answer = [](OPENFILENAMEA& r) { return Choose(r, "C:\\ARCH\\TEST.ACE", 1, 0); };
    EXPECT_TRUE(Dialog->RunDialog());
    const OPENFILENAMEA& first = Double.Request;
    // The older versions' request: 76 bytes in the 32-bit program.
    EXPECT_EQ(first.lStructSize, sizeof(void*) == 4 ? 76u : UINT(OPENFILENAME_SIZE_VERSION_400A));
    EXPECT_EQ(first.hwndOwner, App->Handle()) << "the application window, not the main window";
    EXPECT_EQ(first.hInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(Double.Filter,
              std::string("Archiwa ACE (*ace)\0*.ace\0Wszystkie pliki (*.*)\0*.*\0", 51));
    EXPECT_EQ(first.lpstrCustomFilter, nullptr);
    EXPECT_EQ(first.nFilterIndex, 1u);
    EXPECT_EQ(Double.File, "") << "an empty name at first";
    EXPECT_EQ(first.nMaxFile, 260u);
    EXPECT_EQ(first.lpstrFileTitle, nullptr);
    EXPECT_EQ(Double.InitialDir, "") << "an empty text, not null";
    EXPECT_EQ(Double.Title, "");
    EXPECT_EQ(first.Flags & ~DWORD(OFN_READONLY), 0x00040020u);
    EXPECT_EQ(Double.DefaultExt, "(null)");
    EXPECT_NE(first.lpfnHook, nullptr);
    EXPECT_EQ(first.lpTemplateName, nullptr);
    EXPECT_FALSE(Double.OwnerEnabled) << "the windows are locked meanwhile";
    EXPECT_EQ(Dialog->FileName, "C:\\ARCH\\TEST.ACE");
    EXPECT_EQ(Dialog->Files, std::vector<std::string>{"C:\\ARCH\\TEST.ACE"});
    // The second file type and the read-only box are remembered for the next run.
    Double.Answer = [](OPENFILENAMEA& r) {
        return Choose(r, "C:\\ARCH\\TEST.ACE", 2, OFN_READONLY);
    };
    EXPECT_TRUE(Dialog->RunDialog());
    EXPECT_EQ(Double.File, "C:\\ARCH\\TEST.ACE");
    EXPECT_EQ(Double.DefaultExt, "ACE");
    EXPECT_EQ(Dialog->FilterIndex, 2);
    EXPECT_TRUE(Dialog->Options & OptionBit(ofReadOnly));
    Double.Answer = [](OPENFILENAMEA&) { return FALSE; };
    EXPECT_FALSE(Dialog->RunDialog());
    EXPECT_EQ(Double.Request.nFilterIndex, 2u);
    EXPECT_TRUE(Double.Request.Flags & OFN_READONLY);
    EXPECT_EQ(Dialog->FileName, "C:\\ARCH\\TEST.ACE") << "a cancel keeps the name";
    EXPECT_TRUE(Dialog->Files.empty()) << "but clears the chosen files";
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
}

TEST_F(OpenDialogRun, EverythingIsUndoneWhenTheCallRaises) {
    SetActiveWindow(Form1->Handle());
    Dialog->HelpContext = 7;
    Double.Answer = [](OPENFILENAMEA&) -> BOOL { throw EInvalidOperation("failed"); };
    EXPECT_THROW(Dialog->RunDialog(), EInvalidOperation);
    EXPECT_TRUE(Double.HookInstalled) << "the help hook is on the application window meanwhile";
    EXPECT_EQ(App->WindowHookCount(), 0u) << "and gone afterwards";
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    EXPECT_EQ(GetActiveWindow(), Form1->Handle());
    EXPECT_EQ(Dialog->FileName, "");
}

// The hook runs inside the platform's dialog code: what a handler raises there is reported by the
// error box, as from a window procedure, and the dialog goes on and closes as usual.
TEST_F(OpenDialog, AnErrorRaisedInTheHookIsReportedAndTheDialogStillCloses) {
    TOpenDialog* dialog = Form1->OpenDialog1;
    dialog->OnShow = [](TObject*) { throw EInvalidOperation("Raised while the dialog starts"); };
    TMessageBoxWatcher watcher(IDCANCEL);
    EXPECT_FALSE(dialog->RunDialog());
    auto boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 2u) << "the error box, then the dialog";
    EXPECT_EQ(boxes[0].Text, "Raised while the dialog starts.");
    EXPECT_EQ(boxes[0].Caption, "Tolvo");
    EXPECT_EQ(dialog->DialogWindow(), nullptr) << "closed";
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
}

TEST_F(OpenDialog, WithoutTheOldStyleTheExplorerDialogIsCentredWhenReady) {
    TOpenDialog dialog(nullptr);
    dialog.Filter = "Archiwa ACE (*ace)|*.ace";
    int shown = 0;
    dialog.OnShow = [&](TObject*) { shown++; };
    RECT frame{};
    std::string whileOpen;
    dialog.FileName = "C:\\STORED.ACE";
    TMessageBoxWatcher watcher(IDCANCEL, [&](HWND box) {
        Sleep(300); // the frame is centred once the dialog reports it is ready
        GetWindowRect(box, &frame);
        whileOpen = dialog.CurrentFileName();
    });
    EXPECT_FALSE(dialog.RunDialog());
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(shown, 1) << "shown once the explorer dialog is ready";
    POINT place = DialogPlace(frame.right - frame.left, frame.bottom - frame.top,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(frame.left, place.x);
    EXPECT_EQ(frame.top, place.y);
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    EXPECT_EQ(whileOpen.rfind(folder, 0), 0u) << "read from the open dialog: " << whileOpen;
    EXPECT_EQ(dialog.CurrentFileName(), "C:\\STORED.ACE") << "the stored name once it is closed";
    EXPECT_EQ(dialog.DialogWindow(), nullptr);
    EXPECT_EQ(dialog.StaticRect().right, 0) << "empty without a dialog";
}
