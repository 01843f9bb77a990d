#include "Memo.h"

#include "Exceptions.h"
#include "Machine.h"
#include "Resources.h"
#include "StringIds.h"
#include "TextUtils.h"

#include <cstring>

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 89);
    SetColor(clWindow);
    TabStop = true;
}

void TMemo::CreateParams(TCreateParams& params) const {
    TWinControl::CreateParams(params);
    params.BaseClass = "EDIT";
    params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (ReadOnly)
        params.Style |= ES_READONLY;
    if (!WordWrap)
        params.Style |= ES_AUTOHSCROLL;
    if (ScrollBars == ssVertical || ScrollBars == ssBoth)
        params.Style |= WS_VSCROLL;
    if ((ScrollBars == ssHorizontal || ScrollBars == ssBoth) && !WordWrap)
        params.Style |= WS_HSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TMemo::CreateWnd() {
    TWinControl::CreateWnd();
    // No limit of the program's own: the control's capacity is the only one.
    SendMessageA(Handle(), EM_LIMITTEXT, 0, 0);
}

std::string TMemoStrings::Text() const { return FMemo.Caption(); }

void TMemoStrings::LoadTextFile(const std::string& fileName) {
    std::string bytes;
    switch (Machine().ReadWholeFile(fileName, MemoFileCapacity, bytes)) {
    case TFileRead::CannotOpen:
        throw EFOpenError(Format(LoadStr(SFOpenError).c_str(), fileName.c_str()));
    case TFileRead::TooLarge:
        throw EInvalidOperation(LoadStr(SMemoTooLarge));
    case TFileRead::Read:
        break;
    }
    TRedrawLock redraw(FMemo.Handle(), true);
    std::string text = AdjustLineBreaks(bytes, Machine().CodePage());
    // The control's text ends at the first zero byte: compare what it would hold, so that an
    // unchanged file keeps the scroll position and the selection.
    text.resize(std::strlen(text.c_str()));
    if (text == Text())
        return;
    if (!SetWindowTextA(FMemo.Handle(), text.c_str()))
        throw EInvalidOperation(LoadStr(SMemoTooLarge));
    FMemo.Perform(CM_TEXTCHANGED);
}
