#include "RxSpeedButton.h"

#include "framework/Machine.h"
#include "framework/WinControl.h"

#include <algorithm>
#include <vector>

bool NewStyleLook = PlatformMajorVersion() >= 4;

// Shared by every latched face; it goes with the last button.
static std::unique_ptr<TBitmap> GLatchPattern;

const TBitmap* LatchPattern() { return GLatchPattern.get(); }

void TRxSpeedButton::ForgetLatchPattern() { GLatchPattern.reset(); }

TStaleFaceReport OnStaleFace = nullptr;

// Two cells for each stored face state: with its frame state, and idle (no frame).
constexpr int FaceCells = 2 * (bfLatched + 1);

void TRxSpeedButton::Paint() {
    if (!Enabled()) {
        FFaceState = bfDisabled;
        FHeld = false;
    } else if (FFaceState == bfDisabled) {
        FFaceState = FDown && FGroupIndex != 0 ? bfLatched : bfUp;
    }
    TButtonFace frameState = FFlat && !FMouseInside ? bfIdle : FFaceState;
    int cell = FaceCell(frameState);
    Faces.KeepFor({Parent(), BoundsRect(), Parent() ? Parent()->Width() : 0,
                   Parent() ? Parent()->Height() : 0},
                  FaceCells);
    bool kept = Faces.Compose(
        cell, [&](TCanvas& canvas, int left) { ComposeFace(canvas, left, frameState); });
    if (kept && OnStaleFace && !KeptFaceIsFresh(cell, frameState))
        OnStaleFace(*this);
    Faces.Show(Canvas().Handle(), cell);
}

int TRxSpeedButton::FaceCell(TButtonFace frameState) const {
    return 2 * FFaceState + (frameState == bfIdle);
}

// Composes the face into the canvas with its top-left corner at (left, 0), which stands in for
// the face's own origin.
void TRxSpeedButton::ComposeFace(TCanvas& canvas, int left, TButtonFace frameState) {
    bool sunken = FFaceState == bfPressed || FFaceState == bfLatched;
    RECT content = ClientRect();
    HDC dc = canvas.Handle();
    int saved = SaveDC(dc);
    SetViewportOrgEx(dc, left, 0, nullptr);
    SetBrushOrgEx(dc, left, 0, nullptr);
    IntersectClipRect(dc, 0, 0, Width(), Height());
    canvas.Font.Assign(Font());
    canvas.BrushColor = clBtnFace;
    canvas.BrushPattern = nullptr;
    canvas.FillRect(content);
    if (FTransparent)
        PaintBackdrop(dc);
    if (frameState != bfIdle || FFaceState == bfLatched)
        content = DrawFaceFrame(canvas, content, sunken, FFlat, FStyle);
    if (sunken)
        OffsetRect(&content, 1, 1);
    if (FFaceState == bfLatched && !FFlat) {
        if (!GLatchPattern)
            GLatchPattern = MakeCheckerPattern(clBtnFace, clWhite);
        canvas.BrushPattern = GLatchPattern->Handle();
        canvas.FillRect({content.left, content.top, content.right - 1, content.bottom - 1});
        canvas.BrushPattern = nullptr;
    }
    TButtonFace contentState =
        FFaceState == bfDisabled || !FGrayedInactive ? FFaceState : frameState;
    GlyphPainter.DrawContent(canvas, content, Caption(), FLayout, FMargin, FSpacing,
                             FMarkDropDown && FDropDownMenu, contentState);
    RestoreDC(dc, saved);
}

// The kept face laid over one composed afresh with exclusive or: black wherever the two agree.
// A face that cannot be read back counts as stale, so that the check never passes unseen.
bool TRxSpeedButton::KeptFaceIsFresh(int cell, TButtonFace frameState) {
    TBitmap fresh;
    fresh.SetSize(Width(), Height());
    ComposeFace(fresh.Canvas(), 0, frameState);
    Faces.Show(fresh.Canvas().Handle(), cell, SRCINVERT);
    fresh.Dormant(); // the platform reads the pixels of a bitmap no context holds
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, Width(), -Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(size_t(Width()) * size_t(Height()));
    TWindowContext screen;
    if (GetDIBits(screen.Handle(), fresh.Handle(), 0, UINT(Height()), pixels.data(), &format,
                  DIB_RGB_COLORS) != Height())
        return false;
    return std::all_of(pixels.begin(), pixels.end(), [](DWORD pixel) { return pixel == 0; });
}

// What lies beneath the button, drawn into dc whose origin is the button's top-left corner.
void TRxSpeedButton::PaintBackdrop(HDC dc) {
    if (!Parent())
        return;
    RECT parentArea;
    GetClientRect(Parent()->Handle(), &parentArea);
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -Left(), -Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parentArea.right, parentArea.bottom);
    Parent()->PaintBeneath(dc, this);
    RestoreDC(dc, saved);
}

void DrawEdges3D(TCanvas& canvas, RECT& rect, TColor topLeft, TColor bottomRight) {
    auto line = [&](RECT part, TColor color) {
        canvas.BrushColor = color;
        canvas.FillRect(part);
    };
    line({rect.left, rect.top, rect.left + 1, rect.bottom}, topLeft);
    line({rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    line({rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
    line({rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
    InflateRect(&rect, -1, -1);
}

RECT DrawFaceFrame(TCanvas& canvas, RECT rect, bool pressed, bool flat, TButtonStyle style) {
    bool newStyle = style == bsNew || (style == bsAutoDetect && NewStyleLook);
    canvas.BrushPattern = nullptr;
    if (!pressed && newStyle) {
        if (flat) {
            DrawEdges3D(canvas, rect, clBtnHighlight, clBtnShadow);
        } else {
            DrawEdges3D(canvas, rect, clBtnHighlight, clWindowFrame);
            DrawEdges3D(canvas, rect, clBtnFace, clBtnShadow);
        }
    } else if (!pressed) {
        if (flat) {
            DrawEdges3D(canvas, rect, clBtnHighlight, clWindowFrame);
        } else {
            DrawEdges3D(canvas, rect, clWindowFrame, clWindowFrame);
            DrawEdges3D(canvas, rect, clBtnHighlight, clBtnShadow);
        }
    } else if (flat) {
        DrawEdges3D(canvas, rect, clWindowFrame, clBtnHighlight);
    } else if (newStyle) {
        DrawEdges3D(canvas, rect, clWindowFrame, clBtnHighlight);
        DrawEdges3D(canvas, rect, clBtnShadow, clBtnFace);
    } else {
        DrawEdges3D(canvas, rect, clWindowFrame, clWindowFrame);
        // The shadow inside the old pressed frame: left column and top row, not shrinking.
        canvas.BrushColor = clBtnShadow;
        canvas.FillRect({rect.left, rect.top, rect.left + 1, rect.bottom});
        canvas.FillRect({rect.left, rect.top, rect.right, rect.top + 1});
    }
    InflateRect(&rect, -1, -1);
    return rect;
}

std::unique_ptr<TBitmap> MakeCheckerPattern(TColor first, TColor second) {
    auto pattern = std::make_unique<TBitmap>();
    pattern->SetSize(8, 8);
    TCanvas& canvas = pattern->Canvas();
    canvas.BrushColor = first;
    canvas.FillRect({0, 0, 8, 8});
    for (int y = 0; y < 8; ++y)
        for (int x = y % 2; x < 8; x += 2)
            canvas.SetPixel(x, y, second);
    pattern->Dormant();
    return pattern;
}
