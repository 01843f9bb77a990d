#pragma once
#include "Graphics.h"
#include "Object.h"

#include <functional>
#include <memory>
#include <string>
#include <windows.h>

// A picture kept as a platform object: a bitmap or an icon loaded from the program's resources.
class TGraphic : public TObject {
  public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Draws the picture unscaled with its top-left corner at x, y.
    virtual void Draw(HDC dc, int x, int y) const = 0;
};

class TCanvas;
struct TBitmapCanvas;

// A picture kept as a platform bitmap, loaded from the resources or made in the screen's format.
class TBitmap : public TGraphic {
  public:
    TBitmap();
    ~TBitmap() override;
    const char* ClassName() const override { return "TBitmap"; }

    // Raises EResNotFound when the executable has no bitmap of that name.
    void LoadFromResourceName(const std::string& name);
    // A new picture of that size in the screen's format, its pixels undefined; a picture of
    // the same size is kept as it is.
    void SetSize(int width, int height);
    // Takes a copy of the source's pixels (none: the picture becomes empty) and reports it.
    void Assign(const TBitmap* source);
    HBITMAP Handle() const { return FHandle; }
    bool Empty() const override { return !FHandle; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    bool Monochrome() const;
    // What transparent drawing leaves out: white in a monochrome picture, else the colour of
    // the bottom-left pixel.
    TColor TransparentColor() const;

    // Drawing onto the picture, through a memory context made on first need and kept, so that
    // a picture drawn often is not selected anew each time.
    TCanvas& Canvas() const;
    // Gives the memory context back; the pixels stay.
    void Dormant();

    void Draw(HDC dc, int x, int y) const override;
    // Draws the picture smoothly scaled to fill the rectangle.
    void StretchDraw(HDC dc, const RECT& rect) const;
    // Draws the picture leaving every pixel of the key colour as it was beneath.
    void DrawTransparent(HDC dc, int x, int y, TColor key) const;
    void DrawTransparent(HDC dc, int x, int y) const {
        DrawTransparent(dc, x, y, TransparentColor());
    }

    // Runs after the pixels were replaced by loading or assigning.
    std::function<void()> OnChange;

  private:
    void Replace(HBITMAP handle);

    HBITMAP FHandle = nullptr;
    int FWidth = 0, FHeight = 0;
    mutable std::unique_ptr<TBitmapCanvas> FCanvas;
};

class TIcon : public TGraphic {
  public:
    ~TIcon() override;
    const char* ClassName() const override { return "TIcon"; }

    // Raises EResNotFound when the executable has no icon of that name.
    void LoadFromResourceName(const std::string& name);
    // One of the platform's stock icons (IDI_...); it is shared, never destroyed.
    void LoadStock(LPCSTR id);
    HICON Handle() const { return FHandle; }
    bool Empty() const override { return !FHandle; }
    int Width() const override { return FHandle ? 32 : 0; }
    int Height() const override { return FHandle ? 32 : 0; }
    void Draw(HDC dc, int x, int y) const override;

  private:
    HICON FHandle = nullptr;
    bool FShared = false;
};

// The module whose resources the program uses: the executable itself.
HINSTANCE MainInstance();
