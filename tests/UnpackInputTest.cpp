#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "SimulatedMachine.h"
#include "main/UnpackCommand.h"

#include <shlobj.h>
#include <tuple>

namespace {

const std::string Warning = "Wskazany katalog docelowy nie istnieje!";
const std::string Archive = "C:\\ARCH\\DATA.ACE";
using Strings = std::vector<std::string>;

// What one "Rozpakuj" did.
struct TUnpacked {
    std::string Command;   // the command line the program built
    Strings Arguments;     // as the archiver's runtime split the line it received
    std::string Directory; // the archiver's current directory
    Strings Boxes;         // the texts of the boxes shown meanwhile
};

// "Rozpakuj" with the real stand-in archiver, which records what reached it.
class UnpackInput : public MainWindow {
  protected:
    TUnpacked Unpack(const std::string& destination, const std::string& archive = Archive) {
        DeleteFileA((Scratch.Path + "\\ace.log").c_str());
        Form1->OpenDialog1->FileName = archive;
        Form1->Edit1->SetText(destination);
        TUnpacked unpacked;
        {
            TMessageBoxWatcher watcher;
            Press(Form1->RxSpeedButton2);
            for (const TMessageBoxWatcher::TBox& box : watcher.Boxes())
                unpacked.Boxes.push_back(box.Text);
        }
        unpacked.Command = UnpackCommand;
        EXPECT_TRUE(ArchiverRan()) << destination;
        std::istringstream record(Scratch.Read("ace.log"));
        for (std::string line; std::getline(record, line);)
            if (line.rfind("arg", 0) == 0 && line.rfind("argc=", 0) != 0)
                unpacked.Arguments.push_back(line.substr(line.find('=') + 1));
            else if (line.rfind("cwd=", 0) == 0)
                unpacked.Directory = line.substr(4);
        return unpacked;
    }
    // Makes a folder in the scratch folder and returns its full path.
    std::string Folder(const std::string& name) const {
        std::string path = Scratch.Path + "\\" + name;
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
};

// The open dialog's platform function: chooses the path in GChoice, or when that is empty the
// longest path the request's buffer takes.
std::string GChoice;
BOOL WINAPI ChooseArchive(LPOPENFILENAMEA request) {
    std::string path =
        GChoice.empty() ? "C:\\" + std::string(request->nMaxFile - 1 - 7, 'A') + ".ACE" : GChoice;
    lstrcpynA(request->lpstrFile, path.c_str(), int(request->nMaxFile));
    return TRUE;
}

int TextWidth(const TFont& font, const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), int(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

} // namespace

TEST_F(UnpackInput, BlanksAndTrailingBackslashesReachTheArchiverAsTyped) {
    std::string out = Folder("my  out");
    TUnpacked blanks = Unpack("   ");
    EXPECT_EQ(blanks.Command, "ace32.exe x -v " + Archive + " \"   \"");
    EXPECT_EQ(blanks.Arguments, (Strings{"x", "-v", Archive, "   "}));
    EXPECT_EQ(blanks.Boxes, Strings{Warning});

    TUnpacked trailing = Unpack(out + " ");
    EXPECT_EQ(trailing.Command, "ace32.exe x -v " + Archive + " \"" + out + " \"");
    EXPECT_EQ(trailing.Arguments, (Strings{"x", "-v", Archive, out + " "}));
    EXPECT_EQ(trailing.Boxes, Strings{})
        << "the platform drops a trailing blank: the folder exists";

    TUnpacked leading = Unpack(" " + out);
    EXPECT_EQ(leading.Arguments, (Strings{"x", "-v", Archive, " " + out}));
    EXPECT_EQ(leading.Boxes, Strings{Warning}) << "a leading blank names no folder";

    TUnpacked backslash = Unpack(Scratch.Path + "\\");
    EXPECT_EQ(backslash.Command, "ace32.exe x -v " + Archive + " " + Scratch.Path + "\\");
    EXPECT_EQ(backslash.Arguments, (Strings{"x", "-v", Archive, Scratch.Path + "\\"}));
    EXPECT_EQ(backslash.Boxes, Strings{});

    TUnpacked both = Unpack(out + "\\");
    EXPECT_EQ(both.Command, "ace32.exe x -v " + Archive + " \"" + out + "\\\\\"")
        << "the backslash doubled, so that it does not take the closing quote";
    EXPECT_EQ(both.Arguments, (Strings{"x", "-v", Archive, out + "\\"}));
    EXPECT_EQ(both.Boxes, Strings{});
}

TEST_F(UnpackInput, TabsAmpersandsAndDoubleQuotesReachTheArchiverUnchanged) {
    TUnpacked tab = Unpack(Scratch.Path + "\\a\tb");
    EXPECT_EQ(tab.Command, "ace32.exe x -v " + Archive + " \"" + Scratch.Path + "\\a\tb\"");
    EXPECT_EQ(tab.Arguments, (Strings{"x", "-v", Archive, Scratch.Path + "\\a\tb"}));
    EXPECT_EQ(tab.Boxes, Strings{Warning});

    std::string ampersand = Folder("a&b");
    TUnpacked amp = Unpack(ampersand);
    EXPECT_EQ(amp.Command, "ace32.exe x -v " + Archive + " " + ampersand)
        << "no shell: no escaping";
    EXPECT_EQ(amp.Arguments, (Strings{"x", "-v", Archive, ampersand}));
    EXPECT_EQ(amp.Boxes, Strings{});

    TUnpacked quote = Unpack("C:\\SAY\"HI");
    EXPECT_EQ(quote.Command, "ace32.exe x -v " + Archive + " \"C:\\SAY\\\"HI\"");
    EXPECT_EQ(quote.Arguments, (Strings{"x", "-v", Archive, "C:\\SAY\"HI"}));
    EXPECT_EQ(quote.Boxes, Strings{Warning});

    std::string out = Folder("my  out");
    TUnpacked enclosed = Unpack("\"" + out + "\"");
    EXPECT_EQ(enclosed.Command, "ace32.exe x -v " + Archive + " \"" + out + "\"");
    EXPECT_EQ(enclosed.Arguments, (Strings{"x", "-v", Archive, out}));
    EXPECT_EQ(enclosed.Boxes, Strings{}) << "the folder the archiver receives exists";

    TUnpacked parts = Unpack("\"" + out + "\" -y \"X\"");
    EXPECT_EQ(parts.Command, "ace32.exe x -v " + Archive + " \"\\\"" + out + "\\\" -y \\\"X\\\"\"");
    EXPECT_EQ(parts.Arguments, (Strings{"x", "-v", Archive, "\"" + out + "\" -y \"X\""}))
        << "quotes around parts of the text make no arguments of their own";
    EXPECT_EQ(parts.Boxes, Strings{Warning});

    TUnpacked open = Unpack("\"" + out + "\\\"");
    EXPECT_EQ(open.Arguments, (Strings{"x", "-v", Archive, "\"" + out + "\\\""}))
        << "a backslash before the closing quote would take it: the text goes whole";
    EXPECT_EQ(open.Boxes, Strings{Warning});
}

TEST_F(UnpackInput, LongRelativeNetworkAndPolishDestinations) {
    std::string long300 = "C:\\" + std::string(297, 'x');
    TUnpacked longest = Unpack(long300);
    EXPECT_EQ(longest.Command, "ace32.exe x -v " + Archive + " " + long300);
    EXPECT_EQ(longest.Arguments, (Strings{"x", "-v", Archive, long300}));
    EXPECT_EQ(longest.Boxes, Strings{Warning});
    EXPECT_EQ(Form1->Edit1->Text(), long300) << "the field holds all 300 characters";

    TUnpacked relative = Unpack("beta");
    EXPECT_EQ(relative.Command, "ace32.exe x -v " + Archive + " beta");
    EXPECT_EQ(relative.Directory, Scratch.Path) << "resolved by the archiver where it was tested";
    EXPECT_EQ(relative.Boxes, Strings{});
    EXPECT_EQ(Unpack("..\\tolvo-no-such-folder").Boxes, Strings{Warning});

    TUnpacked network = Unpack("\\\\NOSERVER\\SHARE\\OUT");
    EXPECT_EQ(network.Command, "ace32.exe x -v " + Archive + " \\\\NOSERVER\\SHARE\\OUT");
    EXPECT_EQ(network.Arguments, (Strings{"x", "-v", Archive, "\\\\NOSERVER\\SHARE\\OUT"}));
    EXPECT_EQ(network.Boxes, Strings{Warning});

    std::string polish = Folder("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9"); // "Zażółć gęślą"
    TUnpacked letters = Unpack(polish);
    EXPECT_EQ(letters.Command, "ace32.exe x -v " + Archive + " \"" + polish + "\"");
    EXPECT_EQ(letters.Arguments, (Strings{"x", "-v", Archive, polish}));
    EXPECT_EQ(letters.Boxes, Strings{});
}

TEST_F(UnpackInput, ArchivePathsWithAnAmpersandBlanksAndTheLongestTheDialogReturns) {
    Form1->OpenDialog1->OpenFunction = ChooseArchive;
    GChoice = "C:\\A&B\\X.ACE";
    Press(Form1->RxSpeedButton1);
    EXPECT_EQ(Form1->Label2->Caption(), "C:\\A&B\\X.ACE");
    EXPECT_EQ(Form1->Label2->Width(), TextWidth(Form1->Label2->Font(), "C:\\AB\\X.ACE"))
        << "the ampersand marks the next letter and is not drawn";
    TUnpacked amp = Unpack(Scratch.Path, Form1->OpenDialog1->FileName);
    EXPECT_EQ(amp.Command, "ace32.exe x -v C:\\A&B\\X.ACE " + Scratch.Path);
    EXPECT_EQ(amp.Arguments, (Strings{"x", "-v", "C:\\A&B\\X.ACE", Scratch.Path}));

    TUnpacked blanks = Unpack(Scratch.Path, "C:\\MY ARCH\\DATA.ACE");
    EXPECT_EQ(blanks.Command, "ace32.exe x -v \"C:\\MY ARCH\\DATA.ACE\" " + Scratch.Path);
    EXPECT_EQ(blanks.Arguments, (Strings{"x", "-v", "C:\\MY ARCH\\DATA.ACE", Scratch.Path}));

    GChoice.clear();
    Press(Form1->RxSpeedButton1);
    std::string longest = Form1->OpenDialog1->FileName;
    EXPECT_EQ(longest.size(), 259u) << "all the dialog's buffer holds";
    EXPECT_EQ(Form1->Label2->Caption(), longest);
    EXPECT_GT(Form1->Label2->Left() + Form1->Label2->Width(), Form1->GroupBox1->Width())
        << "wider than its group, which cuts it off";
    TUnpacked whole = Unpack(Scratch.Path, longest);
    EXPECT_EQ(whole.Command, "ace32.exe x -v " + longest + " " + Scratch.Path);
    EXPECT_EQ(whole.Arguments, (Strings{"x", "-v", longest, Scratch.Path}));
    EXPECT_EQ(whole.Boxes, Strings{});
}

namespace {

// The program started with the arguments: kept and posted as the start-up does, taken as the
// loop takes the message; between the two, what the test gives happens.
Strings OpenWith(
    const std::vector<std::wstring>& arguments, const std::function<void()>& meanwhile = [] {}) {
    return BoxTexts([&] {
        Form1->TakeArgumentsWhenShown(arguments);
        meanwhile();
        PumpMessages();
    });
}

// The main window on a simulated machine, which records every start of the archiver.
class UnpackOnSimulatedMachine : public MainWindow {
  protected:
    UnpackOnSimulatedMachine() {
        Machine.AddDrive('C', {});
        Machine.AddDirectory("C:\\WORK");
        Machine.AddDirectory("\\\\SERVER\\DATA\\OUT");
        Machine.AddFile(ArchiverSearch().ProgramFolder + "ace32.exe");
        Machine.StartIn("C:\\WORK");
    }
    // The texts of the boxes one "Rozpakuj" shows.
    Strings Unpack(const std::string& destination) {
        Form1->Edit1->SetText(destination);
        return BoxTexts([] { Press(Form1->RxSpeedButton2); });
    }
    TSimulatedMachine Machine;
};

} // namespace

TEST_F(UnpackOnSimulatedMachine, ADeviceNameGetsTheWarningAndNothingElse) {
    for (const char* device :
         {"CON", "NUL", "nul", "C:\\WORK\\NUL", "con.txt", "CON:", "\"NUL\""}) {
        EXPECT_EQ(Unpack(device), Strings{Warning}) << device;
        EXPECT_EQ(UnpackCommand, "ace32.exe x -v  " + std::string(device));
    }
    EXPECT_TRUE(Machine.Started.empty()) << "the archiver was never started";
    Machine.AddDirectory("C:\\WORK\\CONSOLE");
    EXPECT_EQ(Unpack("CONSOLE"), Strings{}) << "a folder named like a device is a folder";
    ASSERT_EQ(Machine.Started.size(), 1u);
    EXPECT_EQ(Machine.Started[0].second, "ace32.exe x -v  CONSOLE");
}

TEST_F(UnpackOnSimulatedMachine, AnArchiverThatCannotBeStartedIsReportedAndNothingFollows) {
    const std::string notFound = "Nie znaleziono programu ace32.exe. Umieść go w folderze programu "
                                 "Tolvo lub w folderze wskazanym w zmiennej PATH.";
    const std::string refused = "Nie można uruchomić programu ace32.exe: ";
    std::string beside = ArchiverSearch().ProgramFolder + "ace32.exe";
    Machine.Remove(beside);
    EXPECT_EQ(Unpack("C:\\NOWHERE"), Strings{notFound}) << "no warning about the destination";
    EXPECT_EQ(UnpackCommand, "ace32.exe x -v  C:\\NOWHERE") << "the command is built all the same";

    Machine.AddDirectory(beside);
    EXPECT_EQ(Unpack("C:\\WORK"), Strings{refused + SystemErrorMessage(ERROR_ACCESS_DENIED) + "."})
        << "a folder of that name, where nothing else is";
    std::string inStartup = StartupDirectory() + "\\ace32.exe";
    Machine.AddFile(inStartup);
    EXPECT_EQ(Unpack("C:\\WORK"), Strings{}) << "a folder of that name is passed over";
    ASSERT_EQ(Machine.Started.size(), 1u);
    EXPECT_EQ(Machine.Started[0].first, inStartup);

    Machine.RefuseStart(inStartup, ERROR_BAD_EXE_FORMAT);
    EXPECT_EQ(Unpack("C:\\NOWHERE"),
              Strings{refused + SystemErrorMessage(ERROR_BAD_EXE_FORMAT, inStartup) + "."});
    EXPECT_EQ(Machine.Started.size(), 1u) << "nothing more was started";
}

TEST(SystemErrorMessage, ThePlatformsTextWithoutItsFullStopAndLineBreak) {
    // (The text for a file that is no program names it where "%1" stands: below.)
    for (DWORD code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED}) {
        char raw[512] = "";
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                       raw, sizeof raw, nullptr);
        std::string text = SystemErrorMessage(code);
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_EQ(std::string(raw).rfind(text, 0), 0u) << raw;
        EXPECT_EQ(std::string(".\r\n ").find(text.back()), std::string::npos) << text;
    }
    EXPECT_EQ(SystemErrorMessage(0x2FFFFFFF), "805306367") << "no text: the code";
    std::string named = SystemErrorMessage(ERROR_BAD_EXE_FORMAT, "C:\\X\\ace32.exe");
    EXPECT_EQ(named.find("%1"), std::string::npos);
    EXPECT_EQ(std::string(".\r\n ").find(named.back()), std::string::npos) << named;
    EXPECT_NE(named.find("C:\\X\\ace32.exe"), std::string::npos)
        << "the program named where the text names it";
}

TEST_F(UnpackOnSimulatedMachine, ANetworkDestinationIsLookedForOnItsShare) {
    EXPECT_EQ(Unpack("\\\\SERVER\\DATA\\OUT"), Strings{});
    EXPECT_EQ(Unpack("\\\\SERVER\\GONE\\OUT"), Strings{Warning});
    EXPECT_EQ(Unpack("\\\\SERVER\\DATA\\OUT\\"), Strings{});
    ASSERT_EQ(Machine.Started.size(), 3u) << "the archiver is started for each";
    EXPECT_EQ(Machine.Started[0].first, ArchiverSearch().ProgramFolder + "ace32.exe");
    EXPECT_EQ(Machine.Started[0].second, "ace32.exe x -v  \\\\SERVER\\DATA\\OUT");
    EXPECT_EQ(Machine.Started[1].second, "ace32.exe x -v  \\\\SERVER\\GONE\\OUT");
}

namespace {

const std::string Unspellable =
    "Nazwy tego pliku nie można zapisać w stronie kodowej systemu. Wybierz plik o innej nazwie.";

// Files and folders dropped on the main window through the platform's message, as a file
// manager drops them; returns the texts of the boxes shown.
Strings Drop(const std::vector<std::wstring>& items) {
    std::wstring names;
    for (const std::wstring& item : items)
        names += item + L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(memory);
    return BoxTexts([&] { SendMessageW(Form1->Handle(), WM_DROPFILES, WPARAM(memory), 0); });
}

// Replaces the field's text by pasting: the way in for what the code page cannot spell.
void Paste(HWND field, const std::wstring& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::copy(text.c_str(), text.c_str() + text.size() + 1,
              static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    ASSERT_TRUE(OpenClipboard(field));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(field, EM_SETSEL, 0, -1);
    SendMessageW(field, WM_PASTE, 0, 0);
}

// The open dialog's platform function: notes the name it is offered and is cancelled.
std::string GOffered;
BOOL WINAPI LookAndCancel(LPOPENFILENAMEA request) {
    GOffered = request->lpstrFile;
    return FALSE;
}

// The archive and the destination as the user sees them.
std::tuple<std::string, std::string, std::string> Chosen() {
    return {Form1->OpenDialog1->FileName, Form1->Label2->Caption(), Form1->Edit1->Text()};
}

} // namespace

TEST_F(UnpackOnSimulatedMachine, ChosenFilesAreTakenInTheirShortFormWhereThePlatformHasOne) {
    Machine.AddFile("C:\\WORK\\Long name.ace");
    Machine.ShortPaths[L"C:\\WORK\\Long name.ace"] = L"C:\\WORK\\LONGNA~1.ACE";
    Form1->OpenDialog1->OpenFunction = ChooseArchive;
    GChoice = "C:\\WORK\\Long name.ace";
    Press(Form1->RxSpeedButton1);
    EXPECT_EQ(Chosen(),
              std::make_tuple(std::string("C:\\WORK\\LONGNA~1.ACE"),
                              std::string("C:\\WORK\\LONGNA~1.ACE"), Form1->Edit1->Text()));
    // The 8-bit answer of a dialog that lost letters names no file: refused, nothing changes.
    GChoice = "C:\\WORK\\???.ace";
    auto before = Chosen();
    {
        TMessageBoxWatcher watcher;
        Press(Form1->RxSpeedButton1);
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].Text, Unspellable);
    }
    EXPECT_EQ(Chosen(), before);
    // A device is never an archive, whichever door it comes through.
    for (const char* device : {"C:\\WORK\\CON", "C:\\WORK\\com1.ace", "\\\\.\\NUL"}) {
        GChoice = device;
        EXPECT_EQ(BoxTexts([] { Press(Form1->RxSpeedButton1); }), Strings{"File not found."});
    }
    EXPECT_EQ(Chosen(), before);
    EXPECT_EQ(Form1->OpenDialog1->FilterIndex, 1);
    GChoice.clear();
}

TEST_F(UnpackOnSimulatedMachine, DroppedFilesAndFolders) {
    Machine.AddDirectory("C:\\IN\\A__~1");
    Machine.AddFile("C:\\IN\\DATA.ACE");
    Machine.AddFile("C:\\IN\\notes.zip");
    Machine.AddFile("C:\\IN\\___~1.ACE");
    Machine.ShortPaths[L"C:\\IN\\\u0416\u0443\u043A.ace"] = L"C:\\IN\\___~1.ACE";
    Machine.ShortPaths[L"C:\\IN\\a\uFF3C..\uFF3Carch"] = L"C:\\IN\\A__~1";
    auto chosen = [](std::string archive, std::string destination) {
        return std::make_tuple(archive, archive, destination);
    };
    Form1->Edit1->SetText("C:\\WORK");
    const char* start = "C:\\WORK";

    EXPECT_EQ(Drop({L"C:\\IN\\notes.zip"}), Strings{}) << "any extension";
    EXPECT_EQ(Chosen(), chosen("C:\\IN\\notes.zip", start));
    Form1->OpenDialog1->OpenFunction = LookAndCancel;
    Press(Form1->RxSpeedButton1);
    EXPECT_EQ(GOffered, "C:\\IN\\notes.zip") << "the dialog offers it next time";
    EXPECT_EQ(Drop({L"C:\\IN", L"C:\\IN\\DATA.ACE", L"C:\\IN\\notes.zip"}), Strings{});
    EXPECT_EQ(Chosen(), chosen("C:\\IN\\DATA.ACE", start)) << "the first file; no move";
    EXPECT_EQ(Drop({L"C:\\IN\\\u0416\u0443\u043A.ace"}), Strings{});
    EXPECT_EQ(Chosen(), chosen("C:\\IN\\___~1.ACE", start)) << "its short form";
    EXPECT_EQ(Unpack(start), Strings{});
    EXPECT_EQ(UnpackCommand, "ace32.exe x -v C:\\IN\\___~1.ACE C:\\WORK");

    // Refused: nothing changes.
    auto before = Chosen();
    EXPECT_EQ(Drop({L"C:\\IN\\gone.ace"}), Strings{"File not found."});
    EXPECT_EQ(Drop({L"C:\\IN\\\u0109.ace"}), Strings{Unspellable}) << "no short form";
    EXPECT_EQ(Drop({L"C:\\WORK", L"C:\\IN\\gone.ace", L"C:\\IN\\DATA.ACE"}),
              Strings{"File not found."})
        << "the file meant first is not passed over";
    EXPECT_EQ(Drop({L"C:\\IN\\a\uFF3C..\uFF3Carch"}), Strings{"I/O error 123."})
        << "a folder the tree cannot spell";
    EnableWindow(Form1->Handle(), FALSE);
    EXPECT_EQ(Drop({L"C:\\IN\\notes.zip"}), Strings{}) << "a locked window takes no drop";
    EnableWindow(Form1->Handle(), TRUE);
    EXPECT_EQ(Chosen(), before);

    // Folders only: the tree moves to the first, and the destination follows it.
    EXPECT_EQ(Drop({L"C:\\IN", L"C:\\WORK"}), Strings{});
    EXPECT_EQ(Form1->DirectoryListBox1->ActivePath, "C:\\IN");
    EXPECT_EQ(Chosen(), chosen("C:\\IN\\___~1.ACE", "C:\\IN"));
}

// Replaces the field's text by typing it: each character comes through the application's loop
// as a keyboard's would after translation.
static void Type(TApplication& application, HWND field, const std::wstring& text) {
    SendMessageW(field, EM_SETSEL, 0, -1);
    for (wchar_t c : text)
        PostMessageW(field, WM_CHAR, c, 1);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        application.HandleMessage();
}

TEST_F(UnpackOnSimulatedMachine, TheArgumentsAreTakenAsADropOfTheOneItemTheyName) {
    Machine.AddDirectory("C:\\IN");
    Machine.AddFile("C:\\IN\\MYARCH~1.ACE");
    Machine.AddFile("C:\\IN\\DATA.ACE");
    Machine.AddFile("C:\\WORK\\plik.ace");
    Machine.ShortPaths[L"C:\\IN\\My archive.ace"] = L"C:\\IN\\MYARCH~1.ACE";
    Form1->Edit1->SetText("C:\\WORK");
    const std::string notFound = "File not found.";
    const std::string unchanged;
    struct TCase {
        std::vector<std::wstring> Arguments;
        std::string Box;     // the one box shown, or none
        std::string Archive; // the archive taken, or unchanged
    };
    const TCase cases[] = {
        {{}, "", unchanged},
        {{L"C:\\IN\\My archive.ace"}, "", "C:\\IN\\MYARCH~1.ACE"},
        {{L"C:\\IN\\DATA.ACE"}, "", "C:\\IN\\DATA.ACE"},
        // Unquoted, as old "Open with" entries pass a path with blanks: the item joined again.
        {{L"C:\\IN\\My", L"archive.ace"}, "", "C:\\IN\\MYARCH~1.ACE"},
        {{L"C:\\IN\\DATA.ACE", L"C:\\IN\\My archive.ace"},
         "Można podać tylko jedno archiwum. Ścieżkę ze spacjami należy ująć w cudzysłów.",
         unchanged},
        {{L"C:\\IN\\gone.ace"}, notFound, unchanged},
        {{L"C:\\IN\\\u0109.ace"}, Unspellable, unchanged},
        {{std::wstring(300, L'a')}, notFound, unchanged}, // too long to be made full
        // Devices are never archives, whatever their spelling.
        {{L"CON"}, notFound, unchanged},
        {{L"\\\\.\\CON"}, notFound, unchanged},
        {{L"nul.ace"}, notFound, unchanged},
        {{L"C:\\IN\\COM1.ace"}, notFound, unchanged},
        {{L"lpt9"}, notFound, unchanged},
        {{L"\\\\.\\PhysicalDrive0"}, notFound, unchanged},
        // The platform's own namespaces: the plain path, in its short form.
        {{L"\\\\?\\C:\\IN\\DATA.ACE"}, "", "C:\\IN\\DATA.ACE"},
        {{L"\\\\.\\C:\\IN\\My archive.ace"}, "", "C:\\IN\\MYARCH~1.ACE"},
        // Names no file may have are refused as such, not as names the code page cannot spell.
        {{L"a*.ace"}, "Nieprawidłowa nazwa pliku: C:\\WORK\\a*.ace.", unchanged},
        {{L"C:\\IN\\?.ace"}, "Nieprawidłowa nazwa pliku: C:\\IN\\?.ace.", unchanged},
        {{L"C:\\IN\\a|b.ace"}, "Nieprawidłowa nazwa pliku: C:\\IN\\a|b.ace.", unchanged},
        {{L"/?"},
         "Tolvo rozpakowuje archiwa ACE programem ace32.exe.\n\ntolvo.exe [archiwum | folder]\n\n"
         "Podane archiwum zostaje wybrane do rozpakowania, tak jak przyciskiem \"Otwórz\"; "
         "podany folder staje się katalogiem docelowym.",
         unchanged},
        {{L"/s"},
         "Nieznany przełącznik /s. Tolvo przyjmuje jeden argument: archiwum albo folder.",
         unchanged},
        {{L"C:\\IN\\DATA.ACE", L"--help"},
         "Nieznany przełącznik --help. Tolvo przyjmuje jeden argument: archiwum albo folder.",
         unchanged},
    };
    for (const TCase& test : cases) {
        Form1->OpenDialog1->FileName = "before";
        Strings expected = test.Box.empty() ? Strings{} : Strings{test.Box};
        std::string archive = test.Archive.empty() ? "before" : test.Archive;
        std::wstring first = test.Arguments.empty() ? L"" : test.Arguments[0];
        EXPECT_EQ(OpenWith(test.Arguments), expected) << PlatformSpelling(first, CP_UTF8);
        EXPECT_EQ(Form1->OpenDialog1->FileName, archive) << PlatformSpelling(first, CP_UTF8);
    }
    EXPECT_EQ(Unpack("C:\\WORK"), Strings{});
    EXPECT_EQ(UnpackCommand, "ace32.exe x -v before C:\\WORK");

    // A relative name is made full against the folder the program started in, even when the
    // current folder changes before the message is taken.
    EXPECT_EQ(OpenWith({L"plik.ace"}, [&] { Machine.ChangeDirectory("C:\\IN"); }), Strings{});
    EXPECT_EQ(Form1->Label2->Caption(), "C:\\WORK\\plik.ace");
    EXPECT_EQ(OpenWith({L"C:\\IN"}), Strings{});
    EXPECT_EQ(Form1->DirectoryListBox1->ActivePath, "C:\\IN") << "a folder moves the tree";
    EXPECT_EQ(Form1->Edit1->Text(), "C:\\IN");
    // The platform splits the command line: a quoted path with blanks is one argument. Without
    // arguments, the splitting is not even asked for.
    const std::pair<const wchar_t*, std::vector<std::wstring>> lines[] = {
        {L"\"C:\\Program Files\\Tolvo\\tolvo.exe\" \"C:\\IN\\My archive.ace\" x",
         {L"C:\\IN\\My archive.ace", L"x"}},
        {L"\"C:\\Program Files\\Tolvo\\tolvo.exe\"", {}},
        {L"\"C:\\Program Files\\Tolvo\\tolvo.exe\"  \t ", {}},
        {L"\"C:\\Program Files\\Tolvo\\tolvo.exe\"a.ace", {L"a.ace"}},
        {L"tolvo.exe", {}},
        {L"tolvo.exe \t", {}},
        {L"tolvo.exe\ta.ace", {L"a.ace"}},
        {L"\"tolvo.exe", {}},
    };
    for (const auto& [line, arguments] : lines)
        EXPECT_EQ(ProgramArguments(line), arguments) << PlatformSpelling(line, CP_UTF8);
}

// Another program that posts a message of the common application range reaches nothing of the
// start-up: the arguments are taken once, by the program's own message.
TEST_F(UnpackOnSimulatedMachine, AForeignMessageTakesNothing) {
    Machine.AddFile("C:\\WORK\\plik.ace");
    Form1->OpenDialog1->FileName = "before";
    for (LPARAM lParam : {LPARAM(0), LPARAM(0x10), LPARAM(0x7fff0000)})
        PostMessageW(Form1->Handle(), WM_APP, 0, lParam);
    EXPECT_EQ(BoxTexts([] { PumpMessages(); }), Strings{});
    EXPECT_EQ(OpenWith({L"plik.ace"}), Strings{});
    EXPECT_EQ(BoxTexts([] { PostMessageW(Form1->Handle(), WM_APP, 0, 0x10), PumpMessages(); }),
              Strings{});
    EXPECT_EQ(Form1->OpenDialog1->FileName, "C:\\WORK\\plik.ace");
}

TEST_F(UnpackInput, ARelativeArgumentKeepsNamingItsFileWhereverTheTreeMoves) {
    Scratch.Write("plik.ace", "");
    EXPECT_EQ(OpenWith({L"plik.ace"}), Strings{});
    Form1->DirectoryListBox1->ChangeDirectory(Scratch.Path + "\\beta");
    EXPECT_NE(GetFileAttributesA(Form1->OpenDialog1->FileName.c_str()), INVALID_FILE_ATTRIBUTES)
        << Form1->OpenDialog1->FileName;
    EXPECT_EQ(Form1->Label2->Caption(), Form1->OpenDialog1->FileName);
}

TEST_F(UnpackOnSimulatedMachine, ADestinationTheCodePageCannotSpellStartsNothing) {
    EXPECT_EQ(Unpack("C:\\WORK"), Strings{});
    std::string command = UnpackCommand;
    HWND field = Form1->Edit1->Handle();
    auto set = [](HWND window, const std::wstring& text) {
        SendMessageW(window, WM_SETTEXT, 0, LPARAM(text.c_str()));
    };
    auto type = [this](HWND window, const std::wstring& text) { Type(*App, window, text); };
    using TEnter = std::function<void(HWND, const std::wstring&)>;
    for (const TEnter& enter : {TEnter(Paste), TEnter(type), TEnter(set)})
        for (const wchar_t* text : {L"C:\\WORK\\\u0109", L"C:\\WORK\uFF3Cx", L"C:\\\u732B"}) {
            enter(field, text);
            EXPECT_EQ(Form1->Edit1->WideText(), text) << "the field holds what was entered";
            TMessageBoxWatcher watcher;
            Press(Form1->RxSpeedButton2);
            ASSERT_EQ(watcher.Boxes().size(), 1u);
            EXPECT_EQ(watcher.Boxes()[0].Text,
                      "Ścieżki docelowej nie można zapisać w stronie kodowej systemu.");
        }
    EXPECT_EQ(UnpackCommand, command);
    EXPECT_EQ(Machine.Started.size(), 1u) << "only the first press started the archiver";
    EXPECT_EQ(Form1->Edit1->Text(), "C:\\?") << "the 8-bit text spells it as the platform does";
    EXPECT_EQ(Unpack("C:\\WORK\\?"), Strings{Warning}) << "a typed \"?\" goes as today";
    EXPECT_EQ(Machine.Started.size(), 2u);
}
