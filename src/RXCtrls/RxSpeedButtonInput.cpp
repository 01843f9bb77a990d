#include "RxSpeedButton.h"

#include "framework/CleanUp.h"
#include "framework/PopupMenu.h"
#include "framework/WinControl.h"

void TRxSpeedButton::MouseDown(TMouseButton button, UINT keys, int x, int y) {
    if (FPressActive)
        return;
    TGraphicControl::MouseDown(button, keys, x, y);
    if (!FMouseInside && Enabled()) {
        // The idle step has not reported the pointer here yet: this press only tells it.
        FMouseInside = true;
        Repaint();
        return;
    }
    if (button == mbLeft && Enabled())
        PressLeft(x, y);
}

void TRxSpeedButton::PressLeft(int x, int y) {
    if (!FDown) {
        FFaceState = bfPressed;
        Repaint();
    }
    FHeld = true;
    FPressActive = true;
    TCleanUp endPress([this] { FPressActive = false; });
    if (TryDropDown({-1, Height()}))
        Release(mbLeft, x, y);
    SwallowPressOnButton();
}

// The press that closed a drop-down menu over the button must not press it again.
void TRxSpeedButton::SwallowPressOnButton() {
    MSG next;
    if (!PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE))
        return;
    if (next.message != WM_LBUTTONDOWN && next.message != WM_LBUTTONDBLCLK)
        return;
    POINT origin = ClientToScreen({0, 0});
    if (IsInside(next.pt.x - origin.x, next.pt.y - origin.y))
        PeekMessageA(&next, next.hwnd, next.message, next.message, PM_REMOVE);
}

bool TRxSpeedButton::TryDropDown(POINT point) {
    if (!FDropDownMenu || !FDropDownMenu->AutoPopup)
        return false;
    TWinControl* form = Parent();
    while (form && form->Parent())
        form = form->Parent();
    if (form && form->HandleAllocated() && GetActiveWindow() == form->Handle())
        if (TWinControl* active = TWinControl::FindControl(GetFocus()))
            active->Perform(WM_CANCELMODE);
    FDropDownMenu->PopupComponent = this;
    POINT screen = ClientToScreen(point);
    FDropDownMenu->Popup(screen.x, screen.y);
    return true;
}

void TRxSpeedButton::MouseMove(UINT keys, int x, int y) {
    TGraphicControl::MouseMove(keys, x, y);
    if (!FHeld)
        return;
    TButtonFace state = FDown ? bfLatched : IsInside(x, y) ? bfPressed : bfUp;
    if (Change(FFaceState, state))
        Repaint();
}

void TRxSpeedButton::MouseUp(TMouseButton button, UINT keys, int x, int y) {
    TGraphicControl::MouseUp(button, keys, x, y);
    Release(button, x, y);
}

// The released face is painted before OnClick runs.
void TRxSpeedButton::Release(TMouseButton button, int x, int y) {
    if (FHeld && button == mbLeft) {
        FHeld = false;
        bool inside = IsInside(x, y);
        FFaceState = bfUp;
        if (FGroupIndex == 0) {
            Repaint();
        } else if (inside) {
            bool wasDown = FDown;
            SetDown(!wasDown);
            if (FDown == wasDown)
                FFaceState = bfLatched;
        } else {
            if (FDown)
                FFaceState = bfLatched;
            Repaint();
        }
        if (inside && !FPressActive)
            Click();
    }
    RecheckMouseInside();
}

void TRxSpeedButton::RecheckMouseInside() {
    POINT cursor;
    bool inside = Enabled() && GetCursorPos(&cursor) && ControlAtScreenPos(cursor) == this;
    if (Change(FMouseInside, inside) && FFlat)
        Invalidate();
}

// ---- Groups ----

void TRxSpeedButton::AnnounceDown() {
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage notice{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(this), 0};
    Parent()->Broadcast(notice);
}

void TRxSpeedButton::ButtonPressed(int groupIndex, TControl* sender) {
    auto other = dynamic_cast<TRxSpeedButton*>(sender);
    if (groupIndex != FGroupIndex || !Parent()->HandleAllocated() || !other || other == this)
        return;
    if (other->FDown && FDown) {
        FDown = false;
        FFaceState = bfUp;
        Invalidate();
    }
    FAllowAllUp = other->FAllowAllUp;
}

// ---- Notifications ----

// The character after the caption's first "&", unless that "&" ends the caption; letters
// match in either case, as the user's locale compares them.
bool TRxSpeedButton::IsAccelerator(char character) const {
    std::string caption = Caption();
    size_t marker = caption.find('&');
    if (marker == std::string::npos || marker + 1 >= caption.size())
        return false;
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, &character, 1, &caption[marker + 1],
                          1) == CSTR_EQUAL;
}

void TRxSpeedButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDBLCLK:
        if (FPressActive)
            return;
        TGraphicControl::WndProc(message);
        if (FDown && OnDblClick)
            OnDblClick(this);
        return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        TGraphicControl::WndProc(message);
        RecheckMouseInside();
        return;
    case CM_ENABLEDCHANGED:
        TGraphicControl::WndProc(message);
        RecheckMouseInside();
        Invalidate();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TGraphicControl::WndProc(message);
        if (Enabled() && Change(FMouseInside, message.Msg == CM_MOUSEENTER) && FFlat)
            Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (Enabled() && IsAccelerator(char(message.WParam))) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        ForgetFaces();
        break;
    case CM_SYSCOLORCHANGE:
        GlyphPainter.ClearCells();
        Restyle();
        return;
    case CM_BACKDROPCHANGED:
        if (FTransparent)
            ForgetFaces();
        return;
    case CM_BUTTONPRESSED:
        ButtonPressed(int(message.WParam), reinterpret_cast<TControl*>(message.LParam));
        return;
    }
    TGraphicControl::WndProc(message);
}
