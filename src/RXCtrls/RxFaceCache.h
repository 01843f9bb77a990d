#pragma once
#include "framework/Picture.h"

#include <functional>

class TWinControl;

// The faces a button has shown, kept side by side in one bitmap, a cell of the button's size
// each, so that showing a face again is one copy. They hold what lay beneath the button where
// they were composed (a transparent face shows it): at another place, or when the button says
// an input of its faces changed, every face is forgotten and composed again when next shown.
class TRxFaceCache {
  public:
    // Where faces are composed: the parent, the button's bounds in it and the parent's size.
    struct TPlace {
        const TWinControl* Parent;
        RECT Bounds;
        int ParentWidth, ParentHeight;
        bool operator==(const TPlace& other) const;
    };

    // Makes room for that many cells of the place's size; a place other than the last forgets
    // every face.
    void KeepFor(const TPlace& place, int cells);
    // Composes the cell's face the first time it is asked for, by compose(canvas, left) with the
    // cell's left edge at left; true when the face was kept already.
    bool Compose(int cell, const std::function<void(TCanvas& canvas, int left)>& compose);
    void Forget() { FComposed = 0; }
    // Copies the cell's face to (0, 0) of dc with the raster operation.
    void Show(HDC dc, int cell, DWORD operation = SRCCOPY);

  private:
    TBitmap FFaces;
    unsigned FComposed = 0; // a bit for every cell that holds its face
    TPlace FPlace{};
};
