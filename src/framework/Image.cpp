#include "Image.h"

#include <oleacc.h>

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetPicture(std::unique_ptr<TGraphic> picture) {
    FPicture = std::move(picture);
    FScaled.reset();
    Invalidate();
}

void TImage::ScaleBy(int numerator, int denominator) {
    TGraphicControl::ScaleBy(numerator, denominator);
    FScaleNumerator *= numerator;
    FScaleDenominator *= denominator;
    FScaled.reset();
}

void TImage::Paint() {
    if (!FPicture)
        return;
    const TGraphic& shown = Shown();
    int x = Center ? (Width() - shown.Width()) / 2 : 0;
    int y = Center ? (Height() - shown.Height()) / 2 : 0;
    Canvas().Draw(x, y, shown);
}

const TGraphic& TImage::Shown() {
    auto* bitmap = dynamic_cast<const TBitmap*>(FPicture.get());
    if (!bitmap || bitmap->Empty())
        return *FPicture;
    int width = MulDiv(bitmap->Width(), FScaleNumerator, FScaleDenominator);
    int height = MulDiv(bitmap->Height(), FScaleNumerator, FScaleDenominator);
    if (width == bitmap->Width() && height == bitmap->Height())
        return *FPicture;
    if (!FScaled) {
        FScaled = std::make_unique<TBitmap>();
        FScaled->SetSize(width, height);
        bitmap->StretchDraw(FScaled->Canvas().Handle(), RECT{0, 0, width, height});
    }
    return *FScaled;
}

long TImage::AccessibleRole() const { return ROLE_SYSTEM_GRAPHIC; }
