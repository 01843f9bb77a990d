#include <gtest/gtest.h>

#include "main/UnpackCommand.h"

#include <set>
#include <windows.h>

TEST(UnpackCommand, JoinsTheArchiverArgumentsArchiveAndDestination) {
    EXPECT_EQ(BuildUnpackCommand("C:\\ARCH\\DATA.ACE", "C:\\OUT"),
              "ace32.exe x -v C:\\ARCH\\DATA.ACE C:\\OUT");
    EXPECT_EQ(BuildUnpackCommand("", "C:\\OUT"), "ace32.exe x -v  C:\\OUT")
        << "no archive chosen: two blanks in a row";
    EXPECT_EQ(BuildUnpackCommand("C:\\A&B\\X.ACE", "C:\\OUT"),
              "ace32.exe x -v C:\\A&B\\X.ACE C:\\OUT")
        << "an ampersand is passed unchanged";
    std::string longPath = "C:\\" + std::string(252, 'D') + "\\X.ACE";
    ASSERT_EQ(longPath.size(), 261u);
    EXPECT_EQ(BuildUnpackCommand(longPath, "C:\\OUT"), "ace32.exe x -v " + longPath + " C:\\OUT");
}

TEST(UnpackCommand, ArgumentsWithBlanksOrTabsReachTheArchiverWhole) {
    EXPECT_EQ(BuildUnpackCommand("C:\\ARCH\\DATA.ACE", "C:\\MY OUT"),
              "ace32.exe x -v C:\\ARCH\\DATA.ACE \"C:\\MY OUT\"");
    EXPECT_EQ(BuildUnpackCommand("C:\\MY ARCH\\DATA.ACE", "C:\\OUT"),
              "ace32.exe x -v \"C:\\MY ARCH\\DATA.ACE\" C:\\OUT");
    EXPECT_EQ(QuoteArgument("C:\\MY OUT\\"), "\"C:\\MY OUT\\\\\"")
        << "a trailing backslash is doubled so it does not escape the closing quote";
    EXPECT_EQ(QuoteArgument("C:\\A\tB"), "\"C:\\A\tB\"");
    EXPECT_EQ(QuoteArgument("\"C:\\MY OUT\""), "\"C:\\MY OUT\"") << "already quoted by the user";
    EXPECT_EQ(QuoteArgument("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(QuoteArgument("a\\\"b c"), "\"a\\\\\\\"b c\"") << "backslashes before a quote";
    EXPECT_EQ(QuoteArgument("a\\\\b c"), "\"a\\\\b c\"") << "other backslashes stay as they are";
    EXPECT_EQ(QuoteArgument(""), "");
}

TEST(UnpackCommand, DoubleQuotesNeverSplitOrSwallowArguments) {
    EXPECT_EQ(QuoteArgument("C:\\SAY\"HI"), "\"C:\\SAY\\\"HI\"")
        << "without blanks too: a lone quote would take the rest of the line";
    EXPECT_EQ(QuoteArgument("\"C:\\OUT\" -y \"X\""), "\"\\\"C:\\OUT\\\" -y \\\"X\\\"\"")
        << "quotes around parts are not the user's enclosing quotes";
    EXPECT_EQ(QuoteArgument("\"C:\\MY OUT\\\""), "\"\\\"C:\\MY OUT\\\\\\\"\"")
        << "a backslash before the closing quote would escape it";
    EXPECT_EQ(ArgumentAsReceived("\"C:\\MY OUT\""), "C:\\MY OUT");
    EXPECT_EQ(ArgumentAsReceived("\"\""), "");
    EXPECT_EQ(ArgumentAsReceived("\"C:\\OUT\" -y \"X\""), "\"C:\\OUT\" -y \"X\"");
    EXPECT_EQ(ArgumentAsReceived("\"C:\\OUT\\\""), "\"C:\\OUT\\\"");
    EXPECT_EQ(ArgumentAsReceived("\""), "\"");
    EXPECT_EQ(ArgumentAsReceived("C:\\OUT"), "C:\\OUT");
}

TEST(UnpackCommand, ReservedDeviceNamesInTheLastComponent) {
    for (const char* device :
         {"CON", "con", "Nul", "PRN", "AUX", "COM1", "lpt9", "CONIN$", "conout$", "nul.txt",
          "CON.tar.gz", "NUL  ", "CON:", "C:NUL", "C:\\OUT\\NUL", "\\\\SRV\\S\\nul", "dir/con"})
        EXPECT_TRUE(NamesDevice(device, 1250)) << device;
    for (const char* folder : {"", "CONSOLE", "NULL", "COM0", "COM10", "LPT", "C:\\NUL\\OUT",
                               "C:\\CON\\", "xCON", "C:\\OUT", "C:", "   "})
        EXPECT_FALSE(NamesDevice(folder, 1250)) << folder;
    // In code page 932 the pair 0x95 0x5C is one character, not a name and a separator.
    EXPECT_FALSE(NamesDevice("\x95\x5CNUL", 932));
    EXPECT_TRUE(NamesDevice("\x95\x5CNUL", 1250));
}

TEST(UnpackCommand, TheUntouchedPlaceholderIsOneQuotedArgument) {
    const std::string placeholder = "docelowy folder (format DOS - bez znak\xF3w spec.)";
    EXPECT_EQ(BuildUnpackCommand("", placeholder), "ace32.exe x -v  \"" + placeholder + "\"");
}

namespace {
struct TMachine {
    std::set<std::string> Files;
    std::string Find(const TArchiverSearch& search) const {
        return FindArchiver(search,
                            [this](const std::string& path) { return Files.count(path) > 0; });
    }
};

TArchiverSearch Search() {
    return {"C:\\PROG\\",
            "C:\\START",
            {"C:\\WINDOWS\\SYSTEM32", "C:\\WINDOWS"},
            "C:\\TOOLS;.;bin;;\"D:\\QUOTED DIR\";\\\\SERVER\\SHARE\\BIN"};
}
} // namespace

TEST(ArchiverSearch, LooksInTheProgramFolderStartupDirectorySystemFoldersThenThePath) {
    TMachine machine;
    machine.Files = {"C:\\PROG\\ace32.exe",
                     "C:\\START\\ace32.exe",
                     "C:\\WINDOWS\\SYSTEM32\\ace32.exe",
                     "C:\\WINDOWS\\ace32.exe",
                     "C:\\TOOLS\\ace32.exe",
                     "D:\\QUOTED DIR\\ace32.exe",
                     "\\\\SERVER\\SHARE\\BIN\\ace32.exe"};
    const char* order[] = {"C:\\PROG\\ace32.exe",
                           "C:\\START\\ace32.exe",
                           "C:\\WINDOWS\\SYSTEM32\\ace32.exe",
                           "C:\\WINDOWS\\ace32.exe",
                           "C:\\TOOLS\\ace32.exe",
                           "D:\\QUOTED DIR\\ace32.exe",
                           "\\\\SERVER\\SHARE\\BIN\\ace32.exe"};
    for (const char* expected : order) {
        EXPECT_EQ(machine.Find(Search()), expected);
        machine.Files.erase(expected);
    }
    EXPECT_EQ(machine.Find(Search()), "") << "none anywhere: nothing is started";
}

TEST(ArchiverSearch, NeverLooksInTheCurrentDirectory) {
    // Relative entries of the search path ("." or "bin") would resolve against the current
    // directory of the moment, which follows the folders the user browses.
    TMachine machine;
    machine.Files = {".\\ace32.exe", "bin\\ace32.exe", "ace32.exe", "\\ace32.exe"};
    EXPECT_EQ(machine.Find(Search()), "");
    TArchiverSearch relative{"", "", {}, ".;bin"};
    EXPECT_EQ(machine.Find(relative), "");
}

TEST(ArchiverSearch, TheProgramsOwnSearchStartsWithItsFolderAndTheStartupDirectory) {
    TArchiverSearch search = ArchiverSearch();
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder.erase(folder.find_last_of('\\') + 1);
    EXPECT_EQ(search.ProgramFolder, folder);
    EXPECT_EQ(search.StartupDirectory, StartupDirectory());
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_FALSE(search.SystemFolders.empty());
    EXPECT_EQ(search.SystemFolders[0], system);
}

class ExistingDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        Root = std::string(temp) + "tolvo-dir-test";
        CreateDirectoryA(Root.c_str(), nullptr);
        CreateDirectoryA((Root + "\\sub").c_str(), nullptr);
        CloseHandle(CreateFileA((Root + "\\file.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
        GetCurrentDirectoryA(MAX_PATH, Previous);
    }
    void TearDown() override {
        SetCurrentDirectoryA(Previous);
        DeleteFileA((Root + "\\file.txt").c_str());
        RemoveDirectoryA((Root + "\\sub").c_str());
        RemoveDirectoryA(Root.c_str());
    }
    std::string Root;
    char Previous[MAX_PATH];
};

TEST_F(ExistingDirectory, OnlyExistingDirectoriesPass) {
    EXPECT_TRUE(IsExistingDirectory(Root));
    EXPECT_TRUE(IsExistingDirectory("C:\\")) << "a drive root";
    EXPECT_FALSE(IsExistingDirectory(Root + "\\file.txt")) << "a file";
    EXPECT_FALSE(IsExistingDirectory("")) << "an empty text";
    EXPECT_FALSE(IsExistingDirectory(Root + "\\missing"));
    EXPECT_FALSE(IsExistingDirectory("docelowy folder (format DOS - bez znak\xF3w spec.)"));
    SetCurrentDirectoryA(Root.c_str());
    EXPECT_TRUE(IsExistingDirectory("sub")) << "relative to the current directory";
    EXPECT_FALSE(IsExistingDirectory("file.txt"));
}
