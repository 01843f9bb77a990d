#pragma once
#include "ListBox.h"

// The platform's combo box as a drop-down list without an edit field, owner-drawn with a fixed
// item height; the dropped list shows DropDownCount items before it scrolls.
class TCustomComboBox : public TItemControl {
  public:
    explicit TCustomComboBox(TComponent* owner);
    const char* ClassName() const override { return "TCustomComboBox"; }

    int DropDownCount = 8;

    void WndProc(TMessage& message) override;

  protected:
    void CreateParams(TCreateParams& params) const override;
    void CreateWnd() override;
    // The selection changed: a choice in the dropped list or an arrow key on the closed control.
    virtual void Change() {}
};
