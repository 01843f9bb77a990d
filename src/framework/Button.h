#pragma once
#include "WinControl.h"

// The platform's push button. A button with a modal result closes the modal form it is on with
// that result; the default button answers Enter, the cancel button Escape, and the letter after
// "&" in the caption clicks it.
class TButton : public TWinControl {
  public:
    explicit TButton(TComponent* owner);
    const char* ClassName() const override { return "TButton"; }

    int ModalResult = 0;
    bool Default = false;
    bool Cancel = false;

    void Click() override;
    void WndProc(TMessage& message) override;

  protected:
    void CreateParams(TCreateParams& params) const override;
};

// True when the character is the one marked with "&" in the caption (letters in either case).
bool IsAccel(char character, const std::string& caption);
