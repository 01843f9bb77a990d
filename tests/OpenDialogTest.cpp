#include <gtest/gtest.h>

#include "TestSupport.h"
#include "about/TForm3.h"
#include "main/OpenDialog.h"
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
class OpenDialog : public TApplicationTest {
protected:
    void SetUp() override {
        TApplicationTest::SetUp();
        App->SetTitle("Tolvo");
        App->AddForm(Form1);
        App->AddForm(Form3);
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
