#include "Control.h"

#include "Accessible.h"
#include "TextUtils.h"
#include "WinControl.h"

#include <windowsx.h>

static TControl* GCaptureControl = nullptr;

TControl::TControl(TComponent* owner) : TComponent(owner) {
    FFont.OnChange = [this] {
        FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (GCaptureControl == this)
        SetMouseCapture(false);
    SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
    if (FParent == parent)
        return;
    if (FParent)
        FParent->RemoveControl(this);
    FParent = parent;
    if (FParent) {
        FParent->InsertControl(this);
        if (FParentFont)
            ParentFontChanged();
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    Invalidate();
}

void TControl::SetVisible(bool value) {
    if (FVisible == value)
        return;
    if (!value)
        Invalidate();
    FVisible = value;
    Invalidate();
}

void TControl::SetEnabled(bool value) {
    if (FEnabled == value)
        return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED);
    NotifyAccessibleChange(*this, EVENT_OBJECT_STATECHANGE);
}

void TControl::SetCaption(const std::string& value) {
    if (FCaption == value)
        return;
    FCaption = value;
    Perform(CM_TEXTCHANGED);
    NotifyAccessibleChange(*this, EVENT_OBJECT_NAMECHANGE);
}

std::string TControl::AccessibleName() const { return WithoutAccelerator(Caption()); }

long TControl::AccessibleState() const {
    return (Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE) | (Visible() ? 0 : STATE_SYSTEM_INVISIBLE);
}

void TControl::SetParentFont(bool value) {
    FParentFont = value;
    if (value)
        ParentFontChanged();
}

// Takes the parent's font while ParentFont is set; the copy does not count as an own font.
void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent)
        return;
    FFont.Assign(FParent->Font());
    FParentFont = true;
}

void TControl::FontChanged() { Perform(CM_FONTCHANGED); }

void TControl::SetColor(TColor value) {
    if (FColor == value)
        return;
    FColor = value;
    Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    if (IsMouseMessage(message.Msg))
        HandleMouse(message);
    switch (message.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // The parent hears of it too, naming the control in the second parameter.
        if (FParent)
            FParent->Perform(message.Msg, 0, LPARAM(this));
        break;
    case WM_CANCELMODE:
        if (GCaptureControl == this)
            SetMouseCapture(false);
        FClickPending = false;
        break;
    }
    DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::HandleMouse(TMessage& message) {
    int x = GET_X_LPARAM(message.LParam), y = GET_Y_LPARAM(message.LParam);
    UINT keys = UINT(message.WParam);
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (ControlStyle & csCaptureMouse)
            SetMouseCapture(true);
        FClickPending = (ControlStyle & csClickEvents) != 0;
        MouseDown(mbLeft, keys, x, y);
        break;
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, keys, x, y);
        break;
    case WM_MOUSEMOVE:
        MouseMove(keys, x, y);
        break;
    case WM_LBUTTONUP: {
        if (ControlStyle & csCaptureMouse)
            SetMouseCapture(false);
        bool click = FClickPending && x >= 0 && y >= 0 && x < FWidth && y < FHeight;
        FClickPending = false;
        MouseUp(mbLeft, keys, x, y);
        if (click)
            Click();
        break;
    }
    case WM_RBUTTONUP:
        MouseUp(mbRight, keys, x, y);
        break;
    }
}

void TControl::MouseDown(TMouseButton button, UINT keys, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, keys, x, y);
}

void TControl::MouseMove(UINT keys, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, keys, x, y);
}

void TControl::MouseUp(TMouseButton button, UINT keys, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, keys, x, y);
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TControl::Invalidate() {
    if (FParent)
        FParent->BackdropChanged(this);
    if (FParent && FParent->HandleAllocated() && FVisible) {
        RECT area = BoundsRect();
        InvalidateRect(FParent->Handle(), &area, !(ControlStyle & csOpaque));
    }
}

// A windowless control paints itself into its parent's window through a context of its own.
void TControl::Repaint() {
    if (!FParent || !FParent->HandleAllocated() || !FVisible)
        return;
    TWindowContext parent(FParent->Handle());
    OffsetViewportOrgEx(parent.Handle(), FLeft, FTop, nullptr);
    IntersectClipRect(parent.Handle(), 0, 0, FWidth, FHeight);
    Perform(WM_PAINT, WPARAM(parent.Handle()));
}

POINT TControl::ClientToScreen(POINT point) const {
    if (!FParent)
        return point;
    return FParent->ClientToScreen({point.x + FLeft, point.y + FTop});
}

// The window that holds the capture for this control: its own, or its parent's if windowless.
static HWND CaptureWindow(const TControl* control) {
    if (auto windowed = dynamic_cast<const TWinControl*>(control))
        return windowed->Handle();
    return control->Parent() ? control->Parent()->Handle() : nullptr;
}

bool TControl::MouseCapture() const { return CaptureControl() == this; }

void TControl::SetMouseCapture(bool value) {
    if (value) {
        GCaptureControl = this;
        if (HWND window = CaptureWindow(this))
            SetCapture(window);
    } else if (GCaptureControl == this) {
        GCaptureControl = nullptr;
        ReleaseCapture();
    }
}

TControl* CaptureControl() {
    HWND holder = GetCapture();
    if (!holder)
        return nullptr;
    if (GCaptureControl && CaptureWindow(GCaptureControl) == holder)
        return GCaptureControl;
    return TWinControl::FindControl(holder);
}

void TControl::ScaleBy(int numerator, int denominator) {
    SetBounds(MulDiv(FLeft, numerator, denominator), MulDiv(FTop, numerator, denominator),
              MulDiv(FWidth, numerator, denominator), MulDiv(FHeight, numerator, denominator));
    // A font grows no more than the ratio, rounded toward zero: its text then stays inside the
    // bounds that grew with it (Tahoma -11 at 16/13 is -13; -14 would overflow "O programie").
    if (!FParentFont)
        FFont.SetHeight(FFont.Height() * numerator / denominator);
}
