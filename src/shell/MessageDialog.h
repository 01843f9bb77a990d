#pragma once
#include "framework/Exceptions.h"
#include "framework/Form.h"

#include <string>

enum TDialogKind { Warning, Error, Information, Confirmation, Custom };

// The buttons of a message dialog, bit 0 first; also their order from left to right.
enum TDialogButton : unsigned {
    mbYes = 1 << 0,
    mbNo = 1 << 1,
    mbOK = 1 << 2,
    mbCancel = 1 << 3,
    mbAbort = 1 << 4,
    mbRetry = 1 << 5,
    mbIgnore = 1 << 6,
    mbAll = 1 << 7,
    mbNoToAll = 1 << 8,
    mbYesToAll = 1 << 9,
    mbHelp = 1 << 10
};
// Every button a dialog may have.
constexpr unsigned AllDialogButtons = (mbHelp << 1) - 1;
constexpr int DialogButtonCount = 11;

// A message dialog built at run time for one text: the platform's message font, an icon for the
// kinds that have one, the text, and a row of buttons.
class TMessageForm : public TForm {
  public:
    explicit TMessageForm(TComponent* owner);
    const char* ClassName() const override { return "TMessageForm"; }
    // The Help button: the program has no help file, so the dialog simply stays open.
    void HelpButtonClick(TObject* sender);
};

// Where everything of a message dialog goes, from the font's average character size and the
// measured text.
struct TMessageLayout {
    int HorzMargin, VertMargin, HorzSpacing, VertSpacing;
    int ButtonWidth, ButtonHeight, ButtonSpacing;
    int BlockWidth, BlockHeight, ButtonGroupWidth;
    int ClientWidth, ClientHeight;
    RECT Label; // left, top, width, height
};
TMessageLayout LayoutMessage(SIZE averageChar, SIZE text, bool icon, int buttonCount);

// A new hidden dialog for the text; the caller owns and frees it.
TMessageForm* BuildMessageDialog(const std::string& text, TDialogKind kind, unsigned buttons);
// Builds, shows modally and frees the dialog; x and y, when 0 or more, replace the centred place.
int RunMessageDialog(const std::string& text, TDialogKind kind, unsigned buttons, int helpContext,
                     int x, int y);
void ShowPlainMessageAt(const std::string& text, int x, int y);
// Shows the text with one OK button, captioned with the application's title.
void ShowPlainMessage(const std::string& text);

// The error box: the message and a full stop, always; the title as caption; the stop icon.
void ShowErrorBox(const Exception& error);

// The platform's message box over the application's windows: the hidden application window
// owns it, the other windows are locked while it is up, and the window that was active before
// is active again afterwards. Only the low 16 bits of flags reach the platform.
int AppMessageBox(const std::string& text, const std::string& caption, unsigned flags);
