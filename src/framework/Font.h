#pragma once
#include "Graphics.h"
#include "Object.h"

#include <functional>
#include <string>

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font description with a platform font made from it on demand.
class TFont : public TObject {
  public:
    TFont();
    ~TFont() override;
    const char* ClassName() const override { return "TFont"; }

    void Assign(const TFont& source);
    bool SameAs(const TFont& other) const;

    const std::string& Name() const { return FName; }
    int Height() const { return FHeight; }
    int Charset() const { return FCharset; }
    TColor Color() const { return FColor; }
    unsigned Style() const { return FStyle; }
    void SetName(const std::string& value);
    void SetHeight(int value);
    void SetCharset(int value);
    void SetColor(TColor value);
    void SetStyle(unsigned value);
    // Takes a whole platform font record: what the properties do not name (a weight between
    // normal and bold, a width, the quality, ...) comes out as the record gives it.
    void SetRecord(const LOGFONTA& record);

    // The platform font; made when first asked for and again after every change.
    HFONT Handle() const;

    std::function<void()> OnChange;

  private:
    void Changed();
    void ReleaseHandle() const;

    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    int FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    unsigned FStyle = 0;
    LOGFONTA FRecord{};
    mutable HFONT FHandle = nullptr;
};

// The height of a line of the font on the screen: the text metric's tmHeight.
int FontLineHeight(const TFont& font);
