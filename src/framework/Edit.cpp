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
    params.Style |= ES_AUTOHSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

// The framework's window procedure is an 8-bit one: through it the text would come in the code
// page. The platform's field procedure is asked for the text as the field holds it.
std::wstring TEdit::WideText() const {
    if (!HandleAllocated())
        return Widen(Text(), CP_ACP);
    static const WNDPROC field = [] {
        WNDCLASSW edit{};
        GetClassInfoW(nullptr, L"EDIT", &edit);
        return edit.lpfnWndProc;
    }();
    std::wstring text(CallWindowProcW(field, Handle(), WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
    text.resize(CallWindowProcW(field, Handle(), WM_GETTEXT, text.size(), LPARAM(text.data())));
    return text;
}
