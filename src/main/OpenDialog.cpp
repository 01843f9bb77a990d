#include "OpenDialog.h"

#include "framework/AppLink.h"
#include "framework/CleanUp.h"
#include "framework/DescReader.h"
#include "framework/Machine.h"
#include "framework/Picture.h"
#include "framework/TaskWindowLock.h"
#include "main/UnpackCommand.h"
#include "shell/Application.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

std::string ConvertFilter(const std::string& filter, UINT codePage) {
    if (filter.empty())
        return filter;
    std::string converted = filter + '\0';
    for (size_t i = 0; i < converted.size(); i++) {
        if (IsDBCSLeadByteEx(codePage, BYTE(converted[i])))
            i++;
        else if (converted[i] == '|')
            converted[i] = '\0';
    }
    return converted;
}

static const DWORD OptionFlags[] = {
    OFN_READONLY,         OFN_OVERWRITEPROMPT,    OFN_HIDEREADONLY,     OFN_NOCHANGEDIR,
    OFN_SHOWHELP,         OFN_NOVALIDATE,         OFN_ALLOWMULTISELECT, OFN_EXTENSIONDIFFERENT,
    OFN_PATHMUSTEXIST,    OFN_FILEMUSTEXIST,      OFN_CREATEPROMPT,     OFN_SHAREAWARE,
    OFN_NOREADONLYRETURN, OFN_NOTESTFILECREATE,   OFN_NONETWORKBUTTON,  OFN_NOLONGNAMES,
    OFN_EXPLORER,         OFN_NODEREFERENCELINKS,
};
static_assert(std::size(OptionFlags) == ofNoDereferenceLinks + 1, "a flag for every option");

// The options' names in descriptions, in the order of TOpenOption: a name's place is its bit.
static constexpr std::initializer_list<const char*> OptionNames = {
    "ofReadOnly",         "ofOverwritePrompt",   "ofHideReadOnly",     "ofNoChangeDir",
    "ofShowHelp",         "ofNoValidate",        "ofAllowMultiSelect", "ofExtensionDifferent",
    "ofPathMustExist",    "ofFileMustExist",     "ofCreatePrompt",     "ofShareAware",
    "ofNoReadOnlyReturn", "ofNoTestFileCreate",  "ofNoNetworkButton",  "ofNoLongNames",
    "ofOldStyleDialog",   "ofNoDereferenceLinks"};
static_assert(OptionNames.size() == ofNoDereferenceLinks + 1, "a name for every option");

DWORD OpenDialogFlags(unsigned options, int majorVersion) {
    DWORD flags = OFN_ENABLEHOOK;
    for (unsigned option = 0; option <= ofNoDereferenceLinks; option++)
        if (options & (1u << option))
            flags |= OptionFlags[option];
    // The old style is asked for by the inverted explorer flag.
    return majorVersion >= 4 ? flags ^ OFN_EXPLORER : flags & ~DWORD(OFN_EXPLORER);
}

std::string DefaultExtension(const std::string& defaultExt, const std::string& fileName,
                             bool explorer) {
    if (!defaultExt.empty() || explorer)
        return defaultExt;
    size_t dot = fileName.find_last_of('.');
    size_t separator = fileName.find_last_of("\\:");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return "";
    return fileName.substr(dot + 1);
}

POINT DialogPlace(int width, int height, int screenWidth, int screenHeight) {
    return {(screenWidth - width) / 2, (screenHeight - height) / 3};
}

// The component whose dialog is being made: the hook hands it the dialog window.
static TCommonDialog* GCreatingDialog = nullptr;

struct TDialogAccess {
    static void Attach(TCommonDialog& dialog, HWND window, WNDPROC previous) {
        dialog.FDialogWindow = window;
        dialog.FPreviousWndProc = previous;
    }
    static void Deliver(TCommonDialog& dialog, TMessage& message) { dialog.WndProc(message); }
};

// The optional 3-D control library of platform versions below 4.
struct TCtl3D {
    BOOL(WINAPI* SubclassDlgEx)(HWND, DWORD) = nullptr;
    BOOL(WINAPI* AutoSubclass)(HINSTANCE) = nullptr;
    BOOL(WINAPI* UnAutoSubclass)() = nullptr;
    TCtl3D() {
        if (PlatformMajorVersion() >= 4 || HIBYTE(LOWORD(GetVersion())) >= 89)
            return;
        if (HMODULE library = LoadLibraryA("CTL3D32.DLL")) {
            SubclassDlgEx = reinterpret_cast<decltype(SubclassDlgEx)>(
                reinterpret_cast<void*>(GetProcAddress(library, "Ctl3dSubclassDlgEx")));
            AutoSubclass = reinterpret_cast<decltype(AutoSubclass)>(
                reinterpret_cast<void*>(GetProcAddress(library, "Ctl3dAutoSubclass")));
            UnAutoSubclass = reinterpret_cast<decltype(UnAutoSubclass)>(
                reinterpret_cast<void*>(GetProcAddress(library, "Ctl3dUnAutoSubclass")));
        }
    }
};
static TCtl3D& Ctl3DLibrary() {
    static TCtl3D library;
    return library;
}
static bool GDialogCtl3D = false;

LRESULT CALLBACK DialogThunk(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* dialog = reinterpret_cast<TCommonDialog*>(GetPropA(window, "TolvoDialog"));
    if (!dialog)
        return DefWindowProcA(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    RunGuarded(dialog, [&] { TDialogAccess::Deliver(*dialog, message); });
    return message.Result;
}

// The component a hook's message is for: the one being made until the dialog window is its.
static TCommonDialog* DialogOf(HWND window) {
    auto* dialog = reinterpret_cast<TCommonDialog*>(GetPropA(window, "TolvoDialog"));
    return dialog ? dialog : GCreatingDialog;
}

// Hands the dialog window to the component being made: its messages go to the component first.
static void TakeOver(HWND window, WPARAM wParam, LPARAM lParam) {
    TCommonDialog* dialog = GCreatingDialog;
    if (!dialog)
        return;
    SetPropA(window, "TolvoDialog", dialog);
    TDialogAccess::Attach(*dialog, window,
                          WNDPROC(SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(DialogThunk))));
    TMessage message{WM_INITDIALOG, wParam, lParam, 0};
    TDialogAccess::Deliver(*dialog, message);
}

static void Centre(HWND window) {
    RECT bounds;
    GetWindowRect(window, &bounds);
    POINT place = DialogPlace(bounds.right - bounds.left, bounds.bottom - bounds.top,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(window, nullptr, place.x, place.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The chosen file as the dialog knows it, before its 8-bit answer loses what the code page
// cannot spell: taken when the dialog accepts a name, from the folder it moved to and its name
// field.
static std::wstring GChosenPath;

static std::wstring ChosenPath(HWND dialog) {
    std::wstring folder(MAX_PATH, L'\0'), name(MAX_PATH, L'\0');
    folder.resize(GetCurrentDirectoryW(MAX_PATH, folder.data()));
    name.resize(GetDlgItemTextW(dialog, edt1, name.data(), MAX_PATH));
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder + name;
}

// The 3-D library's flag for every kind of control in a dialog.
constexpr DWORD Ctl3DAllControls = 0xFFFF;

static void OldStyleHookMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    static const UINT fileOk = RegisterWindowMessageA(FILEOKSTRINGA);
    if (msg == fileOk) {
        GChosenPath = ChosenPath(window);
    } else if (msg == WM_INITDIALOG) {
        if (GDialogCtl3D && Ctl3DLibrary().SubclassDlgEx) {
            Ctl3DLibrary().SubclassDlgEx(window, Ctl3DAllControls);
            Ctl3DLibrary().AutoSubclass(MainInstance());
        }
        Centre(window);
        TakeOver(window, wParam, lParam);
    } else if (msg == WM_DESTROY && GDialogCtl3D && Ctl3DLibrary().UnAutoSubclass) {
        Ctl3DLibrary().UnAutoSubclass();
    }
}

// The hooks answer 0: the dialog's own procedure handles every message after them.
UINT_PTR CALLBACK OldStyleHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    RunGuarded(DialogOf(window), [&] { OldStyleHookMessage(window, msg, wParam, lParam); });
    return 0;
}

// The explorer-style dialog's hook window is a child of the frame the user sees: the frame is
// centred once the dialog is ready.
UINT_PTR CALLBACK ExplorerHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    RunGuarded(DialogOf(window), [&] {
        if (msg == WM_INITDIALOG)
            TakeOver(window, wParam, lParam);
        else if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UINT(CDN_INITDONE))
            Centre(GetParent(window));
    });
    return 0;
}

void TCommonDialog::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_INITDIALOG:
        GCreatingDialog = nullptr;
        if (OnShow)
            OnShow(this);
        return;
    case WM_DESTROY:
        if (OnClose)
            OnClose(this);
        // The dialog's own procedure gets its window back: it must see the last message,
        // WM_NCDESTROY, to free what it made for the dialog, its font among them.
        SetWindowLongPtrA(FDialogWindow, GWLP_WNDPROC, LONG_PTR(FPreviousWndProc));
        message.Result = CallWindowProcA(FPreviousWndProc, FDialogWindow, message.Msg,
                                         message.WParam, message.LParam);
        RemovePropA(FDialogWindow, "TolvoDialog");
        FDialogWindow = nullptr;
        return;
    }
    message.Result = CallWindowProcA(FPreviousWndProc, FDialogWindow, message.Msg, message.WParam,
                                     message.LParam);
}

// The help request of the dialog; the program has no help file, so with a help context nothing
// more happens than the request being taken.
bool TCommonDialog::MessageHook(TMessage& message) {
    static const UINT help = RegisterWindowMessageA("commdlg_help");
    return message.Msg == help && HelpContext != 0;
}

BOOL TCommonDialog::TaskModalDialog(TDialogFunction run, OPENFILENAMEA& request) {
    TModalScope scope;
    auto hook = MakeWindowHook<TCommonDialog, &TCommonDialog::MessageHook>(this);
    if (Application)
        Application->InstallWindowHook(hook);
    TCleanUp restore([hook] {
        if (Application)
            Application->RemoveWindowHook(hook);
        GCreatingDialog = nullptr;
    });
    GCreatingDialog = this;
    return run(&request);
}

EUnspellableFile::EUnspellableFile()
    : Exception("Nazwy tego pliku nie można zapisać w stronie kodowej systemu. Wybierz plik o "
                "innej nazwie") {}

EInvalidFileName::EInvalidFileName(const std::wstring& path)
    : Exception("Nieprawidłowa nazwa pliku: " + PlatformSpelling(path, Machine().CodePage())) {}

static bool InNamespace(const std::wstring& path) {
    return path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0;
}

std::wstring PlainPath(const std::wstring& path) {
    if (!InNamespace(path))
        return path;
    std::wstring rest = path.substr(4);
    if (rest.size() >= 3 && rest[1] == L':' && rest[2] == L'\\' && std::iswalpha(rest[0]))
        return rest;
    if (rest.size() > 4 && _wcsnicmp(rest.c_str(), L"UNC\\", 4) == 0)
        return L"\\" + rest.substr(3);
    return path;
}

bool HasInvalidNameCharacters(const std::wstring& path) {
    std::wstring names = path.substr(InNamespace(path) ? 4 : 0);
    return names.find_first_of(L"*?\"<>|") != std::wstring::npos ||
           std::any_of(names.begin(), names.end(), [](wchar_t c) { return c < 32; });
}

bool NamesDeviceFile(const std::string& spelled) {
    return spelled.rfind("\\\\.\\", 0) == 0 || NamesDevice(spelled, Machine().CodePage());
}

bool SpellChosenPath(const std::wstring& path, std::string& spelled) {
    UINT codePage = Machine().CodePage();
    std::wstring shortPath = Machine().ShortPath(path);
    return (!shortPath.empty() && NarrowExactly(shortPath, codePage, spelled, wcRefused)) ||
           NarrowExactly(path, codePage, spelled, wcRefused);
}

// The dialog's answer in full: the path it took when a name was accepted, as long as the 8-bit
// answer is that path as the platform spells it; else the 8-bit answer itself.
static std::wstring AnswerPath(const std::string& answer) {
    UINT codePage = Machine().CodePage();
    if (!GChosenPath.empty() && PlatformSpelling(GChosenPath, codePage) == answer)
        return GChosenPath;
    return Widen(answer, codePage);
}

bool TOpenDialog::RunDialog() {
    Files.clear();
    std::string filter = ConvertFilter(Filter, Machine().CodePage());
    size_t size = (Options & OptionBit(ofAllowMultiSelect)) ? 8192 : 260;
    std::string file(size + 2, '\0');
    file.replace(0, std::min(FileName.size(), size), FileName, 0, size);
    OPENFILENAMEA request{};
    // The 76-byte request of the platform's older versions, which every version takes.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hInstance = MainInstance();
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = DWORD(FilterIndex);
    request.lpstrFile = file.data();
    request.nMaxFile = DWORD(size);
    request.lpstrInitialDir = InitialDir.c_str();
    request.lpstrTitle = Title.c_str();
    GDialogCtl3D = Ctl3D;
    request.Flags = OpenDialogFlags(Options, PlatformMajorVersion());
    std::string extension =
        DefaultExtension(DefaultExt, FileName, (request.Flags & OFN_EXPLORER) != 0);
    request.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    FExplorer = (request.Flags & OFN_EXPLORER) != 0;
    request.lpfnHook = FExplorer ? ExplorerHook : OldStyleHook;
    request.hwndOwner = AppLink() ? AppLink()->OwnerWindow() : nullptr;
    GChosenPath.clear();
    if (!TaskModalDialog(OpenFunction, request))
        return false;
    std::string chosen;
    if (!SpellChosenPath(PlainPath(AnswerPath(file.c_str())), chosen))
        throw EUnspellableFile();
    if (NamesDeviceFile(chosen))
        throw EInOutError(ERROR_FILE_NOT_FOUND);
    FileName = chosen;
    Files.push_back(FileName);
    Options = (Options & ~(OptionBit(ofExtensionDifferent) | OptionBit(ofReadOnly))) |
              ((request.Flags & OFN_EXTENSIONDIFFERENT) ? OptionBit(ofExtensionDifferent) : 0) |
              ((request.Flags & OFN_READONLY) ? OptionBit(ofReadOnly) : 0);
    FilterIndex = int(request.nFilterIndex);
    return true;
}

void RegisterOpenDialog() {
    RegisterOnce([] {
        using P = const TDescProperty&;
        using R = TDescReader&;
        RegisterComponentClass<TOpenDialog>("TOpenDialog", "TComponent")
            .Property<TOpenDialog>("Filter",
                                   [](TOpenDialog& d, P p, R r) { d.Filter = r.String(p); })
            .Property<TOpenDialog>(
                "FileEditStyle",
                [](TOpenDialog&, P p, R r) {
                    r.Enum(p, {"fsEdit", "fsComboBox"}); // obsolete: read and dropped
                })
            .Property<TOpenDialog>(
                "Options", [](TOpenDialog& d, P p, R r) { d.Options = r.Set(p, OptionNames); });
    });
}

void TOpenDialog::WndProc(TMessage& message) {
    if (!FExplorer) {
        TCommonDialog::WndProc(message);
        return;
    }
    if (message.Msg == WM_INITDIALOG) {
        GCreatingDialog = nullptr; // shown on CDN_INITDONE instead
        return;
    }
    if (message.Msg == WM_NOTIFY) {
        auto fire = [this](const TNotifyEvent& event) {
            if (event)
                event(this);
        };
        switch (reinterpret_cast<NMHDR*>(message.LParam)->code) {
        case UINT(CDN_INITDONE):
            fire(OnShow);
            break;
        case UINT(CDN_SELCHANGE):
            fire(OnSelectionChange);
            break;
        case UINT(CDN_FOLDERCHANGE):
            fire(OnFolderChange);
            break;
        case UINT(CDN_TYPECHANGE):
            fire(OnTypeChange);
            break;
        }
    }
    TCommonDialog::WndProc(message);
}

std::string TOpenDialog::CurrentFileName() const {
    if (!FDialogWindow || !FExplorer || PlatformMajorVersion() < 4)
        return FileName;
    HWND frame = GetParent(FDialogWindow);
    char folder[261] = "", spec[261] = "";
    SendMessageA(frame, CDM_GETFOLDERPATH, sizeof folder, LPARAM(folder));
    SendMessageA(frame, CDM_GETSPEC, sizeof spec, LPARAM(spec));
    return std::string(folder) + "\\" + spec;
}

RECT TOpenDialog::StaticRect() const {
    RECT area{0, 0, 0, 0};
    if (!FDialogWindow)
        return area;
    if (!FExplorer) {
        GetClientRect(FDialogWindow, &area);
        return area;
    }
    if (HWND placeholder = GetDlgItem(FDialogWindow, 1119)) {
        GetWindowRect(placeholder, &area);
        MapWindowPoints(nullptr, FDialogWindow, reinterpret_cast<POINT*>(&area), 2);
    }
    return area;
}
