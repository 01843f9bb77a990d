#include "Image.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetPicture(std::unique_ptr<TGraphic> picture) {
    FPicture = std::move(picture);
    Invalidate();
}

void TImage::Paint() {
    if (!FPicture)
        return;
    int x = Center ? (Width() - FPicture->Width()) / 2 : 0;
    int y = Center ? (Height() - FPicture->Height()) / 2 : 0;
    Canvas().Draw(x, y, *FPicture);
}
