#include "Canvas.h"

void TCanvas::FillRect(const RECT& rect) {
    if (BrushPattern) {
        TDrawingObject brush(CreatePatternBrush(BrushPattern));
        ::FillRect(FHandle, &rect, HBRUSH(brush.Handle()));
        return;
    }
    // The context's own brush takes any colour without a brush made per call.
    SetDCBrushColor(FHandle, ColorToRGB(BrushColor));
    ::FillRect(FHandle, &rect, HBRUSH(GetStockObject(DC_BRUSH)));
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    TSelection font(FHandle, Font.Handle());
    SetTextColor(FHandle, ColorToRGB(Font.Color()));
    SetBkMode(FHandle, TRANSPARENT);
    ::TextOutA(FHandle, x, y, text.data(), int(text.size()));
}

SIZE TCanvas::TextExtent(const std::string& text) {
    SIZE size{};
    TSelection font(FHandle, Font.Handle());
    GetTextExtentPoint32A(FHandle, text.data(), int(text.size()), &size);
    return size;
}
