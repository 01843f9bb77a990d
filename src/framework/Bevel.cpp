#include "Bevel.h"

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape value) {
    if (FShape == value)
        return;
    FShape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    if (FStyle == value)
        return;
    FStyle = value;
    Invalidate();
}

void TBevel::Paint() {
    TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    int w = Width(), h = Height();
    // The two one-pixel lines, the upper or left one first.
    RECT lines[2];
    switch (FShape) {
    case bsTopLine:
        lines[0] = {0, 0, w, 1};
        lines[1] = {0, 1, w, 2};
        break;
    case bsBottomLine:
        lines[0] = {0, h - 2, w, h - 1};
        lines[1] = {0, h - 1, w, h};
        break;
    case bsLeftLine:
        lines[0] = {0, 0, 1, h};
        lines[1] = {1, 0, 2, h};
        break;
    case bsRightLine:
        lines[0] = {w - 2, 0, w - 1, h};
        lines[1] = {w - 1, 0, w, h};
        break;
    }
    Canvas().BrushColor = first;
    Canvas().FillRect(lines[0]);
    Canvas().BrushColor = second;
    Canvas().FillRect(lines[1]);
}
