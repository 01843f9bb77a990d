#pragma once
#include "framework/GraphicControl.h"

// The push button of both windows: windowless, never focused, its caption centred in its
// font's colour; it clicks when the left button is released over it. A transparent button
// lets the picture beneath it show through.
class TRxSpeedButton : public TGraphicControl {
public:
    explicit TRxSpeedButton(TComponent* owner);
    const char* ClassName() const override { return "TRxSpeedButton"; }

    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

protected:
    void Paint() override;

private:
    bool FFlat = false;
    bool FTransparent = false;
};

// Makes the button class known to window descriptions (once).
void RegisterRxControls();
