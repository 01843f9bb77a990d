#pragma once
#include "WinControl.h"

// A frame with a caption around a group of controls; it takes no focus itself.
class TGroupBox : public TWinControl {
  public:
    explicit TGroupBox(TComponent* owner);
    const char* ClassName() const override { return "TGroupBox"; }
    void WndProc(TMessage& message) override;
    // The group's caption names the edits and lists it holds.
    std::string NameForValueControls() const override { return AccessibleName(); }

  protected:
    void CreateParams(TCreateParams& params) const override;
    void PaintWindow(HDC dc) override;
};
