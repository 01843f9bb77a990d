#include "WinControl.h"

#include "Accessible.h"
#include "AppLink.h"
#include "Exceptions.h"
#include "Picture.h"
#include "TextUtils.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <windowsx.h>

// Every window of the program maps back to its control here.
static std::unordered_map<HWND, const TWinControl*> GControls;
// The control whose window is being created: it claims the first message of the new window.
static const TWinControl* GCreating = nullptr;

LRESULT CALLBACK FrameworkWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = TWinControl::FindControl(window);
    if (!control) {
        if (!GCreating)
            return (IsWindowUnicode(window) ? DefWindowProcW : DefWindowProcA)(window, msg, wParam,
                                                                               lParam);
        control = const_cast<TWinControl*>(GCreating);
        GCreating = nullptr;
        control->Attach(window);
    }
    TMessage message{msg, wParam, lParam, 0};
    RunGuarded(control, [&] { control->WndProc(message); });
    return message.Result;
}

// The class names are ASCII: the same in 8-bit and in wide text.
static std::wstring WideName(const std::string& name) { return {name.begin(), name.end()}; }

// Registers a framework class in 8-bit or in wide text: a class standing on a standard control
// takes the control's settings, else the framework's own. Returns the procedure that does its
// default handling: the standard control's own, or the platform's.
template <class TWindowClass, class TChar>
static WNDPROC RegisterAs(const TChar* baseClass, const TChar* name,
                          BOOL(WINAPI* classInfo)(HINSTANCE, const TChar*, TWindowClass*),
                          ATOM(WINAPI* registerClass)(const TWindowClass*),
                          WNDPROC platformDefault) {
    TWindowClass windowClass{};
    if (baseClass) {
        if (!classInfo(nullptr, baseClass, &windowClass))
            RaiseLastOSError("GetClassInfo");
    } else {
        windowClass.style = CS_DBLCLKS;
        windowClass.hCursor = LoadCursorA(nullptr, LPCSTR(IDC_ARROW));
    }
    windowClass.hInstance = MainInstance();
    windowClass.lpszClassName = name;
    WNDPROC defaultProc = baseClass ? windowClass.lpfnWndProc : platformDefault;
    windowClass.lpfnWndProc = FrameworkWndProc;
    if (!registerClass(&windowClass))
        RaiseLastOSError("RegisterClass");
    return defaultProc;
}

static WNDPROC RegisterWideClass(const TCreateParams& params) {
    std::wstring base = params.BaseClass ? WideName(params.BaseClass) : L"";
    std::wstring name = WideName(params.WinClassName);
    return RegisterAs<WNDCLASSW>(params.BaseClass ? base.c_str() : nullptr, name.c_str(),
                                 GetClassInfoW, RegisterClassW, DefWindowProcW);
}

static WNDPROC RegisterNarrowClass(const TCreateParams& params) {
    return RegisterAs<WNDCLASSA>(params.BaseClass, params.WinClassName.c_str(), GetClassInfoA,
                                 RegisterClassA, DefWindowProcA);
}

// Registers the framework's window class once; returns the procedure that does the default
// handling: the standard control's own for a class standing on one, else the platform's.
static WNDPROC RegisterWindowClass(const TCreateParams& params) {
    static std::map<std::string, WNDPROC> registered;
    auto found = registered.find(params.WinClassName);
    if (found != registered.end())
        return found->second;
    WNDPROC defaultProc = params.WideText ? RegisterWideClass(params) : RegisterNarrowClass(params);
    registered.emplace(params.WinClassName, defaultProc);
    return defaultProc;
}

static HWND CreateFrameworkWindow(const TCreateParams& params) {
    if (!params.WideText)
        return CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                               params.Style, params.X, params.Y, params.Width, params.Height,
                               params.WndParent, nullptr, MainInstance(), nullptr);
    return CreateWindowExW(params.ExStyle, WideName(params.WinClassName).c_str(),
                           Widen(params.Caption, CP_ACP).c_str(), params.Style, params.X, params.Y,
                           params.Width, params.Height, params.WndParent, nullptr, MainInstance(),
                           nullptr);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    for (TControl* control : FControls)
        control->FParent = nullptr;
    FControls.clear();
    DestroyHandle();
    ReleaseBrush();
}

void TWinControl::ReleaseBrush() const {
    if (FBrush)
        DeleteObject(FBrush);
    FBrush = nullptr;
}

HBRUSH TWinControl::Brush() const {
    if (FBrushColor != Color())
        ReleaseBrush();
    if (!FBrush) {
        FBrushColor = Color();
        FBrush = CreateSolidBrush(ColorToRGB(FBrushColor));
    }
    return FBrush;
}

TWinControl* TWinControl::FindControl(HWND window) {
    auto found = GControls.find(window);
    return found == GControls.end() ? nullptr : const_cast<TWinControl*>(found->second);
}

// A child's window is made with its parent's: asking the parent first makes this one too, and
// never twice.
HWND TWinControl::Handle() const {
    if (!FHandle && Parent())
        Parent()->Handle();
    if (!FHandle)
        const_cast<TWinControl*>(this)->CreateWnd();
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& params) const {
    params.Caption = TControl::Caption();
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible())
        params.Style |= WS_VISIBLE;
    if (TabStop)
        params.Style |= WS_TABSTOP;
    if (!Enabled())
        params.Style |= WS_DISABLED;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->Handle() : nullptr;
    params.WinClassName = std::string("Tolvo") + ClassName();
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    FDefWndProc = RegisterWindowClass(params);
    FBaseClass = params.BaseClass;
    FWideText = params.WideText;
    GCreating = this;
    HWND window = CreateFrameworkWindow(params);
    GCreating = nullptr;
    if (!window)
        RaiseLastOSError("CreateWindowEx");
    SendMessageA(window, WM_SETFONT, WPARAM(Font().Handle()), 0);
    for (TControl* control : FControls)
        if (auto windowed = dynamic_cast<TWinControl*>(control))
            windowed->Handle();
}

void TWinControl::Attach(HWND window) const {
    FHandle = window;
    GControls[window] = this;
}

void TWinControl::Detach() const {
    GControls.erase(FHandle);
    FHandle = nullptr;
}

void TWinControl::DestroyHandle() {
    if (FHandle)
        DestroyWindow(FHandle);
}

void TWinControl::RecreateWnd() {
    if (!FHandle)
        return;
    DestroyHandle();
    Handle();
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    if (auto windowed = dynamic_cast<TWinControl*>(control); windowed && FHandle)
        windowed->Handle();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
    control->Invalidate();
    std::erase(FControls, control);
    if (auto windowed = dynamic_cast<TWinControl*>(control))
        windowed->DestroyHandle();
}

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* control = *it;
        if (dynamic_cast<TWinControl*>(control) || !control->Visible())
            continue;
        if (!allowDisabled && !control->Enabled())
            continue;
        RECT bounds = control->BoundsRect();
        if (PtInRect(&bounds, point))
            return control;
    }
    return nullptr;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (FHandle)
        SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool value) {
    FVisible = value;
    if (FHandle)
        ShowWindow(FHandle, value ? SW_SHOW : SW_HIDE);
}

std::string TWinControl::Caption() const {
    if (!FHandle)
        return TControl::Caption();
    std::string text(GetWindowTextLengthA(FHandle) + 1, '\0');
    text.resize(GetWindowTextA(FHandle, text.data(), int(text.size())));
    return text;
}

void TWinControl::SetCaption(const std::string& value) {
    if (FHandle && Caption() != value)
        SetWindowTextA(FHandle, value.c_str());
    TControl::SetCaption(value);
}

std::string TWinControl::AccessibleName() const {
    if (!ShowsValue(*this))
        return TControl::AccessibleName();
    return Parent() ? Parent()->NameForValueControls() : "";
}

void TWinControl::Invalidate() {
    BackdropChanged(nullptr);
    if (FHandle)
        InvalidateRect(FHandle, nullptr, !(ControlStyle & csOpaque));
}

void TWinControl::Repaint() {
    Invalidate();
    if (FHandle)
        UpdateWindow(FHandle);
}

POINT TWinControl::ClientToScreen(POINT point) const {
    ::ClientToScreen(Handle(), &point);
    return point;
}

void TWinControl::ScaleBy(int numerator, int denominator) {
    TControl::ScaleBy(numerator, denominator);
    for (TControl* control : FControls)
        control->ScaleBy(numerator, denominator);
}

void TWinControl::FontChanged() {
    if (FHandle)
        SendMessageA(FHandle, WM_SETFONT, WPARAM(Font().Handle()), TRUE);
    for (TControl* control : FControls)
        control->ParentFontChanged();
    TControl::FontChanged();
}

// The child window a notification to its parent comes from.
static HWND NotifyingChild(const TMessage& message) {
    if (message.Msg == WM_DRAWITEM)
        return reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->hwndItem;
    return HWND(message.LParam);
}

// The platform's messages and the framework's notifications are handled apart; what neither
// handles in full goes on to the control.
void TWinControl::WndProc(TMessage& message) {
    if (IsMouseMessage(message.Msg) && RouteMouse(message))
        return;
    if (message.Msg < WM_USER ? HandlePlatformMessage(message) : HandleNotification(message))
        return;
    TControl::WndProc(message);
}

bool TWinControl::HandlePlatformMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        Paint(message);
        return true;
    case WM_ERASEBKGND:
        if (StandsOnControl())
            break;
        EraseBackground(HDC(message.WParam));
        message.Result = 1;
        return true;
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        ReflectToChild(message, NotifyingChild(message));
        return message.Result != 0;
    case WM_WINDOWPOSCHANGED:
        TakeWindowBounds();
        break;
    case WM_CANCELMODE:
        if (TControl* capture = CaptureControl(); capture && capture->Parent() == this)
            capture->Perform(WM_CANCELMODE);
        break;
    case WM_SYSCOLORCHANGE:
        Perform(CM_SYSCOLORCHANGE);
        break;
    case WM_GETOBJECT:
        return AnswerAccessibleObject(*this, message);
    case WM_ENABLE:
    case WM_SHOWWINDOW:
        NotifyActionsChanged(*this);
        break;
    case WM_NCDESTROY:
        DefaultHandler(message);
        Detach();
        return true;
    }
    return false;
}

bool TWinControl::HandleNotification(TMessage& message) {
    switch (message.Msg) {
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC:
        message.Result = LRESULT(PrepareChildColors(HDC(message.WParam)));
        return true;
    case CM_ENABLEDCHANGED:
        if (FHandle)
            EnableWindow(FHandle, Enabled());
        break;
    case CM_SYSCOLORCHANGE:
        // The brush of a system colour holds the value the colour had when it was made.
        ReleaseBrush();
        Broadcast(message);
        return true;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        Broadcast(message);
        return true;
    case CM_ACCESSIBLEACTION:
        DoPostedAccessibleAction(*this, reinterpret_cast<TControl*>(message.LParam));
        return true;
    }
    return false;
}

void TWinControl::EraseBackground(HDC dc) const {
    RECT area;
    GetClientRect(FHandle, &area);
    FillRect(dc, &area, Brush());
}

// The bounds the window has now, however it came to move: in its parent's client coordinates
// when it is a child, else on the screen.
void TWinControl::TakeWindowBounds() {
    RECT bounds;
    GetWindowRect(FHandle, &bounds);
    HWND parent = GetAncestor(FHandle, GA_PARENT);
    if (parent && (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    FLeft = bounds.left;
    FTop = bounds.top;
    FWidth = bounds.right - bounds.left;
    FHeight = bounds.bottom - bounds.top;
}

// A standard control asks for its colours: the control's font colour on its own colour.
HBRUSH TWinControl::PrepareChildColors(HDC dc) const {
    SetTextColor(dc, ColorToRGB(ReadableTextColor(Font().Color(), Color())));
    SetBkColor(dc, ColorToRGB(Color()));
    return Brush();
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (FHandle && message.Msg < WM_USER)
        message.Result = CallDefault(message.Msg, message.WParam, message.LParam);
}

LRESULT TWinControl::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return (FWideText ? CallWindowProcW : CallWindowProcA)(FDefWndProc, Handle(), msg, wParam,
                                                           lParam);
}

// Mouse input over a windowless child, or anywhere while one holds the capture, is the child's.
bool TWinControl::RouteMouse(TMessage& message) {
    POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    TControl* capture = CaptureControl();
    TControl* target = nullptr;
    if (capture && capture != this)
        target = capture->Parent() == this ? capture : nullptr;
    else
        target = ControlAtPos(point);
    if (!target)
        return false;
    message.Result = target->Perform(message.Msg, message.WParam,
                                     MAKELPARAM(point.x - target->Left(), point.y - target->Top()));
    return true;
}

// Notifications a child window sends its parent go back to the child's own control.
void TWinControl::ReflectToChild(TMessage& message, HWND child) {
    TWinControl* control = child && child != FHandle ? FindControl(child) : nullptr;
    if (control)
        message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
}

static bool IsWindowless(const TControl* control) {
    return control->Visible() && !dynamic_cast<const TWinControl*>(control);
}

void TWinControl::Paint(TMessage& message) {
    bool hasWindowless = std::any_of(FControls.begin(), FControls.end(), IsWindowless);
    if (StandsOnControl() && !hasWindowless) {
        DefaultHandler(message);
        return;
    }
    PAINTSTRUCT paint{};
    HDC dc = message.WParam ? HDC(message.WParam) : BeginPaint(FHandle, &paint);
    PaintWindow(dc);
    PaintControls(dc);
    if (!message.WParam)
        EndPaint(FHandle, &paint);
}

void TWinControl::PaintWindow(HDC) {}

bool TWinControl::StandsOnControl() const {
    return FDefWndProc != DefWindowProcA && FDefWndProc != DefWindowProcW;
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* control : std::vector<TControl*>(FControls))
        if ((message.Result = control->Perform(message.Msg, message.WParam, message.LParam)))
            return;
}

void TWinControl::BackdropChanged(const TControl* changed) {
    auto above = std::find(FControls.begin(), FControls.end(), changed);
    above = above == FControls.end() ? FControls.begin() : above + 1;
    for (; above != FControls.end(); ++above) {
        RECT bounds = (*above)->BoundsRect(), overlap;
        if (changed) {
            RECT area = changed->BoundsRect();
            if (!IntersectRect(&overlap, &bounds, &area))
                continue;
        }
        if (!dynamic_cast<TWinControl*>(*above))
            (*above)->Perform(CM_BACKDROPCHANGED);
    }
}

void TWinControl::PaintBeneath(HDC dc, const TControl* child) {
    PaintWindow(dc);
    PaintControls(dc, child);
}

// Each control is clipped to its bounds, less the opaque windowless controls above it (up to
// stopAt): those paint every pixel of their own area, so nothing is drawn there twice.
void TWinControl::PaintControls(HDC dc, const TControl* stopAt) {
    RECT clip;
    GetClipBox(dc, &clip);
    auto end = std::find(FControls.begin(), FControls.end(), stopAt);
    for (auto it = FControls.begin(); it != end; ++it) {
        TControl* control = *it;
        RECT bounds = control->BoundsRect(), overlap;
        if (!IsWindowless(control) || !IntersectRect(&overlap, &bounds, &clip))
            continue;
        int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
        for (auto above = it + 1; above != end; ++above)
            if (IsWindowless(*above) && ((*above)->ControlStyle & csOpaque)) {
                RECT cover = (*above)->BoundsRect();
                ExcludeClipRect(dc, cover.left - bounds.left, cover.top - bounds.top,
                                cover.right - bounds.left, cover.bottom - bounds.top);
            }
        control->Perform(WM_PAINT, WPARAM(dc));
        RestoreDC(dc, saved);
    }
}

TRedrawLock::TRedrawLock(HWND window, bool repaintNow) : FWindow(window), FRepaintNow(repaintNow) {
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
}

TRedrawLock::~TRedrawLock() {
    SendMessageA(FWindow, WM_SETREDRAW, TRUE, 0);
    if (FRepaintNow)
        RedrawWindow(FWindow, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    else
        InvalidateRect(FWindow, nullptr, TRUE);
}

TControl* ControlAtScreenPos(POINT point) {
    TWinControl* windowed = nullptr;
    for (HWND window = WindowFromPoint(point); window && !windowed; window = GetParent(window))
        windowed = TWinControl::FindControl(window);
    if (!windowed)
        return nullptr;
    ScreenToClient(windowed->Handle(), &point);
    TControl* windowless = windowed->ControlAtPos(point, true);
    return windowless ? windowless : windowed;
}
