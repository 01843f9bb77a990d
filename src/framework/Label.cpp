#include "Label.h"

#include "TextUtils.h"

#include <oleacc.h>

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

void TLabel::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustBounds();
}

UINT TLabel::DrawFlags() const {
    return DT_EXPANDTABS | DT_LEFT | (WordWrap ? DT_WORDBREAK : 0) |
           (ShowAccelChar ? 0 : DT_NOPREFIX);
}

// The text as it is measured: an empty caption (or a lone "&") still takes a blank's width, so an
// empty label keeps the height of a line.
static std::string MeasuredText(const std::string& caption, bool showAccelChar) {
    if (caption.empty() || (showAccelChar && caption == "&"))
        return caption + " ";
    return caption;
}

void TLabel::AdjustBounds() {
    if (!FAutoSize)
        return;
    std::string text = MeasuredText(Caption(), ShowAccelChar);
    RECT bounds{0, 0, Width(), 0};
    {
        TWindowContext screen;
        TSelection font(screen.Handle(), Font().Handle());
        DrawTextA(screen.Handle(), text.data(), int(text.size()), &bounds,
                  DrawFlags() | DT_CALCRECT);
    }
    SetBounds(Left(), Top(), bounds.right, bounds.bottom);
}

void TLabel::WndProc(TMessage& message) {
    TGraphicControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED || message.Msg == CM_FONTCHANGED)
        AdjustBounds();
}

void TLabel::Paint() {
    HDC dc = Canvas().Handle();
    RECT area = ClientRect();
    if (!Transparent) {
        Canvas().BrushColor = Color();
        Canvas().FillRect(area);
    }
    std::string text = Caption();
    TSelection font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : clGray));
    DrawTextA(dc, text.data(), int(text.size()), &area, DrawFlags());
}

long TLabel::AccessibleRole() const { return ROLE_SYSTEM_STATICTEXT; }

std::string TLabel::AccessibleName() const {
    return ShowAccelChar ? WithoutAccelerator(Caption()) : Caption();
}
