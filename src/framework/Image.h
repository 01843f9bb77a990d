#pragma once
#include "GraphicControl.h"

#include <memory>

// A picture without a window, drawn unscaled at the top-left corner, or centred.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    const char* ClassName() const override { return "TImage"; }

    // The picture: a bitmap or an icon from the program's resources; the image owns it.
    void SetPicture(std::unique_ptr<TGraphic> picture);
    const TGraphic* Picture() const { return FPicture.get(); }
    bool Center = false;
    bool IncrementalDisplay = false;

protected:
    void Paint() override;

private:
    std::unique_ptr<TGraphic> FPicture;
};
