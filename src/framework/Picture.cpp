#include "Picture.h"

#include "Canvas.h"
#include "Exceptions.h"

#include <algorithm>

HINSTANCE MainInstance() { return GetModuleHandleA(nullptr); }

static HANDLE LoadResourceImage(const std::string& name, UINT type, int size) {
    HANDLE image = LoadImageA(MainInstance(), name.c_str(), type, size, size,
                              type == IMAGE_BITMAP ? LR_CREATEDIBSECTION : 0);
    if (!image)
        throw EResNotFound(Format("Resource %s not found", name.c_str()));
    return image;
}

// A new bitmap in the screen's format.
static HBITMAP ScreenBitmap(int width, int height) {
    TWindowContext screen;
    return CheckResource(CreateCompatibleBitmap(screen.Handle(), width, height));
}

// The memory context a picture is drawn through, with the picture selected into it.
struct TBitmapCanvas {
    explicit TBitmapCanvas(HBITMAP bitmap) : Selected(Context.Handle(), bitmap) {
        Canvas.SetHandle(Context.Handle());
    }
    TMemoryContext Context;
    TSelection Selected;
    TCanvas Canvas;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    Dormant();
    if (FHandle)
        DeleteObject(FHandle);
}

void TBitmap::Replace(HBITMAP handle) {
    Dormant();
    if (FHandle)
        DeleteObject(FHandle);
    FHandle = handle;
    BITMAP info{};
    if (FHandle)
        GetObjectA(FHandle, sizeof info, &info);
    FWidth = info.bmWidth;
    FHeight = info.bmHeight;
}

void TBitmap::LoadFromResourceName(const std::string& name) {
    Replace(HBITMAP(LoadResourceImage(name, IMAGE_BITMAP, 0)));
    if (OnChange)
        OnChange();
}

void TBitmap::SetSize(int width, int height) {
    if (FHandle && width == FWidth && height == FHeight)
        return;
    Replace(ScreenBitmap(std::max(width, 1), std::max(height, 1)));
}

// A device-dependent copy of the source's pixels, monochrome when the source is.
static HBITMAP CopyPixels(const TBitmap& source) {
    int width = source.Width(), height = source.Height();
    HDC from = source.Canvas().Handle();
    TMemoryContext target;
    // Nothing that can fail follows the copy's creation, so it cannot leak.
    HBITMAP copy = source.Monochrome() ? CheckResource(CreateBitmap(width, height, 1, 1, nullptr))
                                       : ScreenBitmap(width, height);
    TSelection selected(target.Handle(), copy);
    BitBlt(target.Handle(), 0, 0, width, height, from, 0, 0, SRCCOPY);
    return copy;
}

void TBitmap::Assign(const TBitmap* source) {
    Replace(source && source->FHandle ? CopyPixels(*source) : nullptr);
    if (OnChange)
        OnChange();
}

bool TBitmap::Monochrome() const {
    BITMAP info{};
    return FHandle && GetObjectA(FHandle, sizeof info, &info) && info.bmBitsPixel == 1 &&
           info.bmPlanes == 1;
}

TColor TBitmap::TransparentColor() const {
    if (!FHandle || Monochrome())
        return clWhite;
    return TColor(GetPixel(Canvas().Handle(), 0, FHeight - 1));
}

TCanvas& TBitmap::Canvas() const {
    if (!FCanvas)
        FCanvas = std::make_unique<TBitmapCanvas>(FHandle);
    return FCanvas->Canvas;
}

void TBitmap::Dormant() { FCanvas.reset(); }

void TBitmap::Draw(HDC dc, int x, int y) const {
    if (!FHandle)
        return;
    BitBlt(dc, x, y, FWidth, FHeight, Canvas().Handle(), 0, 0, SRCCOPY);
}

void TBitmap::StretchDraw(HDC dc, const RECT& rect) const {
    if (!FHandle)
        return;
    int oldMode = SetStretchBltMode(dc, HALFTONE);
    POINT oldOrigin;
    SetBrushOrgEx(dc, 0, 0, &oldOrigin); // halftoning expects it after the mode is set
    StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               Canvas().Handle(), 0, 0, FWidth, FHeight, SRCCOPY);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(dc, oldMode);
}

void TBitmap::DrawTransparent(HDC dc, int x, int y, TColor key) const {
    if (!FHandle)
        return;
    HDC source = Canvas().Handle();
    TDrawingObject maskBitmap(CreateBitmap(FWidth, FHeight, 1, 1, nullptr));
    TMemoryContext maskContext(dc);
    TSelection selected(maskContext.Handle(), maskBitmap.Handle());
    HDC mask = maskContext.Handle();
    // The mask is white where the picture has the key colour, black elsewhere.
    COLORREF oldSourceBack = SetBkColor(source, COLORREF(key));
    BitBlt(mask, 0, 0, FWidth, FHeight, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldSourceBack);
    // dest ^ picture, kept only where transparent, ^ picture again: the background where the
    // mask is white, the picture where it is black.
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, FWidth, FHeight, source, 0, 0, SRCINVERT);
    BitBlt(dc, x, y, FWidth, FHeight, mask, 0, 0, SRCAND);
    BitBlt(dc, x, y, FWidth, FHeight, source, 0, 0, SRCINVERT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

TIcon::~TIcon() {
    if (FHandle && !FShared)
        DestroyIcon(FHandle);
}

void TIcon::LoadFromResourceName(const std::string& name) {
    HICON loaded = HICON(LoadResourceImage(name, IMAGE_ICON, 32));
    if (FHandle && !FShared)
        DestroyIcon(FHandle);
    FHandle = loaded;
    FShared = false;
}

void TIcon::LoadStock(LPCSTR id) {
    if (FHandle && !FShared)
        DestroyIcon(FHandle);
    FHandle = LoadIconA(nullptr, id);
    FShared = true;
}

void TIcon::Draw(HDC dc, int x, int y) const {
    if (FHandle)
        DrawIconEx(dc, x, y, FHandle, 32, 32, 0, nullptr, DI_NORMAL);
}
