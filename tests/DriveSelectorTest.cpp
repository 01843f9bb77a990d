#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "SimulatedMachine.h"
#include "about/TForm3.h"
#include "main/Program.h"
#include "main/TForm1.h"
#include "main/UnpackCommand.h"

namespace {

// The main window on a machine with a floppy drive A, a fixed drive C labelled WIN98, a CD-ROM
// drive D holding a disc labelled CDROM1 and a network drive E connected to \\SERVER\DATA.
class DriveSelector : public TApplicationTest {
  protected:
    DriveSelector() {
        Machine.AddDrive('A',
                         {DRIVE_REMOVABLE, "", FS_CASE_IS_PRESERVED, true, ERROR_NOT_READY, ""});
        Machine.AddDrive('C', {DRIVE_FIXED, "WIN98", FS_CASE_IS_PRESERVED, true, 0, ""});
        Machine.AddDrive('D', {DRIVE_CDROM, "CDROM1", FS_CASE_IS_PRESERVED, true, 0, ""});
        Machine.AddDrive('E',
                         {DRIVE_REMOTE, "", FS_CASE_IS_PRESERVED, true, 0, "\\\\SERVER\\DATA"});
        Machine.AddDirectory("C:\\WINDOWS\\SYSTEM");
        Machine.AddDirectory("D:\\SETUP");
        Machine.AddDirectory("E:\\DOCS");
        Machine.AddDirectory("\\\\SERVER\\DATA\\DOCS");
    }
    void Start(const std::string& directory) {
        Machine.StartIn(directory);
        CreateProgramWindows(*App);
        Drives = Form1->DriveComboBox1;
        List = Form1->DirectoryListBox1;
    }
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (int i = 0; i < Drives->Count(); i++)
            items.push_back(Drives->ItemText(i));
        return items;
    }
    const TBitmap* Picture(int index) const {
        return reinterpret_cast<const TBitmap*>(Drives->ItemData(index));
    }
    // The user's choice of an item, as the combo box reports it to its parent.
    void Choose(int index) {
        Drives->SetItemIndex(index);
        SendMessageA(GetParent(Drives->Handle()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     LPARAM(Drives->Handle()));
    }
    using Strings = std::vector<std::string>;
    TSimulatedMachine Machine;
    TDriveComboBox* Drives = nullptr;
    TDirectoryListBox* List = nullptr;
    const std::string Placeholder = "docelowy folder (format DOS - bez znak\xF3w spec.)";
};

} // namespace

TEST_F(DriveSelector, ListsEveryDriveWithItsKindAndName) {
    Start("C:\\WINDOWS");
    EXPECT_EQ(Items(), (Strings{"a:", "c: [win98]", "d: [cdrom1]", "e: \\\\server\\data"}));
    EXPECT_EQ(Picture(0), &Drives->Floppy);
    EXPECT_EQ(Picture(1), &Drives->Hard);
    EXPECT_EQ(Picture(2), &Drives->CDROM);
    EXPECT_EQ(Picture(3), &Drives->Network);
    EXPECT_EQ(std::count(Machine.LabelQueries.begin(), Machine.LabelQueries.end(), "a:\\"), 0)
        << "a removable drive is never asked for its label";
    ASSERT_GE(Machine.ErrorModes.size(), 2u);
    EXPECT_EQ(Machine.ErrorModes[0], UINT(SEM_FAILCRITICALERRORS));
    EXPECT_EQ(Machine.ErrorModes[1], 0u) << "the previous error mode comes back";
    Drives->SetTextCase(tcUpperCase);
    EXPECT_EQ(Items(), (Strings{"A:", "C: [WIN98]", "D: [CDROM1]", "E: \\\\SERVER\\DATA"}));
    EXPECT_EQ(Drives->DriveLetter, 'C');
    EXPECT_EQ(Drives->ItemIndex(), 1);
}

TEST_F(DriveSelector, UnlabelledUnreadableUnknownAndRootlessDrives) {
    Machine.AddDrive('F', {DRIVE_FIXED, "", FS_CASE_IS_PRESERVED, true, 0, ""});
    Machine.AddDrive('G', {DRIVE_CDROM, "X", FS_CASE_IS_PRESERVED, false, 0, ""});
    Machine.AddDrive('H', {DRIVE_UNKNOWN, "", FS_CASE_IS_PRESERVED, true, 0, ""});
    Machine.AddDrive('I', {DRIVE_NO_ROOT_DIR, "", FS_CASE_IS_PRESERVED, true, 0, ""});
    Machine.AddDrive('J', {DRIVE_RAMDISK, "TEMP", FS_CASE_IS_PRESERVED, true, 0, ""});
    Machine.AddDrive('K', {DRIVE_REMOTE, "OFFLINE", FS_CASE_IS_PRESERVED, true, 0, ""});
    Start("C:\\WINDOWS");
    EXPECT_EQ(Items(), (Strings{"a:", "c: [win98]", "d: [cdrom1]", "e: \\\\server\\data", "f: []",
                                "g: []", "j: [temp]", "k: [offline]"}));
    EXPECT_EQ(Picture(6), &Drives->Ram);
}

TEST_F(DriveSelector, MoreThanEightDrivesScrollTheDroppedList) {
    for (char letter = 'F'; letter <= 'L'; letter++)
        Machine.AddDrive(letter, {DRIVE_FIXED, "", FS_CASE_IS_PRESERVED, true, 0, ""});
    Start("C:\\WINDOWS");
    ASSERT_EQ(Drives->Count(), 11);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(Drives->Handle(), &info));
    SendMessageA(Drives->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    RECT list;
    GetClientRect(info.hwndList, &list);
    EXPECT_EQ(list.bottom / Drives->ItemHeight(), 8)
        << "eight items show: " << list.bottom << " / " << Drives->ItemHeight();
    EXPECT_TRUE(GetWindowLongA(info.hwndList, GWL_STYLE) & WS_VSCROLL);
    SendMessageA(Drives->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(DriveSelector, StartedOnAFixedDriveItIsSelectedAndNothingMoves) {
    Start("C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(Drives->ItemIndex(), 1);
    EXPECT_EQ(Drives->DriveLetter, 'c');
    EXPECT_EQ(List->ActivePath, "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(Form1->Edit1->Text(), Placeholder);
}

TEST_F(DriveSelector, StartedOnAShareNothingIsSelectedAndTheDestinationShowsTheShare) {
    Start("\\\\SERVER\\DATA\\DOCS");
    EXPECT_EQ(Drives->ItemIndex(), -1);
    EXPECT_EQ(Drives->DriveLetter, '\0');
    EXPECT_EQ(Form1->Edit1->Text(), "\\\\SERVER\\DATA\\DOCS") << "the list moved once";
}

TEST_F(DriveSelector, ChoosingADriveMovesTheTreeToItsCurrentDirectory) {
    Start("C:\\WINDOWS\\SYSTEM");
    Choose(1);
    EXPECT_EQ(Form1->Edit1->Text(), Placeholder) << "the shown drive: nothing happens";
    Machine.ChangeDirectory("D:\\SETUP"); // the directory the platform keeps for drive D
    Machine.ChangeDirectory("C:\\WINDOWS\\SYSTEM");
    Choose(2);
    EXPECT_EQ(List->ActivePath, "D:\\SETUP");
    EXPECT_EQ(Form1->Edit1->Text(), "D:\\SETUP");
    EXPECT_EQ(Machine.CurrentDirectory(), "D:\\SETUP");
    Choose(3);
    EXPECT_EQ(Form1->Edit1->Text(), "E:\\") << "the root on a first visit";
}

TEST_F(DriveSelector, AFloppyWithoutADiskReportsTheErrorAndTheShownDriveBringsThemBack) {
    Start("C:\\WINDOWS\\SYSTEM");
    std::vector<TMessageBoxWatcher::TBox> boxes;
    {
        TMessageBoxWatcher watcher;
        Choose(0);
        boxes = watcher.Boxes();
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "I/O error 21.");
    EXPECT_EQ(Drives->ItemIndex(), 0) << "the selector keeps showing a:";
    EXPECT_EQ(Drives->DriveLetter, 'a');
    EXPECT_EQ(List->ActivePath, "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(Form1->Edit1->Text(), Placeholder);
    Choose(1);
    EXPECT_EQ(Drives->DriveLetter, 'c');
    EXPECT_EQ(List->ActivePath, "C:\\WINDOWS\\SYSTEM") << "back in step without a move";
    EXPECT_EQ(Form1->Edit1->Text(), Placeholder);
}

TEST_F(DriveSelector, ArrowKeysOnTheClosedSelectorStepThroughTheDrives) {
    Start("C:\\WINDOWS\\SYSTEM");
    Drives->SetFocus();
    SendMessageA(Drives->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Drives->ItemIndex(), 2);
    EXPECT_EQ(Form1->Edit1->Text(), "D:\\");
    SendMessageA(Drives->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Form1->Edit1->Text(), "E:\\");
}

TEST_F(DriveSelector, TheTreeMovingToAnotherDriveSelectsItHere) {
    Start("C:\\WINDOWS\\SYSTEM");
    List->ChangeDirectory("E:\\DOCS");
    EXPECT_EQ(Drives->ItemIndex(), 3);
    EXPECT_EQ(Drives->DriveLetter, 'e');
    EXPECT_EQ(Form1->Edit1->Text(), "E:\\DOCS");
}

TEST_F(DriveSelector, AnItemIsDrawnWithItsPictureAndText) {
    Start("C:\\WINDOWS");
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 233, 13);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto draw = [&](int index, UINT state) {
        DRAWITEMSTRUCT request{ODT_COMBOBOX,
                               0,
                               UINT(index),
                               ODA_DRAWENTIRE,
                               state,
                               Drives->Handle(),
                               dc,
                               {0, 0, 233, 13},
                               ULONG_PTR(Drives->ItemData(index))};
        SendMessageA(GetParent(Drives->Handle()), WM_DRAWITEM, 0, LPARAM(&request));
    };
    auto columns = [&](COLORREF background) {
        std::vector<int> used;
        for (int x = 0; x < 233; x++)
            for (int y = 0; y < 13; y++)
                if (GetPixel(dc, x, y) != background) {
                    used.push_back(x);
                    break;
                }
        return used;
    };
    COLORREF window = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT);
    draw(1, 0);
    // The picture at x + 2, centred vertically: its own pixels, or the background where it has
    // its transparent colour.
    HDC picture = Drives->Hard.Canvas().Handle();
    COLORREF transparent = GetPixel(picture, 0, 10);
    int mismatches = 0;
    for (int y = 0; y < 11; y++)
        for (int x = 0; x < 16; x++) {
            COLORREF own = GetPixel(picture, x, y);
            mismatches += GetPixel(dc, 2 + x, 1 + y) != (own == transparent ? window : own);
        }
    EXPECT_EQ(mismatches, 0);
    std::vector<int> used = columns(window);
    int text = *std::find_if(used.begin(), used.end(), [](int x) { return x >= 18; });
    EXPECT_GE(text, 22);
    EXPECT_LE(text, 23) << "the text starts at x + 22";
    draw(1, ODS_SELECTED);
    EXPECT_EQ(GetPixel(dc, 200, 1), highlight);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(DriveSelectorOnWine, ListsThePrefixDrivesAndMovesTheTree) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    TApplication application;
    RegisterProgramClasses();
    application.AddForm(Form1);
    TDriveComboBox* drives = Form1->DriveComboBox1;
    std::vector<std::string> items;
    for (int i = 0; i < drives->Count(); i++)
        items.push_back(drives->ItemText(i));
    ASSERT_FALSE(items.empty());
    EXPECT_NE(std::find_if(items.begin(), items.end(),
                           [](const std::string& item) { return item.rfind("c: [", 0) == 0; }),
              items.end())
        << "the prefix's drive C is a fixed drive with a label";
    // Another fixed drive than the one the program started on.
    char current = char(tolower(previous[0]));
    auto other = std::find_if(items.begin(), items.end(), [&](const std::string& item) {
        return item.size() > 3 && item[0] != current && item.substr(1, 3) == ": [";
    });
    ASSERT_NE(other, items.end());
    drives->SetItemIndex(int(other - items.begin()));
    SendMessageA(GetParent(drives->Handle()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 LPARAM(drives->Handle()));
    EXPECT_EQ(tolower(Form1->DirectoryListBox1->ActiveDrive()), (*other)[0]);
    EXPECT_EQ(tolower(Form1->Edit1->Text()[0]), (*other)[0]);
    SetCurrentDirectoryA(previous);
}

namespace {

// The main window on the simulated machine, with the boxes that each user action shows.
class DrivesThatFail : public DriveSelector {
  protected:
    using Action = std::function<void()>;
    Strings Boxes(const Action& action) { return BoxTexts(action); }
    int IndexOf(char letter) const {
        for (int i = 0; i < Drives->Count(); i++)
            if (Drives->ItemText(i)[0] == letter)
                return i;
        return -1;
    }
    // Enter in the tree list on the item, expected to fail with the message and change nothing
    // but the highlight.
    void ExpectFailedOpen(int index, const std::string& message) {
        List->SetItemIndex(index);
        auto before = Tree();
        EXPECT_EQ(Boxes([&] { SendMessageA(List->Handle(), WM_CHAR, '\r', 0); }), Strings{message});
        EXPECT_EQ(Tree(), before);
    }
    // The tree, the current directory and the destination, which a failed move leaves alone.
    std::tuple<Strings, int, std::string, std::string, std::string> Tree() {
        Strings items;
        for (int i = 0; i < List->Count(); i++)
            items.push_back(List->ItemText(i));
        return {items, List->ItemIndex(), List->ActivePath, Machine.CurrentDirectory(),
                Form1->Edit1->Text()};
    }
};

} // namespace

TEST_F(DrivesThatFail, NoMediumInACdRomDrive) {
    Machine.AddDrive('F', {DRIVE_CDROM, "", FS_CASE_IS_PRESERVED, false, ERROR_NOT_READY, ""});
    Start("C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(Drives->ItemText(IndexOf('f')), "f: []") << "no label to read";
    EXPECT_EQ(Picture(IndexOf('f')), &Drives->CDROM);
    auto before = Tree();
    EXPECT_EQ(Boxes([&] { Choose(IndexOf('f')); }), Strings{"I/O error 21."});
    EXPECT_EQ(Tree(), before);
    EXPECT_EQ(Drives->ItemText(Drives->ItemIndex()), "f: []") << "the selector shows the choice";
    // Arrow keys on the closed selector: from e: onto f:, the error again, then back to e:.
    Choose(IndexOf('e'));
    EXPECT_EQ(Form1->Edit1->Text(), "E:\\");
    Drives->SetFocus();
    EXPECT_EQ(Boxes([&] { SendMessageA(Drives->Handle(), WM_KEYDOWN, VK_DOWN, 0); }),
              Strings{"I/O error 21."});
    EXPECT_EQ(List->ActivePath, "E:\\");
    EXPECT_EQ(Boxes([&] { SendMessageA(Drives->Handle(), WM_KEYDOWN, VK_UP, 0); }), Strings{});
    EXPECT_EQ(Drives->DriveLetter, 'e');
    EXPECT_EQ(List->ActivePath, "E:\\") << "the shown drive: back in step without a move";
}

TEST_F(DrivesThatFail, UnreachableNetworkDrives) {
    // G keeps its remembered connection but the server is gone; H cannot even name its share.
    Machine.AddDrive('G', {DRIVE_REMOTE, "", FS_CASE_IS_PRESERVED, false, ERROR_BAD_NETPATH,
                           "\\\\SERVER\\GONE"});
    Machine.AddDrive(
        'H', {DRIVE_REMOTE, "", FS_CASE_IS_PRESERVED, false, ERROR_NETWORK_UNREACHABLE, ""});
    Start("C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(Drives->ItemText(IndexOf('g')), "g: \\\\server\\gone");
    EXPECT_EQ(Drives->ItemText(IndexOf('h')), "h: []");
    EXPECT_EQ(Picture(IndexOf('h')), &Drives->Network);
    auto before = Tree();
    EXPECT_EQ(Boxes([&] { Choose(IndexOf('g')); }), Strings{"I/O error 53."});
    EXPECT_EQ(Boxes([&] { Choose(IndexOf('h')); }), Strings{"I/O error 1231."});
    EXPECT_EQ(Tree(), before);
    EXPECT_EQ(Boxes([&] { Choose(IndexOf('d')); }), Strings{}) << "another drive moves as usual";
    EXPECT_EQ(Form1->Edit1->Text(), "D:\\");
}

TEST_F(DrivesThatFail, ADriveThatDisappears) {
    Machine.AddDrive('F', {DRIVE_REMOVABLE, "", FS_CASE_IS_PRESERVED, true, 0, ""});
    Machine.AddDirectory("F:\\PHOTOS\\2024");
    Machine.AddDirectory("F:\\MUSIC");
    Start("F:\\PHOTOS");
    EXPECT_EQ(Drives->ItemText(Drives->ItemIndex()), "f:");
    Machine.AddFile(ArchiverSearch().ProgramFolder + "ace32.exe");
    Machine.RemoveDrive('F');
    // The tree still shows the drive it was on: opening anything there fails.
    ExpectFailedOpen(2, "Invalid filename."); // 2024
    ExpectFailedOpen(0, "Invalid filename."); // the drive's root
    EXPECT_EQ(Boxes([&] { Press(Form1->RxSpeedButton2); }),
              Strings{"Wskazany katalog docelowy nie istnieje!"});
    // Another drive brings the tree back; choosing the gone one again fails and moves nothing.
    EXPECT_EQ(Boxes([&] { Choose(IndexOf('c')); }), Strings{});
    EXPECT_EQ(List->ActivePath, "C:\\");
    EXPECT_EQ(Form1->Edit1->Text(), "C:\\");
    auto before = Tree();
    EXPECT_EQ(Boxes([&] { Choose(IndexOf('f')); }), Strings{"Invalid filename."});
    EXPECT_EQ(Tree(), before);
    List->SetItemIndex(1);
    SendMessageA(List->Handle(), WM_CHAR, '\r', 0);
    EXPECT_EQ(List->ActivePath, "C:\\WINDOWS");
}

TEST_F(DrivesThatFail, AFolderThatRefusesEntry) {
    Machine.Refuse("C:\\WINDOWS\\SYSTEM", ERROR_ACCESS_DENIED);
    Start("C:\\WINDOWS");
    ExpectFailedOpen(2, "File access denied."); // SYSTEM
}

TEST_F(DrivesThatFail, ADriveKeepingACurrentDirectoryTooLongToStartAProgramIn) {
    std::string deep = "D:\\" + std::string(256, 'x'); // 259 characters
    Machine.AddDirectory(deep);
    Start("C:\\WINDOWS\\SYSTEM");
    Machine.ChangeDirectory(deep); // the directory the platform keeps for drive D
    Machine.ChangeDirectory("C:\\WINDOWS\\SYSTEM");
    auto before = Tree();
    EXPECT_EQ(Boxes([&] { Choose(IndexOf('d')); }), Strings{"I/O error 206."});
    EXPECT_EQ(Tree(), before) << "back in the tree's own directory";
    // The tree moving there fails alike, and the selector does not follow a failed move.
    Choose(IndexOf('c'));
    EXPECT_THROW(List->ChangeDirectory(deep), EInOutError);
    EXPECT_EQ(Tree(), before);
    EXPECT_EQ(Drives->DriveLetter, 'c');
    EXPECT_EQ(Drives->ItemText(Drives->ItemIndex())[0], 'c');
}
