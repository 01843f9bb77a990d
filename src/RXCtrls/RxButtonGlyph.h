#pragma once
#include "framework/Canvas.h"

#include <functional>
#include <memory>
#include <vector>

// The face a speed button shows. The glyph's cells stand in this order.
enum TButtonFace : unsigned char { bfUp, bfDisabled, bfPressed, bfLatched, bfIdle };
enum TButtonLayout : unsigned char { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where the content of a button goes: the glyph's top-left corner and the caption's rectangle.
struct TContentLayout {
    POINT Glyph;
    RECT Caption;
};

// Keeps a button's glyph (up to five cells side by side, one per face), prepares one image per
// face once, and draws glyph, caption and drop-down mark into the button's off-screen canvas.
class TRxButtonGlyph : public TObject {
  public:
    TRxButtonGlyph();
    ~TRxButtonGlyph() override;
    const char* ClassName() const override { return "TRxButtonGlyph"; }

    const TBitmap& Glyph() const { return GlyphImage; }
    // Takes a copy (none: no glyph); a strip of up to five square cells sets the cell count.
    void AssignGlyph(const TBitmap* bitmap);
    int CellCount() const { return FCellCount; }
    // 0 and the present count change nothing.
    void ChangeCellCount(int count);
    TColor KeyColor() const { return FKeyColor; }
    // Drops every prepared image.
    void ClearCells();
    size_t PreparedCells() const { return Cells.size(); }

    bool WordWrap = false;
    // Runs after the glyph changed; the button repaints.
    std::function<void()> ChangedNotify;

    // The canvas's font is the button's. Returns the caption's rectangle.
    RECT DrawContent(TCanvas& canvas, const RECT& content, const std::string& caption,
                     TButtonLayout layout, int margin, int spacing, bool menuMark,
                     TButtonFace state);
    TContentLayout LayoutContent(TCanvas& canvas, const RECT& content, const std::string& caption,
                                 TButtonLayout layout, int margin, int spacing,
                                 bool menuMark) const;
    // The index in the prepared images of the one for the face, prepared on first need.
    int PrepareCell(TButtonFace state);
    const TBitmap& Cell(int index) const { return *Cells[size_t(index)]; }

  private:
    void GlyphImageChanged();
    SIZE DrawGlyphCell(TCanvas& canvas, POINT point, TButtonFace state);
    void DrawCaption(TCanvas& canvas, const std::string& caption, const RECT& rect,
                     TButtonFace state) const;
    unsigned TextFlags() const;
    SIZE MeasureCaption(TCanvas& canvas, const std::string& caption, int width) const;

    TBitmap GlyphImage;
    std::vector<std::unique_ptr<TBitmap>> Cells;
    int CellIndex[5];
    TColor FKeyColor = clFuchsia;
    int FCellCount = 1;
    // The last caption measured, kept because measuring costs as much as drawing.
    struct TMeasured {
        std::string Caption;
        TFont Font;
        int Width = -1;
        bool WordWrap = false;
        SIZE Size{};
    };
    mutable TMeasured FMeasured;
};

// The colour a glyph pixel takes on the greyed idle face.
TColor IdleColor(TColor color, TColor keyColor);
// The glyph's shape embossed on the button face: highlight one pixel down-right, shadow over it.
std::unique_ptr<TBitmap> MakeEmbossedGlyph(const TBitmap& glyph);
// The small downward triangle that marks a drop-down menu; its widest row is y - 1.
void DrawMenuMark(TCanvas& canvas, POINT point, TButtonFace state);
