#include "Picture.h"

#include "Exceptions.h"

HINSTANCE MainInstance() { return GetModuleHandleA(nullptr); }

static HANDLE LoadResourceImage(const std::string& name, UINT type, int size) {
    HANDLE image = LoadImageA(MainInstance(), name.c_str(), type, size, size,
                              type == IMAGE_BITMAP ? LR_CREATEDIBSECTION : 0);
    if (!image)
        throw EResNotFound(Format("Resource %s not found", name.c_str()));
    return image;
}

TBitmap::~TBitmap() {
    if (FHandle)
        DeleteObject(FHandle);
}

void TBitmap::LoadFromResourceName(const std::string& name) {
    HBITMAP loaded = HBITMAP(LoadResourceImage(name, IMAGE_BITMAP, 0));
    if (FHandle)
        DeleteObject(FHandle);
    FHandle = loaded;
    BITMAP info{};
    GetObjectA(FHandle, sizeof info, &info);
    FWidth = info.bmWidth;
    FHeight = info.bmHeight;
}

void TBitmap::Draw(HDC dc, int x, int y) const {
    if (!FHandle)
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, FHandle);
    BitBlt(dc, x, y, FWidth, FHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void TBitmap::DrawTransparent(HDC dc, int x, int y) const {
    if (!FHandle)
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ oldSource = SelectObject(source, FHandle);
    HDC mask = CreateCompatibleDC(dc);
    HBITMAP maskBitmap = CreateBitmap(FWidth, FHeight, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(mask, maskBitmap);
    // The mask is white where the picture has its transparent colour, black elsewhere.
    SetBkColor(source, GetPixel(source, 0, FHeight - 1));
    BitBlt(mask, 0, 0, FWidth, FHeight, source, 0, 0, SRCCOPY);
    // dest ^ picture, kept only where transparent, ^ picture again: the background where the
    // mask is white, the picture where it is black.
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, FWidth, FHeight, source, 0, 0, SRCINVERT);
    BitBlt(dc, x, y, FWidth, FHeight, mask, 0, 0, SRCAND);
    BitBlt(dc, x, y, FWidth, FHeight, source, 0, 0, SRCINVERT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
    SelectObject(mask, oldMask);
    DeleteObject(maskBitmap);
    DeleteDC(mask);
    SelectObject(source, oldSource);
    DeleteDC(source);
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
