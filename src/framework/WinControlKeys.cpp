#include "WinControl.h"

#include "Form.h"

#include <algorithm>

// Focus and the keyboard: tab order, and what a key message means to the framework before the
// platform translates and dispatches it.

bool TWinControl::CanFocus() const {
    for (const TControl* control = this; control; control = control->Parent())
        if (!control->Visible() || !control->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

void TWinControl::CollectTabStops(std::vector<TWinControl*>& list) const {
    std::vector<TWinControl*> children;
    for (TControl* control : FControls)
        if (auto windowed = dynamic_cast<TWinControl*>(control))
            children.push_back(windowed);
    auto rank = [](const TWinControl* control) {
        return control->FTabOrder < 0 ? INT_MAX : control->FTabOrder;
    };
    std::stable_sort(children.begin(), children.end(),
                     [&](auto* a, auto* b) { return rank(a) < rank(b); });
    for (TWinControl* child : children) {
        if (!child->CanFocus())
            continue;
        if (child->TabStop)
            list.push_back(child);
        child->CollectTabStops(list);
    }
}

void TWinControl::SelectNext(bool forward) {
    std::vector<TWinControl*> stops;
    CollectTabStops(stops);
    if (stops.empty())
        return;
    auto current = std::find_if(stops.begin(), stops.end(), [](auto* c) { return c->Focused(); });
    int count = int(stops.size());
    int index = current == stops.end() ? (forward ? -1 : 0) : int(current - stops.begin());
    stops[(index + (forward ? 1 : count - 1)) % count]->SetFocus();
}

bool ModifierHeld() {
    return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

// The character of a WM_CHAR or WM_SYSCHAR as the captions' code page spells it. A Unicode
// window's message carries a UTF-16 code, converted here, once; a character that code page
// spells in no single byte is no caption's accelerator.
static bool DialogCharacter(const MSG& msg, char& character) {
    if (!IsWindowUnicode(msg.hwnd)) {
        character = char(msg.wParam);
        return true;
    }
    wchar_t wide = wchar_t(msg.wParam);
    char bytes[2];
    BOOL lost = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes,
                                     nullptr, &lost);
    character = bytes[0];
    return length == 1 && !lost;
}

bool IsKeyMessageConsumed(const MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    TWinControl* target = nullptr;
    for (HWND window = msg.hwnd; window && !target; window = GetParent(window))
        target = TWinControl::FindControl(window);
    if (!target)
        return false;
    TWinControl* form = target;
    while (form->Parent())
        form = form->Parent();
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
        form->IsShortCut(msg.wParam, msg.lParam))
        return true;
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
        target->Perform(CN_KEYDOWN, msg.wParam, msg.lParam))
        return true;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0) {
        form->SelectNext(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    // Enter and Escape go to the window's default and cancel buttons, when it has them.
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
        !ModifierHeld())
        return form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
    // A letter the focused control does not take, or one typed with Alt, may be an accelerator.
    bool unwanted =
        msg.message == WM_CHAR && !(SendMessageA(msg.hwnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS);
    if (msg.message != WM_SYSCHAR && !unwanted)
        return false;
    char character = 0;
    return DialogCharacter(msg, character) &&
           form->Perform(CM_DIALOGCHAR, WPARAM(BYTE(character)), msg.lParam) != 0;
}
