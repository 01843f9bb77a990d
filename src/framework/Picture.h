#pragma once
#include "Object.h"

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

class TBitmap : public TGraphic {
public:
    ~TBitmap() override;
    const char* ClassName() const override { return "TBitmap"; }

    // Raises EResNotFound when the executable has no bitmap of that name.
    void LoadFromResourceName(const std::string& name);
    HBITMAP Handle() const { return FHandle; }
    bool Empty() const override { return !FHandle; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void Draw(HDC dc, int x, int y) const override;
    // Draws the picture leaving every pixel of its bottom-left pixel's colour as it was.
    void DrawTransparent(HDC dc, int x, int y) const;

private:
    HBITMAP FHandle = nullptr;
    int FWidth = 0, FHeight = 0;
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
