#include "RxFaceCache.h"

#include "framework/Canvas.h"

bool TRxFaceCache::TPlace::operator==(const TPlace& other) const {
    return Parent == other.Parent && EqualRect(&Bounds, &other.Bounds) &&
           ParentWidth == other.ParentWidth && ParentHeight == other.ParentHeight;
}

static int WidthOf(const RECT& bounds) { return bounds.right - bounds.left; }

void TRxFaceCache::KeepFor(const TPlace& place, int cells) {
    if (place == FPlace && !FFaces.Empty())
        return;
    FPlace = place;
    FFaces.SetSize(cells * WidthOf(place.Bounds), place.Bounds.bottom - place.Bounds.top);
    Forget();
}

bool TRxFaceCache::Compose(int cell, const std::function<void(TCanvas&, int)>& compose) {
    if (FComposed & 1u << cell)
        return true;
    compose(FFaces.Canvas(), cell * WidthOf(FPlace.Bounds));
    FComposed |= 1u << cell;
    return false;
}

void TRxFaceCache::Show(HDC dc, int cell, DWORD operation) {
    int width = WidthOf(FPlace.Bounds);
    BitBlt(dc, 0, 0, width, FPlace.Bounds.bottom - FPlace.Bounds.top, FFaces.Canvas().Handle(),
           cell * width, 0, operation);
}
