#include "MessageDialog.h"

#include "Application.h"
#include "framework/Button.h"
#include "framework/Image.h"
#include "framework/Label.h"
#include "framework/Resources.h"
#include "framework/StringIds.h"

#include <algorithm>

namespace {

struct TKindInfo {
    UINT CaptionId;
    LPCSTR Icon;
};
const TKindInfo Kinds[] = {
    {SMsgDlgWarning, IDI_EXCLAMATION},
    {SMsgDlgError, IDI_HAND},
    {SMsgDlgInformation, IDI_ASTERISK},
    {SMsgDlgConfirm, IDI_QUESTION},
    {0, nullptr},
};

struct TButtonInfo {
    const char* Name;
    UINT CaptionId;
    int ModalResult;
};
const TButtonInfo Buttons[] = {
    {"Yes", SMsgDlgYes, 6},         {"No", SMsgDlgNo, 7},
    {"OK", SMsgDlgOK, 1},           {"Cancel", SMsgDlgCancel, 2},
    {"Abort", SMsgDlgAbort, 3},     {"Retry", SMsgDlgRetry, 4},
    {"Ignore", SMsgDlgIgnore, 5},   {"All", SMsgDlgAll, 8},
    {"NoToAll", SMsgDlgNoToAll, 9}, {"YesToAll", SMsgDlgYesToAll, 10},
    {"Help", SMsgDlgHelp, 0},
};
static_assert(std::size(Kinds) == Custom + 1, "an entry for every kind of dialog");
static_assert(std::size(Buttons) == DialogButtonCount, "an entry for every button");

// The captions of the kinds and the buttons, read from the string table once, at start-up.
struct TCaptions {
    std::string Kind[Custom + 1];
    std::string Button[DialogButtonCount];
    TCaptions() {
        for (int i = 0; i < Custom; i++) // a custom dialog has no caption of its kind
            Kind[i] = LoadStr(Kinds[i].CaptionId);
        for (int i = 0; i < DialogButtonCount; i++)
            Button[i] = LoadStr(Buttons[i].CaptionId);
    }
};
const TCaptions Captions;

} // namespace

TMessageForm::TMessageForm(TComponent* owner) : TForm(owner) {
    NONCLIENTMETRICSA metrics{};
    static_assert(sizeof metrics == 340, "the 340-byte record of the platform's older versions");
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0))
        Font().SetRecord(metrics.lfMessageFont);
}

void TMessageForm::HelpButtonClick(TObject*) {}

TMessageLayout LayoutMessage(SIZE averageChar, SIZE text, bool icon, int buttonCount) {
    int w = averageChar.cx, h = averageChar.cy;
    TMessageLayout layout{};
    layout.HorzMargin = MulDiv(8, w, 4);
    layout.VertMargin = MulDiv(8, h, 8);
    layout.HorzSpacing = MulDiv(10, w, 4);
    layout.VertSpacing = MulDiv(10, h, 8);
    layout.ButtonWidth = MulDiv(50, w, 4);
    layout.ButtonHeight = MulDiv(14, h, 8);
    layout.ButtonSpacing = MulDiv(4, w, 4);
    layout.BlockWidth = int(text.cx);
    layout.BlockHeight = int(text.cy);
    if (icon) {
        layout.BlockWidth += 32 + layout.HorzSpacing;
        layout.BlockHeight = std::max(layout.BlockHeight, 32);
    }
    layout.ButtonGroupWidth =
        buttonCount ? buttonCount * layout.ButtonWidth + (buttonCount - 1) * layout.ButtonSpacing
                    : 0;
    layout.ClientWidth =
        std::max(layout.BlockWidth, layout.ButtonGroupWidth) + 2 * layout.HorzMargin;
    layout.ClientHeight =
        layout.BlockHeight + layout.ButtonHeight + layout.VertSpacing + 2 * layout.VertMargin;
    layout.Label = {layout.BlockWidth - text.cx + layout.HorzMargin, layout.VertMargin, text.cx,
                    text.cy};
    return layout;
}

// The average character of the font: the extent of "A".."Z" and "a".."z", its width div 52.
static SIZE AverageCharSize(HDC dc) {
    char letters[52];
    for (int i = 0; i < 26; i++) {
        letters[i] = char('A' + i);
        letters[26 + i] = char('a' + i);
    }
    SIZE extent{};
    GetTextExtentPointA(dc, letters, 52, &extent);
    return {extent.cx / 52, extent.cy};
}

static int DefaultButton(unsigned buttons) {
    for (unsigned candidate : {mbOK, mbYes, mbRetry})
        if (buttons & candidate)
            return int(candidate);
    return 0;
}

static int CancelButton(unsigned buttons) {
    for (unsigned candidate : {mbCancel, mbNo, mbOK})
        if (buttons & candidate)
            return int(candidate);
    return 0;
}

// The average character of the form's font and the extent of the text wrapped at half the
// screen's width.
static void MeasureMessage(TMessageForm& form, const std::string& text, SIZE& average,
                           SIZE& extent) {
    TWindowContext screen;
    TSelection font(screen.Handle(), form.Font().Handle());
    average = AverageCharSize(screen.Handle());
    RECT measured{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    DrawTextA(screen.Handle(), text.c_str(), int(text.size()), &measured,
              DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    extent = {measured.right, measured.bottom};
}

static int ButtonCount(unsigned buttons) {
    int count = 0;
    for (unsigned bits = buttons & AllDialogButtons; bits; bits &= bits - 1)
        count++;
    return count;
}

// A dialog frame of the layout's client size, centred on the screen.
static void PlaceDialog(TMessageForm& form, const TMessageLayout& layout) {
    form.SetBorderStyle(bsDialog);
    form.SetBorderIcons(biSystemMenu);
    form.SetClientWidth(layout.ClientWidth);
    form.SetClientHeight(layout.ClientHeight);
    form.SetBounds(GetSystemMetrics(SM_CXSCREEN) / 2 - form.Width() / 2,
                   GetSystemMetrics(SM_CYSCREEN) / 2 - form.Height() / 2, form.Width(),
                   form.Height());
}

// The kind's own title; a custom dialog takes the application's.
static void SetTitle(TMessageForm& form, TDialogKind kind) {
    if (kind == Custom) {
        char title[256] = "";
        GetWindowTextA(Application->Handle(), title, sizeof title);
        form.SetCaption(title);
    } else {
        form.SetCaption(Captions.Kind[kind]);
    }
}

static void AddIcon(TMessageForm& form, LPCSTR stockIcon, const TMessageLayout& layout) {
    auto* image = new TImage(&form);
    image->SetName("Image");
    image->SetParent(&form);
    auto icon = std::make_unique<TIcon>();
    icon->LoadStock(stockIcon);
    image->SetPicture(std::move(icon));
    image->SetBounds(layout.HorzMargin, layout.VertMargin, 32, 32);
}

static void AddMessage(TMessageForm& form, const std::string& text, const TMessageLayout& layout) {
    auto* label = new TLabel(&form);
    label->SetName("Message");
    label->SetParent(&form);
    label->WordWrap = true;
    label->SetCaption(text);
    label->SetBounds(layout.Label.left, layout.Label.top, layout.Label.right, layout.Label.bottom);
}

// The chosen buttons in a centred row below the message, in the order of their bits.
static void AddButtons(TMessageForm& form, unsigned buttons, const TMessageLayout& layout) {
    int defaultButton = DefaultButton(buttons), cancelButton = CancelButton(buttons);
    int x = (layout.ClientWidth - layout.ButtonGroupWidth) / 2;
    for (int bit = 0; bit < 11; bit++) {
        if (!(buttons & (1u << bit)))
            continue;
        auto* button = new TButton(&form);
        button->SetName(Buttons[bit].Name);
        button->SetParent(&form);
        button->SetCaption(Captions.Button[bit]);
        button->ModalResult = Buttons[bit].ModalResult;
        button->Default = int(1u << bit) == defaultButton;
        button->Cancel = int(1u << bit) == cancelButton;
        button->SetBounds(x, layout.BlockHeight + layout.VertMargin + layout.VertSpacing,
                          layout.ButtonWidth, layout.ButtonHeight);
        if (bit == 10)
            button->OnClick = [owner = &form](TObject* sender) { owner->HelpButtonClick(sender); };
        x += layout.ButtonWidth + layout.ButtonSpacing;
    }
}

TMessageForm* BuildMessageDialog(const std::string& text, TDialogKind kind, unsigned buttons) {
    auto form = std::make_unique<TMessageForm>(Application);
    const TKindInfo& info = Kinds[kind];
    SIZE average, extent;
    MeasureMessage(*form, text, average, extent);
    TMessageLayout layout =
        LayoutMessage(average, extent, info.Icon != nullptr, ButtonCount(buttons));
    PlaceDialog(*form, layout);
    SetTitle(*form, kind);
    if (info.Icon)
        AddIcon(*form, info.Icon, layout);
    AddMessage(*form, text, layout);
    AddButtons(*form, buttons, layout);
    return form.release();
}

int RunMessageDialog(const std::string& text, TDialogKind kind, unsigned buttons, int helpContext,
                     int x, int y) {
    std::unique_ptr<TMessageForm> form(BuildMessageDialog(text, kind, buttons));
    form->HelpContext = helpContext;
    if (x >= 0)
        form->SetLeft(x);
    if (y >= 0)
        form->SetTop(y);
    return form->ShowModal();
}

void ShowPlainMessageAt(const std::string& text, int x, int y) {
    RunMessageDialog(text, Custom, mbOK, 0, x, y);
}

void ShowPlainMessage(const std::string& text) { ShowPlainMessageAt(text, -1, -1); }

void ShowErrorBox(const Exception& error) {
    AppMessageBox(error.Message + ".", Application ? Application->Title() : "",
                  MB_OK | MB_ICONSTOP);
}

// The message box styles: buttons, icon, default button, modality and the flags of the low
// word; what lies above is not the caller's to ask for.
constexpr unsigned MessageBoxStyleMask = 0xFFFF;

int AppMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    TModalScope scope;
    return MessageBoxA(Application ? Application->Handle() : nullptr, text.c_str(), caption.c_str(),
                       flags & MessageBoxStyleMask);
}
