#include "RxSpeedButton.h"

#include "framework/DescReader.h"
#include "framework/PopupMenu.h"

#include <oleacc.h>

static int GLiveButtons = 0;

int LiveButtons() { return GLiveButtons; }

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
        ForgetLatchPattern();
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

// ---- Descriptions ----

void RegisterRxControls() {
    RegisterOnce([] {
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
            .Property<B>("GrayedInactive",
                         [](B& c, P p, R r) { c.SetGrayedInactive(r.Boolean(p)); })
            .Property<B>("Layout",
                         [](B& c, P p, R r) {
                             c.SetLayout(TButtonLayout(r.Enum(p, {"blGlyphLeft", "blGlyphRight",
                                                                  "blGlyphTop", "blGlyphBottom"})));
                         })
            .Property<B>("Margin", [](B& c, P p, R r) { c.SetMargin(r.Integer(p)); })
            .Property<B>("MarkDropDown", [](B& c, P p, R r) { c.SetMarkDropDown(r.Boolean(p)); })
            .Property<B>("NumGlyphs", [](B& c, P p, R r) { c.SetNumGlyphs(r.Integer(p)); })
            .Property<B>("Spacing", [](B& c, P p, R r) { c.SetSpacing(r.Integer(p)); })
            .Property<B>(
                "Style",
                [](B& c, P p, R r) {
                    c.SetStyle(TButtonStyle(r.Enum(p, {"bsAutoDetect", "bsWin31", "bsNew"})));
                })
            .Property<B>("Transparent", [](B& c, P p, R r) { c.SetTransparent(r.Boolean(p)); })
            .Property<B>("WordWrap", [](B& c, P p, R r) { c.SetWordWrap(r.Boolean(p)); })
            .Property<B>("OnDblClick", [](B& c, P p, R r) { c.OnDblClick = r.Event(p); });
    });
}

long TRxSpeedButton::AccessibleRole() const { return ROLE_SYSTEM_PUSHBUTTON; }

long TRxSpeedButton::AccessibleState() const {
    return TGraphicControl::AccessibleState() |
           (FFlat && FMouseInside ? STATE_SYSTEM_HOTTRACKED : 0) |
           (FDown ? STATE_SYSTEM_PRESSED : 0);
}
