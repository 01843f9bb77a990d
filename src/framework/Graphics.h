#pragma once
#include <windows.h>

#include "Exceptions.h"

#include <cstdint>

// 0x00BBGGRR, or 0x80000000 + n for the platform's system colour n.
using TColor = std::int32_t;

constexpr TColor SystemColor(int index) { return TColor(0x80000000u | unsigned(index)); }

constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clGray = 0x808080, clNavy = 0x800000,
                 clFuchsia = 0xFF00FF, clRed = 0x0000FF, clLime = 0x00FF00;
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME),
                 clBtnFace = SystemColor(COLOR_BTNFACE), clBtnShadow = SystemColor(COLOR_BTNSHADOW),
                 clBtnText = SystemColor(COLOR_BTNTEXT),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT),
                 clHighlight = SystemColor(COLOR_HIGHLIGHT),
                 clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT),
                 clWindow = SystemColor(COLOR_WINDOW), clWindowText = SystemColor(COLOR_WINDOWTEXT);

// Resolves a system colour to its present RGB value; plain colours come back unchanged.
inline COLORREF ColorToRGB(TColor color) {
    return color < 0 ? GetSysColor(color & 0xFF) : COLORREF(color);
}

// Whether the platform's high-contrast mode is on. Tests may put a query of their own here.
extern bool (*HighContrastOn)();
// The colour for text of the font colour on the background: a fixed font colour on a system
// colour gives way to the system's window text colour while high contrast is on, and where it
// would all but vanish on the background (a scheme that darkens the window); else it stays.
TColor ReadableTextColor(TColor font, TColor background);

// Passes on a drawing object or context the platform made; raises EOutOfResources when it refused.
template <class THandle> THandle CheckResource(THandle handle) {
    if (!handle)
        RaiseOutOfResources();
    return handle;
}

// A drawing object (bitmap, brush, pen) owned for the lifetime of the object.
class TDrawingObject {
  public:
    explicit TDrawingObject(HGDIOBJ object) : FObject(CheckResource(object)) {}
    ~TDrawingObject() { DeleteObject(FObject); }
    TDrawingObject(const TDrawingObject&) = delete;
    TDrawingObject& operator=(const TDrawingObject&) = delete;
    HGDIOBJ Handle() const { return FObject; }

  private:
    HGDIOBJ FObject;
};

// A drawing object selected into a context for the lifetime of the object; the one it replaced
// goes back in at the end.
class TSelection {
  public:
    TSelection(HDC dc, HGDIOBJ object) : FDC(dc), FOld(SelectObject(dc, object)) {}
    ~TSelection() { SelectObject(FDC, FOld); }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;

  private:
    HDC FDC;
    HGDIOBJ FOld;
};

// The context of a window's client area (no window: of the screen), held for the lifetime of the
// object.
class TWindowContext {
  public:
    explicit TWindowContext(HWND window = nullptr) : FWindow(window), FDC(GetDC(window)) {}
    ~TWindowContext() { ReleaseDC(FWindow, FDC); }
    TWindowContext(const TWindowContext&) = delete;
    TWindowContext& operator=(const TWindowContext&) = delete;
    HDC Handle() const { return FDC; }

  private:
    HWND FWindow;
    HDC FDC;
};

// A memory context in the format of another context (none: of the screen), owned for the
// lifetime of the object.
class TMemoryContext {
  public:
    explicit TMemoryContext(HDC compatible = nullptr)
        : FDC(CheckResource(CreateCompatibleDC(compatible))) {}
    ~TMemoryContext() { DeleteDC(FDC); }
    TMemoryContext(const TMemoryContext&) = delete;
    TMemoryContext& operator=(const TMemoryContext&) = delete;
    HDC Handle() const { return FDC; }

  private:
    HDC FDC;
};
