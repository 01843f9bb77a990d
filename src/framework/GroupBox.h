#pragma once
#include "WinControl.h"

// A frame with a caption around a group of controls; it takes no focus itself.
class TGroupBox : public TWinControl {
  public:
    explicit TGroupBox(TComponent* owner);
    const char* ClassName() const override { return "TGroupBox"; }
    void WndProc(TMessage& message) override;

  protected:
    void CreateParams(TCreateParams& params) const override;
    void PaintWindow(HDC dc) override;
};
