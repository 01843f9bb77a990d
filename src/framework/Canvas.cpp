#include "Canvas.h"

void TCanvas::FillRect(const RECT& rect) {
    if (BrushPattern) {
        HBRUSH brush = CreatePatternBrush(BrushPattern);
        ::FillRect(FHandle, &rect, brush);
        DeleteObject(brush);
        return;
    }
    // The context's own brush takes any colour without a brush made per call.
    SetDCBrushColor(FHandle, ColorToRGB(BrushColor));
    ::FillRect(FHandle, &rect, HBRUSH(GetStockObject(DC_BRUSH)));
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    HGDIOBJ old = SelectObject(FHandle, Font.Handle());
    SetTextColor(FHandle, ColorToRGB(Font.Color()));
    SetBkMode(FHandle, TRANSPARENT);
    ::TextOutA(FHandle, x, y, text.data(), int(text.size()));
    SelectObject(FHandle, old);
}

SIZE TCanvas::TextExtent(const std::string& text) {
    SIZE size{};
    HGDIOBJ old = SelectObject(FHandle, Font.Handle());
    GetTextExtentPoint32A(FHandle, text.data(), int(text.size()), &size);
    SelectObject(FHandle, old);
    return size;
}
