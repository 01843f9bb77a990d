#pragma once
#include "framework/Component.h"
#include "framework/Control.h"
#include "framework/Exceptions.h"
#include "framework/Machine.h"
#include "framework/Messages.h"

#include <string>
#include <vector>
#include <windows.h>

#include <commdlg.h>

typedef BOOL(WINAPI* TDialogFunction)(LPOPENFILENAMEA);

// The options of the open dialog, in their declared order (bit n is option n).
enum TOpenOption : unsigned {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks
};
constexpr unsigned OptionBit(TOpenOption option) { return 1u << option; }

// What the platform's common dialogs share: the 3-D look on old platform versions, the help
// context, and the dialog window while one is up, whose messages the component then sees first.
class TCommonDialog : public TComponent {
  public:
    explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}
    const char* ClassName() const override { return "TCommonDialog"; }

    bool Ctl3D = true;
    int HelpContext = 0;
    HWND DialogWindow() const { return FDialogWindow; }
    TNotifyEvent OnClose, OnShow;

    virtual bool RunDialog() = 0;

  protected:
    // The component's view of the dialog window's messages; the rest go to the dialog's own.
    virtual void WndProc(TMessage& message);
    // A message of the application window while the dialog runs: the help request.
    virtual bool MessageHook(TMessage& message);
    // Runs the platform function over the application's windows, locked meanwhile.
    BOOL TaskModalDialog(TDialogFunction run, OPENFILENAMEA& request);

    friend struct TDialogAccess;
    friend LRESULT CALLBACK DialogThunk(HWND, UINT, WPARAM, LPARAM);
    HWND FDialogWindow = nullptr;
    WNDPROC FPreviousWndProc = nullptr;
};

// The platform's file-open dialog as a component: its settings are read at every run, and
// the user's choice is kept in FileName.
class TOpenDialog : public TCommonDialog {
  public:
    explicit TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}
    const char* ClassName() const override { return "TOpenDialog"; }

    // Shows the dialog task-modally; true when the user confirmed a file, which FileName then
    // holds in the form SpellChosenPath gives. On cancel (or when the platform dialog fails)
    // FileName stays as it was; a file whose path the code page cannot spell raises the error
    // and changes nothing either.
    bool RunDialog() override;

    unsigned Options = 0;
    std::string Filter;
    int FilterIndex = 1;
    std::string InitialDir;
    std::string Title;
    std::string DefaultExt;
    std::string FileName;
    // The names of the last confirmed choice: cleared at each run, one entry after success.
    std::vector<std::string> Files;
    // The platform function the dialog runs; tests put a double in its place.
    TDialogFunction OpenFunction = RunOpenFileDialog;
    // Fired by explorer-style dialogs only.
    TNotifyEvent OnSelectionChange, OnFolderChange, OnTypeChange;

    // The chosen path: the stored FileName, or while an explorer-style dialog is up on a
    // platform with new-style controls, what that dialog shows.
    std::string CurrentFileName() const;
    // The dialog's static area: the client rectangle of an old-style dialog, the explorer
    // dialog's area (control 1119) in dialog coordinates, or an empty rectangle without a dialog.
    RECT StaticRect() const;

  protected:
    void WndProc(TMessage& message) override;

  private:
    bool FExplorer = false;
};

// The platform's filter text: each "|" becomes a NUL and the text ends in two NULs; an empty
// filter stays empty. A "|" that is the trail byte of a double-byte character is kept.
std::string ConvertFilter(const std::string& filter, UINT codePage);
// The request flags for the options on a platform of that major version: the hook always, the
// option flags, and the explorer style wherever the platform has one unless the old style is
// asked for.
DWORD OpenDialogFlags(unsigned options, int majorVersion);
// The default extension: DefaultExt, else, for an old-style dialog, the extension of FileName
// without its dot; empty for none.
std::string DefaultExtension(const std::string& defaultExt, const std::string& fileName,
                             bool explorer);
// Where the dialog stands: centred horizontally, a third of the free height from the top.
POINT DialogPlace(int width, int height, int screenWidth, int screenHeight);

// A chosen file whose path the code page cannot spell, not even in its short form.
class EUnspellableFile : public Exception {
  public:
    EUnspellableFile();
    const char* ClassName() const override { return "EUnspellableFile"; }
};

// A name no file may have, with a wildcard or a character file names may not hold:
// "Nieprawidłowa nazwa pliku: NAME".
class EInvalidFileName : public Exception {
  public:
    explicit EInvalidFileName(const std::wstring& path);
    const char* ClassName() const override { return "EInvalidFileName"; }
};

// The 8-bit path a file chosen by the user is taken as: its short (8.3) form when the platform
// has one that the code page spells exactly, else the path itself when the code page spells it
// exactly. False when neither is spelled exactly.
bool SpellChosenPath(const std::wstring& path, std::string& spelled);
// A path in the platform's own namespaces, "\\?\C:\..." or "\\.\C:\..." or
// "\\?\UNC\SERVER\SHARE\...", in its plain form; any other path as it is.
std::wstring PlainPath(const std::wstring& path);
// A wildcard or a control character in the path, or a character no file name may hold.
bool HasInvalidNameCharacters(const std::wstring& path);
// A chosen path that names a device (CON, NUL.ace, COM1, LPT1, any "\\.\" name left once the
// path is plain): never a file to unpack.
bool NamesDeviceFile(const std::string& spelled);

// Makes the dialog class known to window descriptions (once).
void RegisterOpenDialog();
