#include "RxSpeedButton.h"

#include "framework/DescReader.h"

TRxSpeedButton::TRxSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 25, 25);
    ControlStyle = csCaptureMouse | csDoubleClicks | csClickEvents;
    ParentShowHint = false;
    ShowHint = true;
}

void TRxSpeedButton::SetFlat(bool value) {
    if (FFlat == value)
        return;
    FFlat = value;
    Invalidate();
}

void TRxSpeedButton::SetTransparent(bool value) {
    if (FTransparent == value)
        return;
    FTransparent = value;
    Invalidate();
}

void TRxSpeedButton::Paint() {
    HDC dc = Canvas().Handle();
    RECT area = ClientRect();
    if (!FTransparent) {
        Canvas().BrushColor = clBtnFace;
        Canvas().FillRect(area);
    }
    std::string caption = Caption();
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font().Color()));
    DrawTextA(dc, caption.data(), int(caption.size()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
}

void RegisterRxControls() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    using P = const TDescProperty&;
    using R = TDescReader&;
    RegisterComponentClass<TRxSpeedButton>("TRxSpeedButton", "TGraphicControl")
        .Property<TRxSpeedButton>("Flat",
                                  [](TRxSpeedButton& c, P p, R r) { c.SetFlat(r.Boolean(p)); })
        .Property<TRxSpeedButton>(
            "Transparent", [](TRxSpeedButton& c, P p, R r) { c.SetTransparent(r.Boolean(p)); });
}
