#pragma once
#include "GraphicControl.h"
#include "Picture.h"

#include <memory>

// A picture without a window, drawn at the top-left corner, or centred. A bitmap grows and
// shrinks with the window's scale, smoothly; at the designed scale it is drawn pixel for pixel.
// An icon keeps its size.
class TImage : public TGraphicControl {
  public:
    explicit TImage(TComponent* owner);
    const char* ClassName() const override { return "TImage"; }

    // The picture: a bitmap or an icon from the program's resources; the image owns it.
    void SetPicture(std::unique_ptr<TGraphic> picture);
    const TGraphic* Picture() const { return FPicture.get(); }
    bool Center = false;
    bool IncrementalDisplay = false;
    void ScaleBy(int numerator, int denominator) override;
    // A picture, with nothing to read.
    long AccessibleRole() const override;
    std::string AccessibleName() const override { return ""; }

  protected:
    void Paint() override;

  private:
    const TGraphic& Shown();

    std::unique_ptr<TGraphic> FPicture;
    // The picture at the window's scale, made when first drawn.
    std::unique_ptr<TBitmap> FScaled;
    int FScaleNumerator = 1, FScaleDenominator = 1;
};
