#include "GroupBox.h"

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }

void TGroupBox::CreateParams(TCreateParams& params) const {
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

// An etched frame whose top edge runs through the middle of the caption's line; the caption
// stands on the background colour, 8 pixels in from the left.
void TGroupBox::PaintWindow(HDC dc) {
    RECT area = ClientRect();
    FillRect(dc, &area, Brush());
    TSelection font(dc, Font().Handle());
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    RECT frame{0, metrics.tmHeight / 2 - 1, Width(), Height()};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    std::string text = Caption();
    if (!text.empty()) {
        RECT caption{8, 0, 0, metrics.tmHeight};
        DrawTextA(dc, text.data(), int(text.size()), &caption, DT_SINGLELINE | DT_CALCRECT);
        SetBkColor(dc, ColorToRGB(Color()));
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : clGray));
        DrawTextA(dc, text.data(), int(text.size()), &caption, DT_SINGLELINE);
    }
}

void TGroupBox::WndProc(TMessage& message) {
    TWinControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED || message.Msg == CM_FONTCHANGED)
        Invalidate();
}
