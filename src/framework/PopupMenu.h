#pragma once
#include "Control.h"

#include <vector>

struct TMenuItem {
    std::string Caption;
    TNotifyEvent OnClick;
};

// A menu shown at a screen point; its own loop runs until it closes, then the chosen item's
// OnClick runs.
class TPopupMenu : public TComponent {
  public:
    using TComponent::TComponent;
    const char* ClassName() const override { return "TPopupMenu"; }

    std::vector<TMenuItem> Items;
    // Whether controls that own the menu show it by themselves.
    bool AutoPopup = true;
    // The component that showed the menu last.
    TComponent* PopupComponent = nullptr;

    virtual void Popup(int x, int y);
};
