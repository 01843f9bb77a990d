#include "RxSpeedButton.h"

#include "framework/DescReader.h"
#include "framework/Machine.h"
#include "framework/PopupMenu.h"
#include "framework/WinControl.h"

#include <oleacc.h>
#include <windowsx.h>

bool NewStyleLook = PlatformMajorVersion() >= 4;

static int GLiveButtons = 0;
static std::unique_ptr<TBitmap> GLatchPattern;

int LiveButtons() { return GLiveButtons; }
const TBitmap* LatchPattern() { return GLatchPattern.get(); }

TRxSpeedButton::TRxSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 25, 25);
    ControlStyle = csCaptureMouse | csOpaque | csDoubleClicks;
    GlyphPainter.ChangedNotify = [this] { Restyle(); };
    ParentShowHint = false;
    ShowHint = true;
    ++GLiveButtons;
}

TRxSpeedButton::~TRxSpeedButton() {
    if (--GLiveButtons == 0)
        GLatchPattern.reset();
}

// Setters store and repaint only when the value really changes.
template <typename T> static bool Change(T& field, T value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

void TRxSpeedButton::SetAllowAllUp(bool value) {
    if (Change(FAllowAllUp, value))
        AnnounceDown();
}

void TRxSpeedButton::SetGroupIndex(int value) {
    if (Change(FGroupIndex, value))
        AnnounceDown();
}

// A latched button is released only by another of its group going down, unless the group
// allows all up. Buttons outside a group never latch.
void TRxSpeedButton::SetDown(bool value) {
    if (FGroupIndex == 0)
        value = false;
    if (value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = value;
    FFaceState = value ? bfLatched : bfUp;
    Invalidate();
    if (value)
        AnnounceDown();
}

void TRxSpeedButton::SetDropDownMenu(TPopupMenu* value) {
    FDropDownMenu = value;
    if (value)
        value->FreeNotification(this);
    if (FMarkDropDown)
        Restyle();
}

void TRxSpeedButton::SetFlat(bool value) {
    if (Change(FFlat, value))
        Restyle();
}

void TRxSpeedButton::SetGlyph(const TBitmap* value) {
    GlyphPainter.AssignGlyph(value);
    Restyle();
}

void TRxSpeedButton::SetGrayedInactive(bool value) {
    if (Change(FGrayedInactive, value))
        Restyle();
}

void TRxSpeedButton::SetLayout(TButtonLayout value) {
    if (Change(FLayout, value))
        Restyle();
}

void TRxSpeedButton::SetMargin(int value) {
    if (value >= -1 && Change(FMargin, value))
        Restyle();
}

void TRxSpeedButton::SetMarkDropDown(bool value) {
    if (Change(FMarkDropDown, value))
        Restyle();
}

void TRxSpeedButton::SetNumGlyphs(int value) {
    value = std::min(value, 5);
    if (value == GlyphPainter.CellCount())
        return;
    GlyphPainter.ChangeCellCount(value);
    Restyle();
}

void TRxSpeedButton::SetSpacing(int value) {
    if (Change(FSpacing, value))
        Restyle();
}

void TRxSpeedButton::SetStyle(TButtonStyle value) {
    if (Change(FStyle, value))
        Restyle();
}

void TRxSpeedButton::SetTransparent(bool value) {
    if (Change(FTransparent, value))
        Restyle();
}

void TRxSpeedButton::SetWordWrap(bool value) {
    if (Change(GlyphPainter.WordWrap, value))
        Restyle();
}

void TRxSpeedButton::Restyle() {
    ForgetFaces();
    Invalidate();
}

void TRxSpeedButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FDropDownMenu)
        SetDropDownMenu(nullptr);
}

// ---- Painting ----

void TRxSpeedButton::Paint() {
    if (!Enabled()) {
        FFaceState = bfDisabled;
        FHeld = false;
    } else if (FFaceState == bfDisabled) {
        FFaceState = FDown && FGroupIndex != 0 ? bfLatched : bfUp;
    }
    TButtonFace frameState = FFlat && !FMouseInside ? bfIdle : FFaceState;
    int cell = FaceCell(frameState);
    KeepFacesForPlace();
    if (!(FComposedFaces & 1u << cell)) {
        ComposeFace(cell, frameState);
        FComposedFaces |= 1u << cell;
    }
    BitBlt(Canvas().Handle(), 0, 0, Width(), Height(), FaceBuffer.Canvas().Handle(), cell * Width(),
           0, SRCCOPY);
}

// Two cells for each stored face state: with its frame state, and idle (no frame).
constexpr int FaceCells = 2 * (bfLatched + 1);

int TRxSpeedButton::FaceCell(TButtonFace frameState) const {
    return 2 * FFaceState + (frameState == bfIdle);
}

bool TRxSpeedButton::TFacePlace::operator==(const TFacePlace& other) const {
    return Parent == other.Parent && EqualRect(&Bounds, &other.Bounds) &&
           ParentWidth == other.ParentWidth && ParentHeight == other.ParentHeight;
}

// A transparent face shows what lies at its place in its parent, clipped to the parent.
void TRxSpeedButton::KeepFacesForPlace() {
    TFacePlace place{Parent(), BoundsRect(), Parent() ? Parent()->Width() : 0,
                     Parent() ? Parent()->Height() : 0};
    if (place == FFacePlace && !FaceBuffer.Empty())
        return;
    FFacePlace = place;
    FaceBuffer.SetSize(FaceCells * Width(), Height());
    ForgetFaces();
}

// Composes the face into its cell; the cell's origin stands in for the face's own origin.
void TRxSpeedButton::ComposeFace(int cell, TButtonFace frameState) {
    bool sunken = FFaceState == bfPressed || FFaceState == bfLatched;
    RECT content = ClientRect();
    TCanvas& canvas = FaceBuffer.Canvas();
    HDC dc = canvas.Handle();
    int saved = SaveDC(dc);
    SetViewportOrgEx(dc, cell * Width(), 0, nullptr);
    SetBrushOrgEx(dc, cell * Width(), 0, nullptr);
    IntersectClipRect(dc, 0, 0, Width(), Height());
    canvas.Font.Assign(Font());
    canvas.BrushColor = clBtnFace;
    canvas.BrushPattern = nullptr;
    canvas.FillRect(content);
    if (FTransparent)
        PaintBackdrop(dc);
    if (frameState != bfIdle || FFaceState == bfLatched)
        content = DrawFaceFrame(canvas, content, sunken, FFlat, FStyle);
    if (sunken)
        OffsetRect(&content, 1, 1);
    if (FFaceState == bfLatched && !FFlat) {
        if (!GLatchPattern)
            GLatchPattern = MakeCheckerPattern(clBtnFace, clWhite);
        canvas.BrushPattern = GLatchPattern->Handle();
        canvas.FillRect({content.left, content.top, content.right - 1, content.bottom - 1});
        canvas.BrushPattern = nullptr;
    }
    TButtonFace contentState =
        FFaceState == bfDisabled || !FGrayedInactive ? FFaceState : frameState;
    GlyphPainter.DrawContent(canvas, content, Caption(), FLayout, FMargin, FSpacing,
                             FMarkDropDown && FDropDownMenu, contentState);
    RestoreDC(dc, saved);
}

// What lies beneath the button, drawn into dc whose origin is the button's top-left corner.
void TRxSpeedButton::PaintBackdrop(HDC dc) {
    if (!Parent())
        return;
    RECT parentArea;
    GetClientRect(Parent()->Handle(), &parentArea);
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -Left(), -Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parentArea.right, parentArea.bottom);
    Parent()->PaintBeneath(dc, this);
    RestoreDC(dc, saved);
}

void DrawEdges3D(TCanvas& canvas, RECT& rect, TColor topLeft, TColor bottomRight) {
    auto line = [&](RECT part, TColor color) {
        canvas.BrushColor = color;
        canvas.FillRect(part);
    };
    line({rect.left, rect.top, rect.left + 1, rect.bottom}, topLeft);
    line({rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    line({rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
    line({rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
    InflateRect(&rect, -1, -1);
}

RECT DrawFaceFrame(TCanvas& canvas, RECT rect, bool pressed, bool flat, TButtonStyle style) {
    bool newStyle = style == bsNew || (style == bsAutoDetect && NewStyleLook);
    canvas.BrushPattern = nullptr;
    if (!pressed && newStyle) {
        if (flat) {
            DrawEdges3D(canvas, rect, clBtnHighlight, clBtnShadow);
        } else {
            DrawEdges3D(canvas, rect, clBtnHighlight, clWindowFrame);
            DrawEdges3D(canvas, rect, clBtnFace, clBtnShadow);
        }
    } else if (!pressed) {
        if (flat) {
            DrawEdges3D(canvas, rect, clBtnHighlight, clWindowFrame);
        } else {
            DrawEdges3D(canvas, rect, clWindowFrame, clWindowFrame);
            DrawEdges3D(canvas, rect, clBtnHighlight, clBtnShadow);
        }
    } else if (flat) {
        DrawEdges3D(canvas, rect, clWindowFrame, clBtnHighlight);
    } else if (newStyle) {
        DrawEdges3D(canvas, rect, clWindowFrame, clBtnHighlight);
        DrawEdges3D(canvas, rect, clBtnShadow, clBtnFace);
    } else {
        DrawEdges3D(canvas, rect, clWindowFrame, clWindowFrame);
        // The shadow inside the old pressed frame: left column and top row, not shrinking.
        canvas.BrushColor = clBtnShadow;
        canvas.FillRect({rect.left, rect.top, rect.left + 1, rect.bottom});
        canvas.FillRect({rect.left, rect.top, rect.right, rect.top + 1});
    }
    InflateRect(&rect, -1, -1);
    return rect;
}

std::unique_ptr<TBitmap> MakeCheckerPattern(TColor first, TColor second) {
    auto pattern = std::make_unique<TBitmap>();
    pattern->SetSize(8, 8);
    TCanvas& canvas = pattern->Canvas();
    canvas.BrushColor = first;
    canvas.FillRect({0, 0, 8, 8});
    for (int y = 0; y < 8; ++y)
        for (int x = y % 2; x < 8; x += 2)
            canvas.SetPixel(x, y, second);
    pattern->Dormant();
    return pattern;
}

// ---- Mouse ----

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
    struct TPressGuard {
        bool& Active;
        ~TPressGuard() { Active = false; }
    } guard{FPressActive};
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

// ---- Descriptions ----

void RegisterRxControls() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    using B = TRxSpeedButton;
    using P = const TDescProperty&;
    using R = TDescReader&;
    RegisterComponentClass<B>("TRxSpeedButton", "TGraphicControl")
        .Property<B>("AllowAllUp", [](B& c, P p, R r) { c.SetAllowAllUp(r.Boolean(p)); })
        .Property<B>("GroupIndex", [](B& c, P p, R r) { c.SetGroupIndex(r.Integer(p)); })
        .Property<B>("Down", [](B& c, P p, R r) { c.SetDown(r.Boolean(p)); })
        .Property<B>("DropDownMenu",
                     [](B& c, P p, R r) {
                         r.Reference(p, [&c](TComponent* menu) {
                             c.SetDropDownMenu(dynamic_cast<TPopupMenu*>(menu));
                         });
                     })
        .Property<B>("Flat", [](B& c, P p, R r) { c.SetFlat(r.Boolean(p)); })
        .Property<B>("Glyph",
                     [](B& c, P p, R r) {
                         TBitmap glyph;
                         glyph.LoadFromResourceName(r.Resource(p));
                         c.SetGlyph(&glyph);
                     })
        .Property<B>("GrayedInactive", [](B& c, P p, R r) { c.SetGrayedInactive(r.Boolean(p)); })
        .Property<B>("Layout",
                     [](B& c, P p, R r) {
                         c.SetLayout(TButtonLayout(r.Enum(
                             p, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"})));
                     })
        .Property<B>("Margin", [](B& c, P p, R r) { c.SetMargin(r.Integer(p)); })
        .Property<B>("MarkDropDown", [](B& c, P p, R r) { c.SetMarkDropDown(r.Boolean(p)); })
        .Property<B>("NumGlyphs", [](B& c, P p, R r) { c.SetNumGlyphs(r.Integer(p)); })
        .Property<B>("Spacing", [](B& c, P p, R r) { c.SetSpacing(r.Integer(p)); })
        .Property<B>("Style",
                     [](B& c, P p, R r) {
                         c.SetStyle(TButtonStyle(r.Enum(p, {"bsAutoDetect", "bsWin31", "bsNew"})));
                     })
        .Property<B>("Transparent", [](B& c, P p, R r) { c.SetTransparent(r.Boolean(p)); })
        .Property<B>("WordWrap", [](B& c, P p, R r) { c.SetWordWrap(r.Boolean(p)); })
        .Property<B>("OnDblClick", [](B& c, P p, R r) { c.OnDblClick = r.Event(p); });
}

long TRxSpeedButton::AccessibleRole() const { return ROLE_SYSTEM_PUSHBUTTON; }

long TRxSpeedButton::AccessibleState() const {
    return TGraphicControl::AccessibleState() | (FMouseInside ? STATE_SYSTEM_HOTTRACKED : 0) |
           (FDown ? STATE_SYSTEM_PRESSED : 0);
}
