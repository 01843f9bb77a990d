#pragma once
#include "Font.h"
#include "Picture.h"

#include <string>

// Drawing on a device context that someone else provides (a paint or a memory context).
class TCanvas : public TObject {
  public:
    const char* ClassName() const override { return "TCanvas"; }

    HDC Handle() const { return FHandle; }
    void SetHandle(HDC dc) { FHandle = dc; }

    TFont Font;
    TColor BrushColor = clWhite;
    // A bitmap (8 x 8) that fills instead of BrushColor when set.
    HBITMAP BrushPattern = nullptr;

    void FillRect(const RECT& rect);
    TColor Pixel(int x, int y) const { return TColor(GetPixel(FHandle, x, y)); }
    void SetPixel(int x, int y, TColor color) { SetPixelV(FHandle, x, y, ColorToRGB(color)); }
    void TextOut(int x, int y, const std::string& text);
    SIZE TextExtent(const std::string& text);
    void Draw(int x, int y, const TGraphic& picture) { picture.Draw(FHandle, x, y); }

  private:
    HDC FHandle = nullptr;
};
