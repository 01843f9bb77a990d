#pragma once
#include <windows.h>

#include <cstdint>

// 0x00BBGGRR, or 0x80000000 + n for the platform's system colour n.
using TColor = std::int32_t;

constexpr TColor SystemColor(int index) { return TColor(0x80000000u | unsigned(index)); }

constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clGray = 0x808080, clNavy = 0x800000,
                 clFuchsia = 0xFF00FF, clRed = 0x0000FF, clLime = 0x00FF00;
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME),
                 clBtnFace = SystemColor(COLOR_BTNFACE),
                 clBtnShadow = SystemColor(COLOR_BTNSHADOW),
                 clBtnText = SystemColor(COLOR_BTNTEXT),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT),
                 clHighlight = SystemColor(COLOR_HIGHLIGHT),
                 clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT),
                 clWindow = SystemColor(COLOR_WINDOW),
                 clWindowText = SystemColor(COLOR_WINDOWTEXT);

// Resolves a system colour to its present RGB value; plain colours come back unchanged.
inline COLORREF ColorToRGB(TColor color) {
    return color < 0 ? GetSysColor(color & 0xFF) : COLORREF(color);
}
