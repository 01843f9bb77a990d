#include <gtest/gtest.h>

#include "FileCtrl/DirectoryListBox.h"
#include "FileCtrl/PathScan.h"
#include "SimulatedMachine.h"
#include "TestSupport.h"
#include "framework/Exceptions.h"

#include <random>

namespace {

class DirectoryList : public TApplicationTest {
  protected:
    void SetUp() override {
        TApplicationTest::SetUp();
        TSimulatedMachine::TDrive disk;
        disk.Label = "SYSTEM";
        Machine.AddDrive('C', disk);
        for (const char* path :
             {"C:\\WINDOWS\\SYSTEM\\COLOR", "C:\\WINDOWS\\SYSTEM\\b", "C:\\WINDOWS\\SYSTEM\\A",
              "C:\\WINDOWS\\SYSTEM\\c", "C:\\WINDOWS\\FONTS", "C:\\TEMP"})
            Machine.AddDirectory(path);
        Machine.AddDirectory("C:\\WINDOWS\\SYSTEM\\HIDDEN", FILE_ATTRIBUTE_HIDDEN);
        Machine.AddDirectory("C:\\WINDOWS\\SYSTEM\\SYS", FILE_ATTRIBUTE_SYSTEM);
        Machine.AddFile("C:\\WINDOWS\\SYSTEM\\FILE.DLL");
        Machine.AddDirectory("\\\\SERVER\\DATA\\PROJECTS\\TOLVO");
    }
    void TearDown() override {
        List = nullptr;
        TApplicationTest::TearDown();
    }
    // Builds the list's window as the program was started in the directory.
    TDirectoryListBox& StartIn(const std::string& directory) {
        Machine.StartIn(directory);
        Form = Add<TTestForm>("LISTFORM");
        List = dynamic_cast<TDirectoryListBox*>(Form->FindComponent("List1"));
        List->Handle();
        return *List;
    }
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (int i = 0; i < List->Count(); i++)
            items.push_back(List->ItemText(i));
        return items;
    }
    const TBitmap* Picture(int index) const { return List->Picture(index); }
    std::string Failure(const std::function<void()>& action) {
        try {
            action();
        } catch (const EInOutError& error) {
            return error.Message;
        }
        return "";
    }
    using Strings = std::vector<std::string>;
    TSimulatedMachine Machine;
    TTestForm* Form = nullptr;
    TDirectoryListBox* List = nullptr;
};

} // namespace

TEST_F(DirectoryList, ShowsTheRootAncestorsTheDirectoryAndItsSortedSubfolders) {
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(list.ActivePath, "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(Items(), (Strings{"C:\\", "WINDOWS", "SYSTEM", "A", "b", "c", "COLOR"}))
        << "hidden and system folders, files, . and .. are left out";
    EXPECT_EQ(Picture(0), &list.OpenFolder);
    EXPECT_EQ(Picture(1), &list.OpenFolder);
    EXPECT_EQ(Picture(2), &list.CurrentFolder);
    for (int i = 3; i < list.Count(); i++)
        EXPECT_EQ(Picture(i), &list.ClosedFolder);
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(Form->ListChanges, 0) << "no change event at start";
    EXPECT_EQ(list.ItemPath(0), "C:\\");
    EXPECT_EQ(list.ItemPath(1), "C:\\WINDOWS");
    EXPECT_EQ(list.ItemPath(2), "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(list.ItemPath(6), "C:\\WINDOWS\\SYSTEM\\COLOR");
}

TEST_F(DirectoryList, ADriveRootIsTheOnlyPathItem) {
    TDirectoryListBox& list = StartIn("C:\\");
    EXPECT_EQ(Items(), (Strings{"C:\\", "TEMP", "WINDOWS"}));
    EXPECT_EQ(Picture(0), &list.CurrentFolder);
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(list.ItemPath(1), "C:\\TEMP");
}

TEST_F(DirectoryList, AShareRootAndADirectoryOnAShare) {
    TDirectoryListBox& list = StartIn("\\\\SERVER\\DATA\\PROJECTS");
    EXPECT_EQ(Items(), (Strings{"\\\\SERVER\\DATA\\", "PROJECTS", "TOLVO"}));
    EXPECT_EQ(list.ActiveDrive(), '\\');
    EXPECT_EQ(list.ItemPath(0), "\\\\SERVER\\DATA\\");
    EXPECT_EQ(list.ItemPath(1), "\\\\SERVER\\DATA\\PROJECTS");
    EXPECT_EQ(list.ItemPath(2), "\\\\SERVER\\DATA\\PROJECTS\\TOLVO");
    list.SetItemIndex(0);
    list.OpenSelected();
    EXPECT_EQ(Items(), (Strings{"\\\\SERVER\\DATA\\", "PROJECTS"}));
    EXPECT_EQ(Picture(0), &list.OpenFolder) << "a share root keeps the open folder";
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(Machine.CurrentDirectory(), "\\\\SERVER\\DATA\\");
}

TEST_F(DirectoryList, OpeningASubfolderMovesTheCurrentDirectoryAndRebuilds) {
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    list.SetItemIndex(6);
    list.OpenSelected();
    EXPECT_EQ(Machine.CurrentDirectory(), "C:\\WINDOWS\\SYSTEM\\COLOR");
    EXPECT_EQ(list.ActivePath, "C:\\WINDOWS\\SYSTEM\\COLOR");
    EXPECT_EQ(Items(), (Strings{"C:\\", "WINDOWS", "SYSTEM", "COLOR"}));
    EXPECT_EQ(list.ItemIndex(), 3);
    EXPECT_EQ(Form->ListChanges, 1);
    // An ancestor, then the root.
    list.SetItemIndex(1);
    list.OpenSelected();
    EXPECT_EQ(list.ActivePath, "C:\\WINDOWS");
    EXPECT_EQ(Items(), (Strings{"C:\\", "WINDOWS", "FONTS", "SYSTEM"}));
    list.SetItemIndex(0);
    list.OpenSelected();
    EXPECT_EQ(list.ActivePath, "C:\\");
    EXPECT_EQ(Form->ListChanges, 3);
}

TEST_F(DirectoryList, OpeningTheShownItemDoesNothing) {
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    list.OpenSelected();
    list.ChangeDirectory("c:\\windows\\system");
    EXPECT_EQ(Form->ListChanges, 0);
    TDirectoryListBox& root = *List;
    Machine.StartIn("C:\\");
    root.SwitchDrive('c');
    EXPECT_EQ(Form->ListChanges, 0) << "the same drive, whatever the case";
}

TEST_F(DirectoryList, NamesEqualButForCaseShowTheFirstEnumerated) {
    Machine.AddDirectory("C:\\TEMP\\Data");
    Machine.AddDirectory("C:\\TEMP\\DATA");
    Machine.AddDirectory("C:\\TEMP\\data");
    StartIn("C:\\TEMP");
    EXPECT_EQ(Items(), (Strings{"C:\\", "TEMP", "Data"}));
}

TEST_F(DirectoryList, AVolumeThatKeepsNoCaseDrawsLowerCaseButKeepsPaths) {
    TSimulatedMachine::TDrive oldDisk;
    oldDisk.Flags = 0;
    Machine.AddDrive('D', oldDisk);
    Machine.AddDirectory("D:\\GAMES\\DOOM");
    TDirectoryListBox& list = StartIn("D:\\GAMES");
    EXPECT_FALSE(list.NamesKeepCase);
    EXPECT_EQ(list.ShownName(list.ItemText(0)), "d:\\");
    EXPECT_EQ(list.ShownName(list.ItemText(1)), "games");
    EXPECT_EQ(list.ItemPath(2), "D:\\GAMES\\DOOM");
}

// A medium changed in its drive is seen once the user switches drives; moves in between keep
// what they read.
TEST_F(DirectoryList, AVolumesFlagsAreReadAnewOnADriveSwitch) {
    TSimulatedMachine::TDrive oldDisk;
    oldDisk.Flags = 0;
    Machine.AddDrive('D', oldDisk);
    Machine.AddDirectory("D:\\GAMES");
    TDirectoryListBox& list = StartIn("D:\\GAMES");
    TSimulatedMachine::TDrive newDisk;
    newDisk.Flags = FS_CASE_SENSITIVE | FS_CASE_IS_PRESERVED;
    Machine.AddDrive('D', newDisk);
    Machine.AddDirectory("D:\\GAMES");
    list.ChangeDirectory("C:\\WINDOWS");
    list.ChangeDirectory("D:\\GAMES");
    EXPECT_FALSE(list.NamesKeepCase);
    EXPECT_TRUE(list.IsSameDirectory("D:\\GAMES", "D:\\Games"));
    list.SwitchDrive('C');
    list.SwitchDrive('D');
    EXPECT_EQ(list.ActivePath, "D:\\GAMES");
    EXPECT_EQ(list.ShownName(list.ItemText(1)), "GAMES");
    EXPECT_FALSE(list.IsSameDirectory("D:\\GAMES", "D:\\Games"));
}

TEST_F(DirectoryList, AVolumeThatCannotBeAskedKeepsCaseAndIgnoresIt) {
    TSimulatedMachine::TDrive odd;
    odd.VolumeReadable = false;
    odd.Flags = FS_CASE_SENSITIVE;
    Machine.AddDrive('E', odd);
    Machine.AddDirectory("E:\\X");
    TDirectoryListBox& list = StartIn("E:\\X");
    EXPECT_TRUE(list.NamesKeepCase);
    EXPECT_FALSE(list.NamesCaseSensitive);
    EXPECT_TRUE(list.IsSameDirectory("E:\\X", "e:\\x"));
}

TEST_F(DirectoryList, FailedMovesChangeNothing) {
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    Machine.Remove("C:\\WINDOWS\\SYSTEM\\COLOR");
    Machine.Refuse("C:\\WINDOWS\\SYSTEM\\A", ERROR_ACCESS_DENIED);
    Strings before = Items();
    list.SetItemIndex(6);
    EXPECT_EQ(Failure([&] { list.OpenSelected(); }), "File not found");
    list.SetItemIndex(3);
    EXPECT_EQ(Failure([&] { list.OpenSelected(); }), "File access denied");
    // A target on another drive: the drive is entered first, and left again when the folder
    // cannot be.
    Machine.AddDrive('D', TSimulatedMachine::TDrive{});
    Machine.AddDirectory("D:\\DATA");
    EXPECT_EQ(Failure([&] { list.ChangeDirectory("D:\\DATA\\NOWHERE"); }), "File not found");
    EXPECT_EQ(Items(), before);
    EXPECT_EQ(list.ActivePath, "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(Machine.CurrentDirectory(), "C:\\WINDOWS\\SYSTEM") << "put back after the failure";
    EXPECT_EQ(Form->ListChanges, 0);
}

TEST_F(DirectoryList, AFolderReplacedByAFileIsPassedByAndTheShownDirectoryReadAnew) {
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    Machine.Remove("C:\\WINDOWS\\SYSTEM\\COLOR");
    Machine.AddFile("C:\\WINDOWS\\SYSTEM\\COLOR");
    list.SetItemIndex(6);
    EXPECT_EQ(Failure([&] { list.OpenSelected(); }), "");
    EXPECT_EQ(Items(), (Strings{"C:\\", "WINDOWS", "SYSTEM", "A", "b", "c"}));
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(Form->ListChanges, 1) << "the destination field shows the shown directory";
    EXPECT_EQ(Machine.CurrentDirectory(), "C:\\WINDOWS\\SYSTEM");
}

// The directory to go back to after looking at a target is gone (or cannot be spelled): the
// shown one takes its place, whether the move fails or not.
TEST_F(DirectoryList, AfterAMoveTheCurrentDirectoryIsNeverOneTheListDoesNotShow) {
    Machine.AddDirectory("C:\\TEMP\\GONE");
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    for (DWORD code : {DWORD(0), DWORD(ERROR_INVALID_NAME)}) {
        Machine.ChangeDirectory("C:\\TEMP\\GONE"); // moved there by somebody else
        if (code)
            Machine.Refuse("C:\\TEMP\\GONE", code);
        else
            Machine.Remove("C:\\TEMP\\GONE");
        EXPECT_EQ(Failure([&] { list.ChangeDirectory("C:\\NOWHERE\\DEEPER"); }), "File not found");
        EXPECT_EQ(Machine.CurrentDirectory(), "C:\\WINDOWS\\SYSTEM");
        EXPECT_EQ(list.ActivePath, "C:\\WINDOWS\\SYSTEM");
    }
    EXPECT_EQ(Form->ListChanges, 0);
    // The shown directory gone as well: the error is its own, and a move that can be made is.
    Machine.ChangeDirectory("C:\\WINDOWS\\SYSTEM\\COLOR");
    list.ChangeDirectory("C:\\WINDOWS\\SYSTEM\\COLOR");
    Machine.Refuse("C:\\WINDOWS\\SYSTEM\\COLOR", ERROR_ACCESS_DENIED);
    EXPECT_EQ(Failure([&] { list.ChangeDirectory("C:\\NOWHERE"); }), "File access denied");
    list.ChangeDirectory("C:\\TEMP");
    EXPECT_EQ(Machine.CurrentDirectory(), "C:\\TEMP");
}

// As the open dialog leaves it, the current directory is the shown one's when it is removed,
// and the drive keeps it as its own.
TEST_F(DirectoryList, TheShownFolderRemovedBehindTheListLeavesEveryOtherItemOpen) {
    Machine.AddDirectory("C:\\WINDOWS\\SYSTEM\\COLOR\\DEEP");
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM\\COLOR");
    Machine.Remove("C:\\WINDOWS\\SYSTEM\\COLOR\\DEEP");
    Machine.Remove("C:\\WINDOWS\\SYSTEM\\COLOR");
    list.SetItemIndex(4);
    EXPECT_EQ(Failure([&] { list.OpenSelected(); }), "File not found") << "the vanished one's own";
    for (int item : {2, 0}) {
        list.SetItemIndex(item);
        EXPECT_EQ(Failure([&] { list.OpenSelected(); }), "") << item;
    }
    EXPECT_EQ(list.ActivePath, "C:\\");
    list.ChangeDirectory("C:\\TEMP");
    EXPECT_EQ(Machine.CurrentDirectory(), "C:\\TEMP");
    EXPECT_EQ(Form->ListChanges, 3);
}

TEST_F(DirectoryList, ADriveWithoutAMediumReportsItsCode) {
    TSimulatedMachine::TDrive floppy;
    floppy.Type = DRIVE_REMOVABLE;
    floppy.MediumError = ERROR_NOT_READY;
    Machine.AddDrive('A', floppy);
    TDirectoryListBox& list = StartIn("C:\\WINDOWS");
    EXPECT_EQ(Failure([&] { list.SwitchDrive('A'); }), "I/O error 21");
    EXPECT_EQ(list.ActivePath, "C:\\WINDOWS");
    EXPECT_EQ(Machine.CurrentDirectory(), "C:\\WINDOWS");
    EXPECT_EQ(Form->ListChanges, 0);
}

TEST_F(DirectoryList, AFolderThatCannotBeReadShowsOnlyItsPath) {
    Machine.MakeUnreadable("C:\\WINDOWS\\SYSTEM\\COLOR");
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    list.SetItemIndex(6);
    list.OpenSelected();
    EXPECT_EQ(Items(), (Strings{"C:\\", "WINDOWS", "SYSTEM", "COLOR"}));
    EXPECT_EQ(Form->ListChanges, 1);
}

TEST_F(DirectoryList, ItemPathPastTheEndIsEmptyAndBeforeTheStartFails) {
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(list.ItemPath(list.Count()), "");
    EXPECT_EQ(list.ItemPath(1000), "");
    try {
        list.ItemPath(-1);
        ADD_FAILURE() << "no error";
    } catch (const EListError& error) {
        EXPECT_EQ(error.Message, "List index out of bounds (-1)");
    }
}

TEST_F(DirectoryList, ChangingToAnotherDriveGoesThroughItsOwnCurrentDirectory) {
    TSimulatedMachine::TDrive data;
    Machine.AddDrive('D', data);
    Machine.AddDirectory("D:\\WORK\\OLD");
    TDirectoryListBox& list = StartIn("C:\\WINDOWS");
    list.ChangeDirectory("D:\\WORK");
    EXPECT_EQ(list.ActivePath, "D:\\WORK");
    EXPECT_EQ(Form->ListChanges, 1) << "the drive switch inside a move raises no event of its own";
    list.ChangeDirectory("C:\\TEMP");
    list.SwitchDrive('D');
    EXPECT_EQ(list.ActivePath, "D:\\WORK") << "the drive's own current directory";
}

TEST_F(DirectoryList, AFailedTargetLeavesTheCurrentDirectoryWhereItWas) {
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    Machine.ChangeDirectory("C:\\TEMP"); // moved by somebody else meanwhile
    EXPECT_EQ(Failure([&] { list.ChangeDirectory("C:\\NOWHERE\\DEEPER"); }), "File not found");
    EXPECT_EQ(Machine.CurrentDirectory(), "C:\\TEMP");
    EXPECT_EQ(list.ActivePath, "C:\\WINDOWS\\SYSTEM");
}

TEST_F(DirectoryList, DoubleClickAndEnterOpenAClickOnlyMovesTheHighlight) {
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    Form->Show();
    int itemTop = 6 * list.ItemHeight() + 2;
    // A click on COLOR only highlights it.
    SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, itemTop));
    SendMessageA(list.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(40, itemTop));
    EXPECT_EQ(list.ItemIndex(), 6);
    EXPECT_EQ(Form->ListChanges, 0);
    EXPECT_EQ(Machine.CurrentDirectory(), "C:\\WINDOWS\\SYSTEM");
    // Double-click opens it.
    SendMessageA(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, itemTop));
    SendMessageA(list.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(40, itemTop));
    EXPECT_EQ(list.ActivePath, "C:\\WINDOWS\\SYSTEM\\COLOR");
    EXPECT_EQ(Form->ListChanges, 1);
    // The arrow key highlights WINDOWS; Enter opens it.
    list.SetFocus();
    SendMessageA(list.Handle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageA(list.Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(Form->ListChanges, 1);
    SendMessageA(list.Handle(), WM_CHAR, '\r', 0);
    EXPECT_EQ(list.ActivePath, "C:\\WINDOWS");
    EXPECT_EQ(Form->ListChanges, 2);
}

TEST_F(DirectoryList, ItemsAreDrawnWithIndentsPicturesAndHighlight) {
    TDirectoryListBox& list = StartIn("C:\\WINDOWS\\SYSTEM");
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 233, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto draw = [&](int index, UINT state) {
        DRAWITEMSTRUCT request{ODT_LISTBOX,
                               0,
                               UINT(index),
                               ODA_DRAWENTIRE,
                               state,
                               list.Handle(),
                               dc,
                               {0, 0, 233, 16},
                               ULONG_PTR(list.ItemData(index))};
        SendMessageA(Form->Handle(), WM_DRAWITEM, 0, LPARAM(&request));
    };
    COLORREF window = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT);
    auto firstDrawn = [&](COLORREF background) {
        for (int x = 0; x < 233; x++)
            for (int y = 0; y < 16; y++)
                if (GetPixel(dc, x, y) != background)
                    return x;
        return -1;
    };
    // The picture starts at the indent: 4 x index + 2, subfolders at 4 x (depth + 1) + 2.
    draw(0, 0);
    EXPECT_EQ(firstDrawn(window), 2);
    EXPECT_EQ(GetPixel(dc, 2, 15), window) << "the bottom-left colour is transparent";
    draw(2, 0);
    EXPECT_EQ(firstDrawn(window), 10);
    draw(3, 0);
    EXPECT_EQ(firstDrawn(window), 14);
    // The text of the root starts after the picture: 2 + 16 + 4 = 22.
    draw(0, ODS_SELECTED);
    int textStart = -1;
    for (int x = 19; x < 233 && textStart < 0; x++)
        for (int y = 0; y < 16; y++)
            if (GetPixel(dc, x, y) != highlight) {
                textStart = x;
                break;
            }
    EXPECT_GE(textStart, 22);
    EXPECT_LE(textStart, 24);
    EXPECT_EQ(GetPixel(dc, 230, 1), highlight) << "a selected item is filled with the highlight";
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(PathScan, DrivesSharesAndJoins) {
    EXPECT_EQ(DrivePart("C:\\WINDOWS", 1250), "C:");
    EXPECT_EQ(DrivePart("\\\\SRV\\DATA\\A", 1250), "\\\\SRV\\DATA");
    EXPECT_EQ(DrivePart("\\\\SRV\\DATA", 1250), "\\\\SRV\\DATA");
    EXPECT_EQ(DrivePart("\\\\SRV", 1250), "\\\\SRV");
    EXPECT_EQ(DrivePart("\\WINDOWS", 1250), "");
    EXPECT_EQ(DrivePart("", 1250), "");
    EXPECT_EQ(JoinPath("C:\\", "A", 1250), "C:\\A");
    EXPECT_EQ(JoinPath("C:\\X", "A", 1250), "C:\\X\\A");
    EXPECT_EQ(PathDepth("C:\\", 1250), 1);
    EXPECT_EQ(PathDepth("C:\\WINDOWS", 1250), 1);
    EXPECT_EQ(PathDepth("C:\\WINDOWS\\SYSTEM", 1250), 2);
}

TEST(PathScan, ABackslashThatEndsADoubleByteCharacterIsNoSeparator) {
    // In code page 932 the pair 0x95 0x5C is one character whose second byte is a backslash.
    const std::string name = "\x95\x5C";
    EXPECT_EQ(PathDepth("C:\\" + name, 932), 1);
    EXPECT_EQ(PathDepth("C:\\" + name, 1250), 2) << "a single-byte code page sees two";
    EXPECT_EQ(JoinPath("C:\\" + name, "A", 932), "C:\\" + name + "\\A");
    EXPECT_EQ(JoinPath("C:\\" + name, "A", 1250), "C:\\" + name + "A");
    EXPECT_EQ(FindChar(name + "\\x", '\\', 0, 932), 2u);
    EXPECT_EQ(FindLastOf("C:\\" + name, "\\:", 932), 2u);
    EXPECT_EQ(DrivePart("\\\\S" + name + "\\D\\E", 932), "\\\\S" + name + "\\D");
}

TEST(PathScan, ATargetSplitsIntoRootDirectoryAndLastComponent) {
    auto split = [](const std::string& text, UINT codePage = 1250) {
        TTargetText target = SplitTarget(text, "D:\\WORK", codePage);
        return std::string(1, target.Drive ? target.Drive : '-') + "|" + target.Root + "|" +
               target.Directory + "|" + target.Name;
    };
    EXPECT_EQ(split("C:\\WINDOWS\\SYSTEM"), "C|C:|\\WINDOWS|SYSTEM");
    EXPECT_EQ(split("C:\\WINDOWS"), "C|C:|\\|WINDOWS");
    EXPECT_EQ(split("C:\\"), "C|C:|\\|");
    EXPECT_EQ(split("C:"), "C|C:||") << "the drive's own current directory is meant";
    EXPECT_EQ(split("SUB"), "D|D:||SUB") << "relative to the given directory's drive";
    EXPECT_EQ(split("\\\\SRV\\DATA\\A\\B"), "-|\\\\SRV\\DATA|\\A|B");
    EXPECT_EQ(split("\\\\SRV\\DATA"), "-|\\\\SRV\\DATA||");
    const std::string name = "\x95\x5C"; // one character in code page 932
    EXPECT_EQ(split("C:\\" + name, 932), "C|C:|\\|" + name);
    EXPECT_EQ(split("C:\\" + name, 1250), "C|C:|\\\x95|");
}

TEST(PathScan, EnteredDirectory) {
    EXPECT_EQ(EnteredDirectory("\\", "A"), "\\A");
    EXPECT_EQ(EnteredDirectory("\\X", "A"), "\\X\\A");
}

TEST_F(DirectoryList, DoubleBytePathsSplitOnlyAtRealSeparators) {
    Machine.Page = 932;
    const std::string name = "\x95\x5C";
    Machine.AddDirectory("C:\\" + name + "\\SUB");
    TDirectoryListBox& list = StartIn("C:\\" + name);
    EXPECT_EQ(Items(), (Strings{"C:\\", name, "SUB"}));
    EXPECT_EQ(list.ItemPath(2), "C:\\" + name + "\\SUB");
}

TEST(SubfolderOrder, MatchesInsertingEachNameByBinarySearch) {
    // The reference: each name placed by binary search as it comes, an equal one dropped.
    std::mt19937 random(7);
    const std::string letters = "aAbBcCzZ_-0 \xB9\xA5\xF3\xD3";
    TSimulatedMachine machine;
    machine.AddDrive('C', {});
    std::vector<std::string> enumerated;
    for (int i = 0; i < 400; i++) {
        std::string name;
        for (int length = 1 + random() % 4; length > 0; length--)
            name += letters[random() % letters.size()];
        enumerated.push_back(name);
        machine.AddDirectory("C:\\T\\" + name);
    }
    std::vector<std::string> reference;
    auto compare = [](const std::string& a, const std::string& b) {
        return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()),
                              b.data(), int(b.size()));
    };
    for (const std::string& name : enumerated) {
        size_t low = 0, high = reference.size();
        bool equal = false;
        while (low < high && !equal) {
            size_t middle = (low + high) / 2;
            int order = compare(reference[middle], name);
            equal = order == CSTR_EQUAL;
            if (order == CSTR_LESS_THAN)
                low = middle + 1;
            else
                high = middle;
        }
        if (!equal)
            reference.insert(reference.begin() + low, name);
    }
    std::vector<std::string> names;
    // Names with a trailing blank do not survive as directory names on every system; the
    // machine here is simulated, so all of them do.
    CollectSubfolders("C:\\T", names);
    EXPECT_EQ(names, reference);
}
