#pragma once
#include "WinControl.h"

class TMemo;

// The largest file a memo loads. The platform's control lays a paragraph out in a time that grows
// with the square of its length, and spends microseconds on every line: one line of this size,
// the slowest text of it, takes about 1 s to show, one of twice the size four times as long, a
// megabyte of one-letter lines 5 s. A larger file is refused before it is read, so that no
// readme can hold the program up for long.
constexpr LONGLONG MemoFileCapacity = 32 * 1024;

// The lines of a memo: its text is the memo control's own.
class TMemoStrings {
  public:
    explicit TMemoStrings(TMemo& memo) : FMemo(memo) {}
    std::string Text() const;
    // Replaces the memo's text with the file's (read whole through the system seam, line breaks
    // made CR LF) or raises and leaves the text as it was: EFOpenError when the file cannot be
    // opened, unshared,
    // EInvalidOperation when the file is larger than MemoFileCapacity or the memo cannot hold
    // the text.
    void LoadTextFile(const std::string& fileName);

  private:
    TMemo& FMemo;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line text field: the platform's edit control in multi-line mode.
class TMemo : public TWinControl {
  public:
    explicit TMemo(TComponent* owner);
    const char* ClassName() const override { return "TMemo"; }

    TMemoStrings& Lines() { return FLines; }
    bool ReadOnly = false;
    bool WordWrap = true;
    TScrollStyle ScrollBars = ssNone;

  protected:
    void CreateParams(TCreateParams& params) const override;
    void CreateWnd() override;

  private:
    TMemoStrings FLines{*this};
};
