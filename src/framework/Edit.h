#pragma once
#include "WinControl.h"

// A single-line text field: the platform's edit control. Its window holds wide text, so that a
// character typed, pasted or set by another program stays itself even where the code page
// cannot spell it; the 8-bit text is that text in the code page.
class TEdit : public TWinControl {
  public:
    explicit TEdit(TComponent* owner);
    const char* ClassName() const override { return "TEdit"; }
    std::string Text() const { return Caption(); }
    std::string AccessibleValue() const override { return Text(); }
    void SetText(const std::string& value) { SetCaption(value); }
    // The text as the field holds it, with the characters that its 8-bit text cannot spell.
    std::wstring WideText() const;

  protected:
    void CreateParams(TCreateParams& params) const override;
};
