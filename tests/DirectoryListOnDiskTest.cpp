#include <gtest/gtest.h>

#include "MainWindowFixture.h"

// The tree list of the main window on the real file system under Wine, with folders that the
// user cannot be stopped from making: removed behind the list, near the length limit of a path,
// named in letters the code page cannot spell.

namespace {

class DirectoryListOnDisk : public MainWindow {
  protected:
    void SetUp() override {
        MainWindow::SetUp();
        List = Form1->DirectoryListBox1;
    }
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (int i = 0; i < List->Count(); i++)
            items.push_back(List->ItemText(i));
        return items;
    }
    // Highlights the item and presses Enter in the list, as the user does; returns the texts of
    // the boxes shown.
    std::vector<std::string> Open(const std::string& item) {
        std::vector<std::string> items = Items();
        auto found = std::find(items.begin(), items.end(), item);
        EXPECT_NE(found, items.end()) << item;
        List->SetItemIndex(int(found - items.begin()));
        return Enter();
    }
    std::vector<std::string> Enter() {
        TMessageBoxWatcher watcher;
        SendMessageA(List->Handle(), WM_CHAR, '\r', 0);
        std::vector<std::string> texts;
        for (const TMessageBoxWatcher::TBox& box : watcher.Boxes())
            texts.push_back(box.Text);
        return texts;
    }
    // Opening the item reports the message and changes nothing: the items, the highlight on
    // the item, the shown and the current directory, the destination.
    void ExpectFailedOpen(const std::string& item, const std::string& message) {
        auto before =
            std::make_tuple(Items(), List->ActivePath, CurrentDirectory(), Form1->Edit1->Text());
        EXPECT_EQ(Open(item), std::vector<std::string>{message}) << item;
        EXPECT_EQ(
            std::make_tuple(Items(), List->ActivePath, CurrentDirectory(), Form1->Edit1->Text()),
            before);
        EXPECT_EQ(List->ItemText(List->ItemIndex()), item);
    }
    static std::string CurrentDirectory() {
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, current);
        return current;
    }
    TDirectoryListBox* List = nullptr;
};

} // namespace

TEST_F(DirectoryListOnDisk, RemovedFoldersReportFileNotFoundAndChangeNothing) {
    RemoveDirectoryA((Scratch.Path + "\\beta").c_str());
    ExpectFailedOpen("beta", "File not found.");
    // A file in the folder's place: passed by, the shown folder read anew, no message.
    Scratch.Write("beta", "a file in the folder's place");
    EXPECT_EQ(Open("beta"), std::vector<std::string>{});
    EXPECT_EQ(Items().back(), "Alpha");
    EXPECT_EQ(Form1->Edit1->Text(), Scratch.Path);
    EXPECT_EQ(CurrentDirectory(), Scratch.Path);
    // The shown folder itself removed while the current directory is elsewhere (the open
    // dialog leaves it at the archive's folder).
    CreateDirectoryA((Scratch.Path + "\\Alpha\\inner").c_str(), nullptr);
    EXPECT_EQ(Open("Alpha"), std::vector<std::string>{});
    SetCurrentDirectoryA(Scratch.Path.c_str());
    TScratchFolder::RemoveTree(Scratch.Path + "\\Alpha");
    ExpectFailedOpen("inner", "File not found.");
    {
        TMessageBoxWatcher watcher;
        Press(Form1->RxSpeedButton2);
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].Text, "Wskazany katalog docelowy nie istnieje!");
    }
    // The way up still works.
    std::string scratchName = Scratch.Path.substr(Scratch.Path.rfind('\\') + 1);
    EXPECT_EQ(Open(scratchName), std::vector<std::string>{});
    EXPECT_EQ(List->ActivePath, Scratch.Path);
    EXPECT_EQ(Form1->Edit1->Text(), Scratch.Path);
    EXPECT_EQ(Items().back(), scratchName) << "no subfolders left";
}

TEST_F(DirectoryListOnDisk, FoldersNearTheLengthLimitOfAPath) {
    // A chain of folders down to one whose path has 255 characters, the longest whose pattern
    // "\*.*" the platform still enumerates. In it folders of 258, 259 and 260 characters, which
    // the platform makes; a current directory holds at most 258.
    std::string folder = Scratch.Path;
    while (folder.size() < 255) {
        size_t left = 255 - folder.size(), length = left <= 11 ? left - 1 : left == 12 ? 8 : 10;
        folder += "\\" + std::string(length, 'd');
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder.size();
    }
    ASSERT_EQ(folder.size(), 255u);
    for (const char* name : {"ab", "abc", "abcd"})
        ASSERT_TRUE(CreateDirectoryA((folder + "\\" + name).c_str(), nullptr)) << name;
    List->ChangeDirectory(folder);
    std::vector<std::string> items = Items();
    EXPECT_EQ(std::vector<std::string>(items.end() - 3, items.end()),
              (std::vector<std::string>{"ab", "abc", "abcd"}));

    EXPECT_EQ(Open("ab"), std::vector<std::string>{});
    EXPECT_EQ(List->ActivePath, folder + "\\ab");
    EXPECT_EQ(Items().back(), "ab") << "a folder this deep lists no subfolders";
    EXPECT_EQ(Form1->Edit1->Text(), folder + "\\ab");
    {
        TMessageBoxWatcher watcher;
        Press(Form1->RxSpeedButton2);
        EXPECT_TRUE(watcher.Boxes().empty()) << "the destination of 258 characters exists";
    }
    EXPECT_TRUE(ArchiverRan()) << "and the archiver starts there";
    List->SetItemIndex(List->ItemIndex() - 1);
    EXPECT_EQ(Enter(), std::vector<std::string>{});
    EXPECT_EQ(List->ActivePath, folder);

    ExpectFailedOpen("abc", "I/O error 206.");
    ExpectFailedOpen("abcd", "I/O error 206.");
    EXPECT_EQ(Open("ab"), std::vector<std::string>{}) << "nothing broke";
    EXPECT_EQ(List->ActivePath, folder + "\\ab");
}

TEST_F(DirectoryListOnDisk, AFolderNamedInLettersTheCodePageCannotSpell) {
    // "Żółw Жук": the Polish letters are in code page 1250, the Cyrillic ones are not.
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, Scratch.Path.c_str(), -1, wide, MAX_PATH);
    std::wstring name = std::wstring(wide) + L"\\\u017B\u00F3\u0142w \u0416\u0443\u043A";
    ASSERT_TRUE(CreateDirectoryW(name.c_str(), nullptr));
    List->ChangeDirectory(Scratch.Path + "\\Alpha");
    List->ChangeDirectory(Scratch.Path);
    const std::string reported = "\xAF\xF3\xB3w ???";
    EXPECT_EQ(Items().back(), reported) << "listed as the platform spells it";
    // The platform's answer for a name with wildcards; not the folder around it instead.
    ExpectFailedOpen(reported, "I/O error 123.");
    UpdateWindow(List->Handle());
    EXPECT_EQ(Open("Alpha"), std::vector<std::string>{});
    EXPECT_EQ(Form1->Edit1->Text(), Scratch.Path + "\\Alpha");
}

TEST_F(DirectoryListOnDisk, AFolderNamedInLookAlikesOfSeparatorsAndLettersIsNoWayElsewhere) {
    // "a＼..＼..＼arch" spelled with look-alikes is "a\..\..\arch", which leads two folders up;
    // "ĉ" is spelled "c", the name of a real folder beside it.
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, Scratch.Path.c_str(), -1, wide, MAX_PATH);
    for (const wchar_t* name : {L"\\a\uFF3C..\uFF3C..\uFF3Carch", L"\\\u0109", L"\\c"})
        ASSERT_TRUE(CreateDirectoryW((std::wstring(wide) + name).c_str(), nullptr));
    CreateDirectoryA((Scratch.Path + "\\c\\inner").c_str(), nullptr);
    List->ChangeDirectory(Scratch.Path + "\\Alpha");
    List->ChangeDirectory(Scratch.Path);
    std::vector<std::string> items = Items();
    EXPECT_EQ(std::count(items.begin(), items.end(), "c"), 1) << "listed once";
    ExpectFailedOpen("a\\..\\..\\arch", "I/O error 123.");
    EXPECT_EQ(Open("c"), std::vector<std::string>{});
    EXPECT_EQ(List->ActivePath, Scratch.Path + "\\c") << "the real folder c";
    EXPECT_EQ(Items().back(), "inner");
}
