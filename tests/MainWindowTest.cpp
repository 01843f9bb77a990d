#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "framework/TaskWindowLock.h"

TEST_F(MainWindow, CancellingTheOpenDialogKeepsTheArchiveAndItsLabel) {
    Form1->OpenDialog1->FileName = "C:\\ARCH\\TEST.ACE";
    bool mainWindowDisabled = false;
    {
        TMessageBoxWatcher watcher(
            IDCANCEL, [&](HWND) { mainWindowDisabled = !IsWindowEnabled(Form1->Handle()); });
        Press(Form1->RxSpeedButton1);
        ASSERT_EQ(watcher.Boxes().size(), 1u) << "the open dialog was shown";
    }
    EXPECT_TRUE(mainWindowDisabled) << "the dialog is task-modal";
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    EXPECT_EQ(Form1->OpenDialog1->FileName, "C:\\ARCH\\TEST.ACE");
    EXPECT_EQ(Form1->Label2->Caption(), "C:\\ARCH\\TEST.ACE");
}

TEST_F(MainWindow, UnpackStartsTheArchiverThenWarnsAboutAMissingDestination) {
    bool startedBeforeTheWarning = false;
    std::vector<TMessageBoxWatcher::TBox> boxes;
    {
        TMessageBoxWatcher watcher(IDOK, [&](HWND) { startedBeforeTheWarning = ArchiverRan(); });
        Press(Form1->RxSpeedButton2);
        boxes = watcher.Boxes();
    }
    const std::string placeholder = "docelowy folder (format DOS - bez znak\xF3w spec.)";
    EXPECT_EQ(UnpackCommand, "ace32.exe x -v  \"" + placeholder + "\"");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Wskazany katalog docelowy nie istnieje!");
    EXPECT_EQ(boxes[0].Caption, "Tolvo");
    EXPECT_TRUE(startedBeforeTheWarning) << "the archiver runs first, the warning comes after";
    std::string record = Scratch.Read("ace.log");
    EXPECT_NE(record.find("command=" + UnpackCommand + "\n"), std::string::npos) << record;
    // Without an archive the runtime sees three arguments: the placeholder is the third, whole.
    EXPECT_NE(record.find("argc=4\n"), std::string::npos) << record;
    EXPECT_NE(record.find("arg3=" + placeholder + "\n"), std::string::npos) << record;
}

TEST_F(MainWindow, UnpackIntoAnExistingFolderWithBlanksWarnsOfNothing) {
    Form1->OpenDialog1->FileName = "C:\\ARCH\\TEST.ACE";
    std::string destination = Scratch.Path + "\\my out";
    CreateDirectoryA(destination.c_str(), nullptr);
    Form1->Edit1->SetText(destination);
    {
        TMessageBoxWatcher watcher;
        Press(Form1->RxSpeedButton2);
        EXPECT_TRUE(watcher.Boxes().empty());
    }
    RemoveDirectoryA(destination.c_str());
    ASSERT_TRUE(ArchiverRan());
    std::string record = Scratch.Read("ace.log");
    EXPECT_NE(record.find("arg3=C:\\ARCH\\TEST.ACE\narg4=" + destination + "\n"), std::string::npos)
        << record;
}

TEST_F(MainWindow, AboutLoadsTheReadmeOfTheCurrentDirectoryAndShowsTheWindow) {
    Scratch.Write("readme.txt", "Tolvo\nwersja 1.0\r\nkoniec\r");
    Press(Form1->RxSpeedButton4);
    EXPECT_TRUE(Form3->Visible());
    EXPECT_TRUE(IsWindowVisible(Form3->Handle()));
    EXPECT_EQ(Form3->Memo1->Caption(), "Tolvo\r\nwersja 1.0\r\nkoniec\r\n");
}

TEST_F(MainWindow, AboutWithoutAReadmeReportsTheErrorAndLeavesTheWindowHidden) {
    std::vector<TMessageBoxWatcher::TBox> boxes;
    {
        TMessageBoxWatcher watcher;
        Press(Form1->RxSpeedButton4);
        boxes = watcher.Boxes();
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Cannot open file readme.txt.");
    EXPECT_EQ(boxes[0].Caption, "Tolvo");
    EXPECT_FALSE(Form3->Visible());
    // The program goes on: the next click works.
    Scratch.Write("readme.txt", "ok");
    Press(Form1->RxSpeedButton4);
    EXPECT_TRUE(Form3->Visible());
}

TEST_F(MainWindow, AReadmeThatGoesMissingKeepsTheVisibleAboutWindowWithItsText) {
    Scratch.Write("readme.txt", "first");
    Press(Form1->RxSpeedButton4);
    DeleteFileA((Scratch.Path + "\\readme.txt").c_str());
    {
        TMessageBoxWatcher watcher;
        Press(Form1->RxSpeedButton4);
        EXPECT_EQ(watcher.Boxes().size(), 1u);
    }
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(Form3->Memo1->Caption(), "first");
}

TEST_F(MainWindow, ExitEndsTheLoop) {
    PumpMessages();
    Press(Form1->RxSpeedButton3);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(MainWindow, DoubleClickAndEnterInTheTreeMoveTheDirectoryAndFillTheDestination) {
    // The window was built in the scratch folder: the tree shows it, the field its placeholder.
    TDirectoryListBox* list = Form1->DirectoryListBox1;
    const std::string placeholder = "docelowy folder (format DOS - bez znak\xF3w spec.)";
    int count = list->Count();
    ASSERT_GE(count, 3);
    EXPECT_EQ(list->ItemText(count - 2), "Alpha");
    EXPECT_EQ(list->ItemText(count - 1), "beta");
    EXPECT_EQ(Form1->Edit1->Text(), placeholder);
    // A click on Alpha only highlights it.
    LPARAM alpha = MAKELPARAM(40, (count - 2) * list->ItemHeight() + 3);
    SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, alpha);
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, alpha);
    EXPECT_EQ(list->ItemIndex(), count - 2);
    EXPECT_EQ(Form1->Edit1->Text(), placeholder);
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(std::string(current), Scratch.Path);
    // A double-click opens it.
    SendMessageA(list->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, alpha);
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, alpha);
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(std::string(current), Scratch.Path + "\\Alpha");
    EXPECT_EQ(Form1->Edit1->Text(), Scratch.Path + "\\Alpha");
    EXPECT_EQ(list->ItemText(list->ItemIndex()), "Alpha");
    // Up one with the arrow key and Enter: back to the scratch folder.
    list->SetFocus();
    SendMessageA(list->Handle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageA(list->Handle(), WM_CHAR, '\r', 0);
    EXPECT_EQ(Form1->Edit1->Text(), Scratch.Path);
    // The readme is then looked up in the directory the tree moved to.
    Scratch.Write("Alpha\\readme.txt", "from Alpha");
    list->ChangeDirectory(Scratch.Path + "\\Alpha");
    Press(Form1->RxSpeedButton4);
    EXPECT_EQ(Form3->Memo1->Caption(), "from Alpha");
}

// A key pressed on the main window, as the loop's keyboard filter receives it; Ctrl held or not.
static bool Key(TControl* focused, WPARAM key, bool repeated = false, bool control = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    LPARAM keyData = 1 | (repeated ? KF_REPEAT << 16 : 0);
    MSG msg{dynamic_cast<TWinControl*>(focused)->Handle(), WM_KEYDOWN, key, keyData, 0, {}};
    bool consumed = IsKeyMessageConsumed(msg);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    return consumed;
}

// Alt with a letter in the destination field, a Unicode window, reaches the buttons as the letter
// the captions' code page spells: U+0142 is "ł" (0xB3), not "B" (its low byte).
TEST_F(MainWindow, ALetterTypedWithAltInTheUnicodeFieldMeetsTheCaptionsInTheirCodePage) {
    int clicks = 0;
    Form1->RxSpeedButton1->OnClick = [&](TObject*) { clicks++; };
    auto altLetter = [](wchar_t letter) {
        MSG msg{Form1->Edit1->Handle(), WM_SYSCHAR, letter, 1 | KF_ALTDOWN << 16, 0, {}};
        return IsKeyMessageConsumed(msg);
    };
    ASSERT_TRUE(IsWindowUnicode(Form1->Edit1->Handle()));
    Form1->RxSpeedButton1->SetCaption("&Bity");
    EXPECT_FALSE(altLetter(L'\u0142'));
    EXPECT_FALSE(altLetter(L'\u732B')) << "no letter of the code page";
    EXPECT_EQ(clicks, 0);
    Form1->RxSpeedButton1->SetCaption("&\xA3\xF3\x64\x9F"); // "Łódź"
    EXPECT_TRUE(altLetter(L'\u0142'));
    EXPECT_EQ(clicks, 1);
}

TEST_F(MainWindow, EnterCtrlOAndF1RunTheirButtonsOncePerPressAndNotUnderADialog) {
    std::string destination = Scratch.Path + "\\out";
    CreateDirectoryA(destination.c_str(), nullptr);
    Form1->Edit1->SetText(destination);
    Form1->Edit1->SetFocus();
    EXPECT_TRUE(Key(Form1->Edit1, VK_RETURN));
    EXPECT_NE(UnpackCommand.find(destination), std::string::npos) << UnpackCommand;
    ASSERT_TRUE(ArchiverRan());
    UnpackCommand.clear();
    EXPECT_TRUE(Key(Form1->Edit1, VK_RETURN, true)) << "a held Enter is taken, and does nothing";
    EXPECT_EQ(UnpackCommand, "");
    // Enter elsewhere keeps its meaning: the tree and the drive selector get it.
    Form1->DirectoryListBox1->SetFocus();
    EXPECT_FALSE(Key(Form1->DirectoryListBox1, VK_RETURN));
    Form1->DriveComboBox1->SetFocus();
    EXPECT_FALSE(Key(Form1->DriveComboBox1, VK_RETURN));
    EXPECT_EQ(UnpackCommand, "");

    // F1 from any control shows the readme; held, it does not load it again.
    Scratch.Write("readme.txt", "help");
    EXPECT_TRUE(Key(Form1->DriveComboBox1, VK_F1));
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(Form3->Memo1->Caption(), "help");
    Scratch.Write("readme.txt", "changed");
    EXPECT_TRUE(Key(Form1->DriveComboBox1, VK_F1, true));
    EXPECT_EQ(Form3->Memo1->Caption(), "help");
    Form3->Hide();

    // Ctrl+O runs the open dialog; O alone is a letter for the field.
    Form1->Edit1->SetFocus();
    {
        TMessageBoxWatcher watcher(IDCANCEL);
        EXPECT_TRUE(Key(Form1->Edit1, 'O', false, true));
        EXPECT_FALSE(Key(Form1->Edit1, 'O'));
        EXPECT_EQ(watcher.Boxes().size(), 1u) << "the open dialog was shown once";
    }

    // While a dialog holds the windows locked, a key still queued for the main window is taken
    // and does nothing.
    {
        TTaskWindowLock lock;
        lock.Apply();
        TMessageBoxWatcher watcher;
        EXPECT_TRUE(Key(Form1->Edit1, VK_RETURN));
        EXPECT_TRUE(Key(Form1->Edit1, VK_F1));
        EXPECT_TRUE(Key(Form1->Edit1, 'O', false, true));
        EXPECT_TRUE(watcher.Boxes().empty());
    }
    EXPECT_EQ(UnpackCommand, "");
    EXPECT_FALSE(Form3->Visible());
    RemoveDirectoryA(destination.c_str());
}

// A dialog's lock disables what the user could reach: the shown windows that were enabled.
// Hidden ones (the about window, the drive list's drop-down, a top-level window of its own) and
// one the program disabled itself are left as they are, while it holds and after.
TEST_F(MainWindow, ADialogsLockDisablesOnlyTheShownWindowsThatWereEnabled) {
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    ASSERT_TRUE(GetComboBoxInfo(Form1->DriveComboBox1->Handle(), &combo));
    HWND dropDown = combo.hwndList;
    ASSERT_EQ(GetAncestor(dropDown, GA_PARENT), GetDesktopWindow());
    for (HWND hidden : {Form3->Handle(), dropDown}) {
        ASSERT_FALSE(IsWindowVisible(hidden));
        {
            TTaskWindowLock lock;
            lock.Apply();
            EXPECT_FALSE(IsWindowEnabled(Form1->Handle()));
            EXPECT_TRUE(IsWindowEnabled(hidden)) << "hidden: left alone";
        }
        EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
        EXPECT_TRUE(IsWindowEnabled(hidden));
    }
    Form3->Show();
    EnableWindow(Form3->Handle(), FALSE);
    {
        TTaskWindowLock lock;
        lock.Apply();
    }
    EXPECT_FALSE(IsWindowEnabled(Form3->Handle())) << "disabled before: not enabled by the lock";
    EnableWindow(Form3->Handle(), TRUE);
    Form3->Hide();
}
