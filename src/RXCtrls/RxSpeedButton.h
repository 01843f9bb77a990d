#pragma once
#include "RxButtonGlyph.h"
#include "RxFaceCache.h"
#include "framework/GraphicControl.h"

class TPopupMenu;

enum TButtonStyle : unsigned char { bsAutoDetect, bsWin31, bsNew };

// The push button of both windows: windowless, never focused. It composes its whole face
// off-screen (background, what lies beneath it when transparent, frame, then glyph and caption
// through its painter) and copies it in one step. Each face it has shown is kept and copied
// again until something it was made from changes: the caption, the font, the system colours,
// the size or place, what lies beneath, or a property of the look. A flat button shows a frame
// only while the pointer is over it; the click comes when the left button is released over the
// button. Buttons of one group latch (Down), a drop-down menu opens on the press.
class TRxSpeedButton : public TGraphicControl {
  public:
    explicit TRxSpeedButton(TComponent* owner);
    ~TRxSpeedButton() override;
    const char* ClassName() const override { return "TRxSpeedButton"; }

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    const TBitmap& Glyph() const { return GlyphPainter.Glyph(); }
    void SetGlyph(const TBitmap* value);
    bool GrayedInactive() const { return FGrayedInactive; }
    void SetGrayedInactive(bool value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    bool MarkDropDown() const { return FMarkDropDown; }
    void SetMarkDropDown(bool value);
    int NumGlyphs() const { return GlyphPainter.CellCount(); }
    void SetNumGlyphs(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool WordWrap() const { return GlyphPainter.WordWrap; }
    void SetWordWrap(bool value);

    TButtonFace FaceState() const { return FFaceState; }
    bool MouseInside() const { return FMouseInside; }
    const TRxButtonGlyph& Painter() const { return GlyphPainter; }

    TNotifyEvent OnDblClick;

    void WndProc(TMessage& message) override;
    // A push button: hot-tracked while the pointer is over it, pressed while it is down.
    long AccessibleRole() const override;
    long AccessibleState() const override;
    std::string AccessibleAction() const override { return "Naciśnij"; }
    void DoAccessibleAction() override { Click(); }

  protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;
    void MouseDown(TMouseButton button, UINT keys, int x, int y) override;
    void MouseMove(UINT keys, int x, int y) override;
    void MouseUp(TMouseButton button, UINT keys, int x, int y) override;

  private:
    // Stores the value; false when the field held it already, so that nothing is repainted.
    template <typename T> static bool Change(T& field, T value) {
        if (field == value)
            return false;
        field = value;
        return true;
    }
    // An input of every face changed: the kept faces go and the button is repainted.
    void Restyle();
    void ForgetFaces() { Faces.Forget(); }

    // The faces (RxSpeedButtonFaces.cpp).
    int FaceCell(TButtonFace frameState) const;
    void ComposeFace(TCanvas& canvas, int left, TButtonFace frameState);
    bool KeptFaceIsFresh(int cell, TButtonFace frameState);
    void PaintBackdrop(HDC dc);
    static void ForgetLatchPattern();

    // Input: press, release, groups, the drop-down menu (RxSpeedButtonInput.cpp).
    bool IsInside(int x, int y) const { return x >= 0 && x < Width() && y >= 0 && y < Height(); }
    void PressLeft(int x, int y);
    void Release(TMouseButton button, int x, int y);
    void SwallowPressOnButton();
    bool TryDropDown(POINT point);
    void AnnounceDown();
    void ButtonPressed(int groupIndex, TControl* sender);
    void RecheckMouseInside();
    bool IsAccelerator(char character) const;

    int FGroupIndex = 0;
    TRxButtonGlyph GlyphPainter;
    TButtonStyle FStyle = bsAutoDetect;
    // The faces shown, a cell for each face state with and without the frame.
    TRxFaceCache Faces;
    bool FDown = false, FHeld = false, FFlat = false, FMouseInside = false, FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphTop;
    int FSpacing = 1, FMargin = -1;
    bool FTransparent = false, FMarkDropDown = true;
    TPopupMenu* FDropDownMenu = nullptr;
    bool FGrayedInactive = true, FPressActive = false;
    TButtonFace FFaceState = bfUp;
};

// Draws the frame of a face, outermost outline first, and returns what is left inside.
RECT DrawFaceFrame(TCanvas& canvas, RECT rect, bool pressed, bool flat, TButtonStyle style);
// One-pixel outline: top-left colour on the left column and top row, bottom-right colour on
// the right column and bottom row; the rectangle shrinks by one pixel on every side.
void DrawEdges3D(TCanvas& canvas, RECT& rect, TColor topLeft, TColor bottomRight);
// An 8 x 8 checker of the two colours; (0, 0) takes the second.
std::unique_ptr<TBitmap> MakeCheckerPattern(TColor first, TColor second);

// The number of speed buttons in existence, and the latch pattern they share (null until a
// latched button is painted, and again after the last button is gone).
int LiveButtons();
const TBitmap* LatchPattern();
// True on platforms of major version 4 and later: flat one-pixel frames in the new style.
extern bool NewStyleLook;

// Told of a kept face that is no longer what its inputs compose: one kept past a change nobody
// announced. While it is set, every copy of a kept face is checked against one composed afresh,
// which costs a second composition each time: the tests set it, the program leaves it unset.
using TStaleFaceReport = void (*)(const TRxSpeedButton& button);
extern TStaleFaceReport OnStaleFace;

// Makes the button class known to window descriptions (once).
void RegisterRxControls();
