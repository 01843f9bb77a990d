#pragma once
#include "Canvas.h"
#include "Control.h"

// A control without a window of its own: its parent paints it, in child order, through Paint.
class TGraphicControl : public TControl {
  public:
    explicit TGraphicControl(TComponent* owner);
    const char* ClassName() const override { return "TGraphicControl"; }

    TCanvas& Canvas() { return FCanvas; }
    void WndProc(TMessage& message) override;

  protected:
    // Draws the control at 0, 0 of Canvas(), which is valid only during the call.
    virtual void Paint() {}

  private:
    TCanvas FCanvas;
};
