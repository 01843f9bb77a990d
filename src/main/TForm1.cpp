#include "TForm1.h"

#include "about/Readme.h"
#include "about/TForm3.h"
#include "framework/Machine.h"
#include "main/UnpackCommand.h"
#include "shell/Application.h"
#include "shell/MessageDialog.h"

#include <algorithm>
#include <utility>

TForm1* Form1 = nullptr;
std::string UnpackCommand;

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    RegisterHandler("RxSpeedButton1Click", [this](TObject* s) { RxSpeedButton1Click(s); });
    RegisterHandler("RxSpeedButton2Click", [this](TObject* s) { RxSpeedButton2Click(s); });
    RegisterHandler("RxSpeedButton3Click", [this](TObject* s) { RxSpeedButton3Click(s); });
    RegisterHandler("RxSpeedButton4Click", [this](TObject* s) { RxSpeedButton4Click(s); });
    RegisterHandler("DirectoryListBox1Change", [this](TObject* s) { DirectoryListBox1Change(s); });
    ReadDescription("TFORM1");
    Bind(Image1, "Image1");
    Bind(RxSpeedButton1, "RxSpeedButton1");
    Bind(RxSpeedButton2, "RxSpeedButton2");
    Bind(RxSpeedButton3, "RxSpeedButton3");
    Bind(RxSpeedButton4, "RxSpeedButton4");
    Bind(GroupBox1, "GroupBox1");
    Bind(Label2, "Label2");
    Bind(GroupBox2, "GroupBox2");
    Bind(Edit1, "Edit1");
    Bind(DirectoryListBox1, "DirectoryListBox1");
    Bind(DriveComboBox1, "DriveComboBox1");
    Bind(OpenDialog1, "OpenDialog1");
}

// "Otwórz": the label shows the stored archive path, whatever the user chose in the dialog.
void TForm1::RxSpeedButton1Click(TObject*) {
    OpenDialog1->RunDialog();
    Label2->SetCaption(OpenDialog1->FileName);
}

// "Rozpakuj": the archiver is started first; the warning about the destination comes after and
// is about the folder the archiver receives. An archiver that cannot be started is reported
// instead, and then there is nothing to warn about. A device is never a folder to unpack into: for
// one the warning is all that happens. A character the code page cannot spell would reach the
// archiver as a "?" or as a look-alike that names another folder: such a destination is refused
// before anything starts.
void TForm1::RxSpeedButton2Click(TObject*) {
    std::string text;
    if (!NarrowExactly(Edit1->WideText(), Machine().CodePage(), text))
        throw Exception("Ścieżki docelowej nie można zapisać w stronie kodowej systemu");
    UnpackCommand = BuildUnpackCommand(OpenDialog1->FileName, text);
    std::string destination = ArgumentAsReceived(text);
    if (!NamesDevice(destination, Machine().CodePage()))
        StartArchiver(UnpackCommand);
    if (!IsExistingDirectory(destination))
        ShowPlainMessage("Wskazany katalog docelowy nie istnieje!");
}

// "Wyjdź"
void TForm1::RxSpeedButton3Click(TObject*) { Application->RequestExit(); }

// "O programie": the readme is read anew at every click; a failed load leaves the window as it was.
// A window already shown only takes the new text: it is neither activated nor moved.
void TForm1::RxSpeedButton4Click(TObject*) {
    LoadReadme(Form3->Memo1->Lines());
    Form3->Show();
}

// The keyboard's way to the command buttons, which take no focus: Enter in the destination field
// is "Rozpakuj", Ctrl+O "Otwórz" and F1 "O programie" (the readme is the program's help). A held
// key acts once, at its first press: a repeated Enter must not start a second archiver. While a
// dialog has the window locked, a key still queued for it does nothing.
bool TForm1::IsShortCut(WPARAM key, LPARAM keyData) { return ClickForKey(KeyButton(key), keyData); }

TRxSpeedButton* TForm1::KeyButton(WPARAM key) const {
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0)
        return nullptr;
    bool control = GetKeyState(VK_CONTROL) < 0;
    if (key == VK_RETURN && !control && Edit1->Focused())
        return RxSpeedButton2;
    if (key == 'O' && control)
        return RxSpeedButton1;
    if (key == VK_F1 && !control)
        return RxSpeedButton4;
    return nullptr;
}

// The tree list moved: the destination field shows the full path of the shown directory.
void TForm1::DirectoryListBox1Change(TObject*) {
    Edit1->SetText(DirectoryListBox1->ItemPath(DirectoryListBox1->ItemIndex()));
}

// The window takes files dropped on it (the style the platform's drop registration sets).
void TForm1::CreateParams(TCreateParams& params) const {
    TForm::CreateParams(params);
    params.ExStyle |= WS_EX_ACCEPTFILES;
}

// Posted by the start-up once the arguments are kept: a message of the program's own, which no
// other program sends by accident, and which carries nothing (the arguments are taken once).
static UINT TakeArgumentsMessage() {
    static const UINT message = RegisterWindowMessageA("TolvoTakeArguments");
    return message;
}

static std::wstring JoinedByBlanks(const std::vector<std::wstring>& arguments) {
    std::wstring joined;
    for (const std::wstring& argument : arguments)
        joined += (joined.empty() ? L"" : L" ") + argument;
    return joined;
}

// A dropped item comes in full; the item of the arguments is made full the same way, so that
// browsing in the tree later does not change the archive a relative name names.
void TForm1::TakeArgumentsWhenShown(const std::vector<std::wstring>& arguments) {
    FArguments = arguments;
    std::wstring item = JoinedByBlanks(arguments);
    std::wstring full = item.empty() ? item : Machine().FullPath(item);
    FArgumentItem = full.empty() ? item : full;
    PostMessageA(Handle(), TakeArgumentsMessage(), 0, 0);
}

void TForm1::WndProc(TMessage& message) {
    if (message.Msg == TakeArgumentsMessage()) {
        TakeArguments();
        return;
    }
    if (message.Msg != WM_DROPFILES) {
        TForm::WndProc(message);
        return;
    }
    std::vector<std::wstring> items = TakeDroppedFiles(HDROP(message.WParam));
    // While a dialog or a message is up the window is locked: the drop is not for it.
    if (IsWindowEnabled(Handle()))
        TakeDropped(items);
}

namespace {
// A dropped item as the program can take it: the path in the chosen-file form, and its
// attributes (INVALID_FILE_ATTRIBUTES when it is missing, cannot be spelled or is a device).
struct TDroppedItem {
    std::wstring Path;
    std::string Spelled;
    bool Spellable;
    DWORD Attributes;
    explicit TDroppedItem(const std::wstring& path) : Path(PlainPath(path)) {
        Spellable = SpellChosenPath(Path, Spelled);
        Attributes = Spellable && !NamesDeviceFile(Spelled) ? Machine().FileAttributes(Spelled)
                                                            : INVALID_FILE_ATTRIBUTES;
    }
    bool Exists() const { return Attributes != INVALID_FILE_ATTRIBUTES; }
    bool IsFolder() const { return Exists() && (Attributes & FILE_ATTRIBUTE_DIRECTORY); }
};

// "/x" or "-x": a switch, which names no file (a path goes on past its first separator).
bool IsSwitch(const std::wstring& argument) {
    return argument.size() >= 2 && (argument[0] == L'/' || argument[0] == L'-') &&
           argument.find_first_of(L"\\/.:", 1) == std::wstring::npos;
}
} // namespace

// One argument, the item the program was opened with ("Open with", a file association), is taken
// as a drop of that item. Several that, joined by blanks, name an existing item are that item (an
// unquoted path with blanks, as old "Open with" entries pass it); otherwise they are refused, as
// is any switch but "/?", which shows how the program is started. None change nothing.
void TForm1::TakeArguments() {
    std::vector<std::wstring> arguments = std::exchange(FArguments, {});
    std::wstring item = std::exchange(FArgumentItem, {});
    if (arguments.empty())
        return;
    if (arguments.size() == 1 && (arguments[0] == L"/?" || arguments[0] == L"-?")) {
        ShowPlainMessage("Tolvo rozpakowuje archiwa ACE programem ace32.exe.\n\n"
                         "tolvo.exe [archiwum | folder]\n\n"
                         "Podane archiwum zostaje wybrane do rozpakowania, tak jak przyciskiem "
                         "\"Otwórz\"; podany folder staje się katalogiem docelowym.");
        return;
    }
    for (const std::wstring& argument : arguments)
        if (IsSwitch(argument))
            throw Exception("Nieznany przełącznik " +
                            PlatformSpelling(argument, Machine().CodePage()) +
                            ". Tolvo przyjmuje jeden argument: archiwum albo folder");
    if (arguments.size() > 1 && !TDroppedItem(item).Exists())
        throw Exception("Można podać tylko jedno archiwum. Ścieżkę ze spacjami należy ująć w "
                        "cudzysłów");
    TakeDropped({item});
}

// The first item that is no folder decides, so that a file the user meant is never passed over
// for another; without one, the first folder.
void TForm1::TakeDropped(const std::vector<std::wstring>& items) {
    std::vector<TDroppedItem> dropped(items.begin(), items.end());
    auto decisive = std::find_if(dropped.begin(), dropped.end(),
                                 [](const TDroppedItem& item) { return !item.IsFolder(); });
    if (decisive == dropped.end()) {
        if (dropped.empty())
            return;
        // The tree shows a folder by its own name, never by its short form.
        std::string folder;
        if (!NarrowExactly(dropped.front().Path, Machine().CodePage(), folder, wcRefused))
            throw EInOutError(ERROR_INVALID_NAME);
        DirectoryListBox1->ChangeDirectory(folder);
        return;
    }
    if (HasInvalidNameCharacters(decisive->Path))
        throw EInvalidFileName(decisive->Path);
    if (!decisive->Spellable)
        throw EUnspellableFile();
    if (!decisive->Exists())
        throw EInOutError(ERROR_FILE_NOT_FOUND);
    OpenDialog1->FileName = decisive->Spelled;
    Label2->SetCaption(decisive->Spelled);
}
