#include "Edit.h"

#include "TextUtils.h"

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
    TabStop = true;
}

void TEdit::CreateParams(TCreateParams& params) const {
    TWinControl::CreateParams(params);
    params.BaseClass = "EDIT";
    params.WideText = true;
    params.Style |= ES_AUTOHSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

std::wstring TEdit::WideText() const {
    if (!HandleAllocated())
        return Widen(Text(), CP_ACP);
    std::wstring text(GetWindowTextLengthW(Handle()) + 1, L'\0');
    text.resize(GetWindowTextW(Handle(), text.data(), int(text.size())));
    return text;
}
