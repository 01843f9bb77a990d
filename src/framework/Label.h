#pragma once
#include "GraphicControl.h"

// A line of text without a window. With AutoSize it takes the size of its text; "&" marks the
// next character as the accelerator (underlined, "&&" shows one "&") unless ShowAccelChar is off.
class TLabel : public TGraphicControl {
  public:
    explicit TLabel(TComponent* owner);
    const char* ClassName() const override { return "TLabel"; }

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool ShowAccelChar = true;
    bool Transparent = false;
    bool WordWrap = false;

    void WndProc(TMessage& message) override;
    long AccessibleRole() const override;
    std::string AccessibleName() const override;

  protected:
    void Paint() override;

  private:
    UINT DrawFlags() const;
    void AdjustBounds();

    bool FAutoSize = true;
};
