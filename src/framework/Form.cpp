#include "Form.h"

#include "AppLink.h"
#include "CleanUp.h"
#include "DescReader.h"
#include "Resources.h"
#include "StringIds.h"
#include "TaskWindowLock.h"

#include <algorithm>

TForm::TForm(TComponent* owner) : TWinControl(owner) { TControl::SetVisible(false); }

TForm::~TForm() {
    BeginDestroy();
    DestroyComponents();
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    FBorderStyle = value;
    UpdateOuterSize();
}

void TForm::SetBorderIcons(unsigned value) {
    FBorderIcons = value;
    UpdateOuterSize();
}

void TForm::SetFormStyle(TFormStyle value) {
    FFormStyle = value;
    if (HandleAllocated())
        SetWindowPos(Handle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetWindowState(TWindowState value) {
    FWindowState = value;
    if (HandleAllocated() && Visible())
        ShowWindow(Handle(), value == wsMaximized   ? SW_MAXIMIZE
                             : value == wsMinimized ? SW_MINIMIZE
                                                    : SW_RESTORE);
}

int TForm::ClientWidth() const {
    if (!HandleAllocated())
        return FClientWidth;
    RECT area;
    GetClientRect(Handle(), &area);
    return area.right;
}

int TForm::ClientHeight() const {
    if (!HandleAllocated())
        return FClientHeight;
    RECT area;
    GetClientRect(Handle(), &area);
    return area.bottom;
}

void TForm::SetClientWidth(int value) {
    FClientWidth = value;
    UpdateOuterSize();
}

void TForm::SetClientHeight(int value) {
    FClientHeight = value;
    UpdateOuterSize();
}

void TForm::FrameStyle(DWORD& style, DWORD& exStyle) const {
    style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    exStyle = FFormStyle == fsStayOnTop ? WS_EX_TOPMOST : 0;
    switch (FBorderStyle) {
    case bsNone:
        style |= WS_POPUP;
        break;
    case bsSingle:
        style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
        style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (FBorderStyle != bsNone && (FBorderIcons & biSystemMenu)) {
        style |= WS_SYSMENU;
        if (FBorderStyle != bsDialog) {
            if (FBorderIcons & biMinimize)
                style |= WS_MINIMIZEBOX;
            if (FBorderIcons & biMaximize)
                style |= WS_MAXIMIZEBOX;
        }
    }
}

// The outer size follows the client size the description gives, for the frame the style makes.
void TForm::UpdateOuterSize() {
    DWORD style, exStyle;
    FrameStyle(style, exStyle);
    RECT frame{0, 0, FClientWidth, FClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    TWinControl::SetBounds(Left(), Top(), frame.right - frame.left, frame.bottom - frame.top);
}

void TForm::CreateParams(TCreateParams& params) const {
    TWinControl::CreateParams(params);
    FrameStyle(params.Style, params.ExStyle);
    params.WndParent = AppLink() ? AppLink()->OwnerWindow() : nullptr;
}

void TForm::CreateWnd() {
    // Made where it will first show, so that the showing does not move it again.
    if (!FShownOnce && FPosition == poScreenCenter) {
        POINT place = ScreenCentre();
        TWinControl::SetBounds(place.x, place.y, Width(), Height());
    }
    TWinControl::CreateWnd();
    // The title bar takes its small picture from the big one.
    if (!FIcon.Empty() && FBorderStyle != bsDialog)
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, LPARAM(FIcon.Handle()));
}

POINT CenteredPosition(int width, int height, int screenWidth, int screenHeight) {
    return {std::max(0, (screenWidth - width) / 2), std::max(0, (screenHeight - height) / 2)};
}

POINT TForm::ScreenCentre() const {
    return CenteredPosition(Width(), Height(), GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN));
}

void TForm::PlaceOnFirstShow() {
    if (FShownOnce)
        return;
    FShownOnce = true;
    if (FPosition != poScreenCenter)
        return;
    POINT place = ScreenCentre();
    if (place.x != Left() || place.y != Top())
        SetBounds(place.x, place.y, Width(), Height());
}

void TForm::SetVisible(bool value) {
    if (value == Visible())
        return;
    TControl::SetVisible(value);
    // The application window is shown before the first of its windows and hidden after the
    // last, so that it never takes the activation from the window being shown.
    if (value) {
        HWND window = Handle();
        PlaceOnFirstShow();
        if (AppLink())
            AppLink()->FormVisibilityChanged(this);
        if (!AppLink() || !AppLink()->Minimized())
            ShowWindow(window, FWindowState == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    } else {
        if (HandleAllocated())
            ShowWindow(Handle(), SW_HIDE);
        if (AppLink())
            AppLink()->FormVisibilityChanged(this);
    }
}

void TForm::RestoreFocus() {
    if (FFocusedChild && IsWindow(FFocusedChild) && IsWindowVisible(FFocusedChild) &&
        IsWindowEnabled(FFocusedChild))
        ::SetFocus(FFocusedChild);
    else
        SelectNext(true);
    if (!IsChild(Handle(), GetFocus()))
        ::SetFocus(Handle());
}

void TForm::ScaleBy(int numerator, int denominator) {
    for (TControl* control : Controls())
        control->ScaleBy(numerator, denominator);
    FClientWidth = MulDiv(FClientWidth, numerator, denominator);
    FClientHeight = MulDiv(FClientHeight, numerator, denominator);
    UpdateOuterSize();
}

void TForm::RegisterHandler(const std::string& name, TNotifyEvent handler) {
    FHandlers[name] = std::move(handler);
}

const TNotifyEvent* TForm::FindHandler(const std::string& name) const {
    auto found = FHandlers.find(name);
    return found == FHandlers.end() ? nullptr : &found->second;
}

void TForm::ReadDescription(const std::string& resourceName) {
    TDescReader(*this).Read(ParseDescription(LoadTextResource(resourceName)));
    int screenTextHeight = FontLineHeight(Font());
    if (TextHeight > 0 && screenTextHeight != TextHeight)
        ScaleBy(screenTextHeight, TextHeight);
}

void TForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE:
        if (FModal)
            ModalResult = 2;
        else if (AppLink())
            AppLink()->CloseForm(this);
        else
            Hide();
        return;
    case WM_ACTIVATE:
        // The control that had the focus gets it back when the window is activated again; the
        // first one in tab order the first time.
        if (LOWORD(message.WParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            FFocusedChild = focus && IsChild(Handle(), focus) ? focus : FFocusedChild;
        } else if (!HIWORD(message.WParam)) {
            TWinControl::WndProc(message);
            RestoreFocus();
            return;
        }
        break;
    case WM_SETTINGCHANGE:
        if (message.WParam != SPI_SETHIGHCONTRAST)
            break;
        [[fallthrough]];
    case WM_SYSCOLORCHANGE:
        // Another scheme: the window and every child draw again in the colours it gives.
        TWinControl::WndProc(message);
        RedrawWindow(Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return;
    case WM_SYSCOMMAND:
        if ((message.WParam & SystemCommandMask) == SC_MINIMIZE && AppLink()) {
            AppLink()->MinimizeForm(this);
            return;
        }
        break;
    }
    TWinControl::WndProc(message);
}

bool TForm::ClickForKey(TControl* control, LPARAM keyData) {
    if (!control)
        return false;
    bool repeated = HIWORD(keyData) & KF_REPEAT;
    if (!repeated && IsWindowEnabled(Handle()))
        control->Click();
    return true;
}

int TForm::ShowModal() {
    if (Visible() || !Enabled() || FModal)
        throw EInvalidOperation(LoadStr(SCannotShowModal));
    if (HWND capture = GetCapture())
        SendMessageA(capture, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    FModal = true;
    HCURSOR cursor = SetCursor(LoadCursorA(nullptr, LPCSTR(IDC_ARROW)));
    TModalScope scope;
    // Whatever happens, the window is hidden and everything put back as it was.
    TCleanUp restore([&] {
        if (GetActiveWindow() != Handle())
            scope.KeepActivation();
        Hide();
        SetCursor(cursor);
        FModal = false;
    });
    Show();
    SetActiveWindow(Handle());
    ModalResult = 0;
    do {
        AppLink()->HandleMessage();
        if (AppLink()->Terminated())
            ModalResult = 2;
        else if (ModalResult && !CloseQuery())
            ModalResult = 0;
    } while (!ModalResult);
    return ModalResult;
}
