#include <gtest/gtest.h>

#include "RXCtrls/RxSpeedButton.h"
#include "TestSupport.h"

#include <set>

namespace {

TColor Rgb(TColor color) { return TColor(ColorToRGB(color)); }

} // namespace

static bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b); }
static std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

const std::vector<TColor> Colors = {RGB(200, 50, 50), RGB(0, 128, 0), RGB(0, 0, 255),
                                    RGB(255, 255, 0), RGB(0, 128, 128)};

// A canvas to draw content into, filled with a colour no content uses.
struct TSurface {
    explicit TSurface(int width = 120, int height = 40) {
        Bitmap.SetSize(width, height);
        Bitmap.Canvas().BrushColor = clLime;
        Bitmap.Canvas().FillRect({0, 0, width, height});
        Bitmap.Canvas().Font.SetName("MS Sans Serif");
        Bitmap.Canvas().Font.SetHeight(-11);
        Bitmap.Canvas().Font.SetColor(clBlack);
    }
    TCanvas& Canvas() { return Bitmap.Canvas(); }
    TColor Pixel(int x, int y) { return Bitmap.Canvas().Pixel(x, y); }
    std::set<std::pair<int, int>> PixelsOf(TColor color) {
        std::set<std::pair<int, int>> found;
        for (int y = 0; y < Bitmap.Height(); ++y)
            for (int x = 0; x < Bitmap.Width(); ++x)
                if (Pixel(x, y) == Rgb(color))
                    found.insert({x, y});
        return found;
    }
    TBitmap Bitmap;
};

// The colour at (5, 5) of the image prepared for a face.
TColor ShownColor(TRxButtonGlyph& painter, TButtonFace state) {
    TBitmap image;
    image.Assign(&painter.Cell(painter.PrepareCell(state)));
    return image.Canvas().Pixel(5, 5);
}

class ButtonGlyph : public TApplicationTest {};

} // namespace

TEST_F(ButtonGlyph, ACaptionAloneIsCentredAndMovesWithThePressedContent) {
    TRxButtonGlyph painter;
    TSurface surface;
    ASSERT_EQ(surface.Canvas().TextExtent("Zamknij").cx, 37) << "the test's 37 x 13 caption";
    auto place = [&](RECT content) {
        return painter.LayoutContent(surface.Canvas(), content, "Zamknij", blGlyphTop, -1, 1, false)
            .Caption;
    };
    RECT idle = place({0, 0, 65, 25}), hover = place({2, 2, 63, 23}),
         pressed = place({3, 3, 64, 24});
    EXPECT_EQ(idle, (RECT{14, 6, 51, 19}));
    EXPECT_EQ(hover, (RECT{14, 6, 51, 19}));
    EXPECT_EQ(pressed, (RECT{15, 7, 52, 20}));
    for (TButtonLayout layout : {blGlyphLeft, blGlyphRight, blGlyphBottom}) {
        RECT other =
            painter.LayoutContent(surface.Canvas(), {0, 0, 65, 25}, "Zamknij", layout, -1, 4, false)
                .Caption;
        EXPECT_EQ(other, idle) << "every layout centres a caption without a glyph";
    }
    RECT ok =
        painter.LayoutContent(surface.Canvas(), {0, 0, 105, 25}, "OK", blGlyphTop, -1, 1, false)
            .Caption;
    EXPECT_EQ(ok, (RECT{45, 6, 60, 19}));
    ok = painter.LayoutContent(surface.Canvas(), {3, 3, 104, 24}, "OK", blGlyphTop, -1, 1, false)
             .Caption;
    EXPECT_EQ(ok, (RECT{46, 7, 61, 20}));
}

TEST_F(ButtonGlyph, ACaptionIsMeasuredAnewWhenItsTextFontOrWidthChanges) {
    TRxButtonGlyph painter;
    TSurface surface;
    auto width = [&](const std::string& caption, int room) {
        RECT t = painter
                     .LayoutContent(surface.Canvas(), {0, 0, room, 25}, caption, blGlyphTop, -1, 1,
                                    false)
                     .Caption;
        return t.right - t.left;
    };
    EXPECT_EQ(width("Zamknij", 65), 37);
    EXPECT_EQ(width("OK", 65), 15);
    surface.Canvas().Font.SetHeight(-22);
    EXPECT_GT(width("OK", 65), 15);
    surface.Canvas().Font.SetHeight(-11);
    painter.WordWrap = true;
    EXPECT_EQ(width("Zamknij Zamknij", 40), 37) << "broken into two lines";
    EXPECT_EQ(width("Zamknij Zamknij", 200), surface.Canvas().TextExtent("Zamknij Zamknij").cx);
}

TEST_F(ButtonGlyph, AGlyphOnTheLeftSharesTheFreeRoomInThirds) {
    TRxButtonGlyph painter;
    painter.AssignGlyph(Strip({clRed}).get());
    TSurface surface;
    int text = surface.Canvas().TextExtent("Zamknij").cx; // 37
    TContentLayout placed = painter.LayoutContent(surface.Canvas(), {0, 0, 61, 21}, "Zamknij",
                                                  blGlyphLeft, -1, -1, false);
    int margin = (61 - (16 + text)) / 3;
    EXPECT_EQ(placed.Glyph.x, margin);
    EXPECT_EQ(placed.Glyph.y, 21 / 2 - 16 / 2);
    EXPECT_EQ(placed.Caption.left, margin + 16 + margin);
    // With a 30-pixel caption the free room is 15: margin and spacing 5, the caption from 26.
    TContentLayout narrow = painter.LayoutContent(surface.Canvas(), {0, 0, 61 + text - 30, 21},
                                                  "Zamknij", blGlyphLeft, -1, -1, false);
    EXPECT_EQ(narrow.Glyph.x, 5);
    EXPECT_EQ(narrow.Caption.left, 26);

    placed = painter.LayoutContent(surface.Canvas(), {0, 0, 100, 21}, "Zamknij", blGlyphRight, 4,
                                   -1, false);
    EXPECT_EQ(placed.Glyph.x, 100 - 4 - 16);
    EXPECT_EQ(placed.Caption.right, placed.Glyph.x - ((100 - 20) / 2 - text / 2));
    placed = painter.LayoutContent(surface.Canvas(), {0, 0, 60, 60}, "Zamknij", blGlyphBottom, 3, 2,
                                   false);
    EXPECT_EQ(placed.Glyph.y, 60 - 3 - 16);
    EXPECT_EQ(placed.Caption.bottom, placed.Glyph.y - 2);
}

TEST_F(ButtonGlyph, EmptyCaptionAndNoGlyphDrawNothing) {
    TRxButtonGlyph painter;
    TSurface surface;
    painter.DrawContent(surface.Canvas(), {0, 0, 65, 25}, "", blGlyphTop, -1, 1, false, bfUp);
    EXPECT_EQ(surface.PixelsOf(clLime).size(), size_t(120 * 40));
}

TEST_F(ButtonGlyph, FourCellsGiveOneImagePerFace) {
    TRxButtonGlyph painter;
    painter.AssignGlyph(Strip({Colors[0], Colors[1], Colors[2], Colors[3]}).get());
    EXPECT_EQ(painter.CellCount(), 4) << "a strip of square cells counts itself";
    EXPECT_EQ(painter.KeyColor(), clFuchsia);
    EXPECT_EQ(ShownColor(painter, bfUp), Colors[0]);
    EXPECT_EQ(ShownColor(painter, bfDisabled), Colors[1]);
    EXPECT_EQ(ShownColor(painter, bfPressed), Colors[2]);
    EXPECT_EQ(ShownColor(painter, bfLatched), Colors[3]);
    EXPECT_EQ(ShownColor(painter, bfIdle), Rgb(clBtnShadow)) << "cell 0 greyed";
    EXPECT_EQ(painter.Cell(painter.PrepareCell(bfUp)).Width(), 16);
    size_t prepared = painter.PreparedCells();
    EXPECT_EQ(prepared, 5u);
    for (TButtonFace face : {bfUp, bfDisabled, bfPressed, bfLatched, bfIdle})
        painter.PrepareCell(face);
    EXPECT_EQ(painter.PreparedCells(), prepared) << "each prepared once";
    painter.ChangeCellCount(0);
    EXPECT_EQ(painter.CellCount(), 4);
    EXPECT_EQ(painter.PreparedCells(), prepared) << "0 changes nothing";
    painter.ChangeCellCount(2);
    EXPECT_EQ(painter.PreparedCells(), 0u);
}

TEST_F(ButtonGlyph, TheCellTableForOneToFiveCells) {
    // Per count: the colour index each face shows (-1: embossed, -2: cell 0 greyed).
    const int table[5][5] = {
        {0, -1, 0, 0, -2}, {0, 1, 0, 0, -2}, {0, 1, 2, 0, -2}, {0, 1, 2, 3, -2}, {0, 1, 2, 3, 4}};
    for (int count = 1; count <= 5; ++count) {
        SCOPED_TRACE(count);
        TRxButtonGlyph painter;
        painter.AssignGlyph(
            Strip(std::vector<TColor>(Colors.begin(), Colors.begin() + count)).get());
        ASSERT_EQ(painter.CellCount(), count);
        for (int face = bfUp; face <= bfIdle; ++face) {
            int shown = table[count - 1][face];
            TColor expected = shown >= 0    ? Colors[size_t(shown)]
                              : shown == -2 ? IdleColor(Colors[0], clFuchsia)
                                            : Rgb(clBtnFace); // no black: only the face
            EXPECT_EQ(ShownColor(painter, TButtonFace(face)), Rgb(expected)) << "face " << face;
        }
        if (count < 3) {
            EXPECT_EQ(painter.PrepareCell(bfPressed), painter.PrepareCell(bfUp))
                << "the pressed face shares the released image";
        }
    }
}

TEST_F(ButtonGlyph, WideStripsAndWidthsTheCountDoesNotDivide) {
    TRxButtonGlyph painter;
    auto six = Strip({clWhite, clWhite, clWhite, clWhite, clWhite, clWhite});
    painter.AssignGlyph(six.get());
    EXPECT_EQ(painter.CellCount(), 1) << "more than five square cells are one picture";
    EXPECT_EQ(painter.Cell(painter.PrepareCell(bfUp)).Width(), 96);

    TRxButtonGlyph uneven;
    auto strip = Strip({Colors[0], Colors[1], Colors[2]}, 16, 16);
    TBitmap wider;
    wider.SetSize(50, 16);
    wider.Canvas().BrushColor = clBlack;
    wider.Canvas().FillRect({0, 0, 50, 16});
    strip->Draw(wider.Canvas().Handle(), 0, 0);
    uneven.AssignGlyph(&wider);
    EXPECT_EQ(uneven.CellCount(), 1) << "50 is no multiple of 16: the count stays";
    uneven.ChangeCellCount(3);
    EXPECT_EQ(uneven.Cell(uneven.PrepareCell(bfPressed)).Width(), 16)
        << "the two columns left over are never drawn";
    EXPECT_EQ(ShownColor(uneven, bfPressed), Colors[2]);
}

TEST_F(ButtonGlyph, ADisabledSingleCellIsEmbossed) {
    TBitmap glyph;
    glyph.SetSize(96, 16);
    glyph.Canvas().BrushColor = clWhite;
    glyph.Canvas().FillRect({0, 0, 96, 16});
    glyph.Canvas().BrushColor = clBlack;
    glyph.Canvas().FillRect({10, 4, 20, 10});
    TRxButtonGlyph painter;
    painter.AssignGlyph(&glyph);
    TBitmap embossed;
    embossed.Assign(&painter.Cell(painter.PrepareCell(bfDisabled)));
    TCanvas& canvas = embossed.Canvas();
    EXPECT_EQ(canvas.Pixel(15, 7), Rgb(clBtnShadow)) << "the black shape in shadow";
    EXPECT_EQ(canvas.Pixel(10, 4), Rgb(clBtnShadow));
    EXPECT_EQ(canvas.Pixel(20, 8), Rgb(clBtnHighlight)) << "its highlight one pixel right";
    EXPECT_EQ(canvas.Pixel(15, 10), Rgb(clBtnHighlight)) << "and one pixel down";
    EXPECT_EQ(canvas.Pixel(9, 4), Rgb(clBtnFace));
    EXPECT_EQ(canvas.Pixel(40, 8), Rgb(clBtnFace)) << "white becomes the face";
}

TEST_F(ButtonGlyph, IdleColours) {
    EXPECT_EQ(IdleColor(clBlack, clFuchsia), clBlack);
    EXPECT_EQ(IdleColor(clWhite, clFuchsia), clWhite);
    EXPECT_EQ(IdleColor(clFuchsia, clFuchsia), clFuchsia) << "the key colour stays";
    EXPECT_EQ(IdleColor(RGB(1, 2, 3), RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(IdleColor(clNavy, clFuchsia), clBlack);
    EXPECT_EQ(IdleColor(RGB(129, 128, 128), clFuchsia), clBtnFace) << "385";
    EXPECT_EQ(IdleColor(RGB(128, 128, 128), clFuchsia), clBtnShadow) << "384";
    EXPECT_EQ(IdleColor(RGB(255, 255, 0), clFuchsia), clBtnFace);
}

TEST_F(ButtonGlyph, TheGlyphIsDrawnTransparentlyAboveTheCaption) {
    TRxButtonGlyph painter;
    painter.AssignGlyph(Strip({Colors[2]}).get());
    TSurface surface(65, 50);
    RECT caption = painter.DrawContent(surface.Canvas(), {0, 0, 65, 50}, "OK", blGlyphTop, -1, -1,
                                       false, bfUp);
    // Room 50 - (16 + 13) = 21: margin and spacing 7.
    EXPECT_EQ(surface.Pixel(24 + 5, 7 + 5), Rgb(Colors[2]));
    EXPECT_EQ(surface.Pixel(24 + 5, 7 + 15), Rgb(clLime)) << "key-colour pixels leave it";
    EXPECT_EQ(caption.top, 7 + 16 + 7);
    EXPECT_FALSE(surface.PixelsOf(clBlack).empty());
}

TEST_F(ButtonGlyph, ADisabledCaptionIsEmbossed) {
    TRxButtonGlyph painter;
    TSurface plain, disabled;
    painter.DrawContent(plain.Canvas(), {0, 0, 65, 25}, "Zamknij", blGlyphTop, -1, 1, false, bfUp);
    painter.DrawContent(disabled.Canvas(), {0, 0, 65, 25}, "Zamknij", blGlyphTop, -1, 1, false,
                        bfDisabled);
    auto text = plain.PixelsOf(clBlack);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(disabled.PixelsOf(clGray), text) << "grey where the text is";
    for (auto [x, y] : text) {
        bool shadowOnly = !text.count({x + 1, y + 1});
        EXPECT_TRUE(!shadowOnly || disabled.Pixel(x + 1, y + 1) == Rgb(clWhite))
            << x + 1 << "," << y + 1;
    }
}

TEST_F(ButtonGlyph, AmpersandsFollowThePlatformsPrefixRules) {
    TRxButtonGlyph painter;
    TSurface doubled, single;
    painter.DrawContent(doubled.Canvas(), {0, 0, 65, 25}, "a&&b", blGlyphTop, -1, 1, false, bfUp);
    RECT place{0, 0, 65, 25};
    TCanvas& canvas = single.Canvas();
    HGDIOBJ old = SelectObject(canvas.Handle(), canvas.Font.Handle());
    SetBkMode(canvas.Handle(), TRANSPARENT);
    DrawTextA(canvas.Handle(), "a&b", 3, &place,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(canvas.Handle(), old);
    EXPECT_EQ(doubled.PixelsOf(clBlack), single.PixelsOf(clBlack)) << "one ampersand shown";

    TSurface marked, unmarked;
    painter.DrawContent(marked.Canvas(), {0, 0, 65, 25}, "&Zamknij", blGlyphTop, -1, 1, false,
                        bfUp);
    painter.DrawContent(unmarked.Canvas(), {0, 0, 65, 25}, "Zamknij", blGlyphTop, -1, 1, false,
                        bfUp);
    auto withMark = marked.PixelsOf(clBlack), without = unmarked.PixelsOf(clBlack);
    std::set<int> rows;
    for (auto pixel : withMark)
        if (!without.count(pixel))
            rows.insert(pixel.second);
    for (auto pixel : without)
        EXPECT_TRUE(withMark.count(pixel)) << "the caption itself is unchanged";
    EXPECT_EQ(rows.size(), 1u) << "one underline below the first letter";
}

TEST_F(ButtonGlyph, TheMenuMark) {
    TSurface surface;
    DrawMenuMark(surface.Canvas(), {10, 10}, bfUp);
    std::set<std::pair<int, int>> expected;
    for (int x = 10; x <= 16; ++x)
        expected.insert({x, 9});
    for (int x = 11; x <= 15; ++x)
        expected.insert({x, 10});
    for (int x = 12; x <= 14; ++x)
        expected.insert({x, 11});
    expected.insert({13, 12});
    EXPECT_EQ(surface.PixelsOf(clBtnText), expected);

    TSurface disabled;
    DrawMenuMark(disabled.Canvas(), {10, 10}, bfDisabled);
    EXPECT_EQ(disabled.PixelsOf(clBtnShadow), expected);
    EXPECT_EQ(disabled.Pixel(17, 10), Rgb(clWhite)) << "the white copy one pixel down-right";
    EXPECT_EQ(disabled.Pixel(14, 13), Rgb(clWhite));
}

TEST_F(ButtonGlyph, TheMenuMarkFollowsTheCaptionAndMovesItLeft) {
    TRxButtonGlyph painter;
    TSurface surface;
    RECT plain =
        painter
            .LayoutContent(surface.Canvas(), {0, 0, 100, 25}, "Zamknij", blGlyphTop, -1, 1, false)
            .Caption;
    RECT marked = painter.DrawContent(surface.Canvas(), {0, 0, 100, 25}, "Zamknij", blGlyphTop, -1,
                                      1, true, bfUp);
    EXPECT_EQ(plain.left - marked.left, (37 + 9) / 2 - 37 / 2);
    int row = marked.top + (marked.bottom - marked.top) / 2 - 1;
    EXPECT_EQ(surface.Pixel(marked.right + 3, row), Rgb(clBtnText));
    EXPECT_EQ(surface.Pixel(marked.right + 9, row), Rgb(clBtnText));
    EXPECT_EQ(surface.Pixel(marked.right + 2, row), Rgb(clLime)) << "three free columns";
    RECT bottom =
        painter
            .LayoutContent(surface.Canvas(), {0, 0, 100, 25}, "Zamknij", blGlyphBottom, -1, 1, true)
            .Caption;
    EXPECT_EQ(bottom.left, marked.left) << "the same shift in the bottom layout";
}

TEST_F(ButtonGlyph, TheButtonHandsItsGlyphToThePainterAndRepaints) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    TRxSpeedButton button(&form);
    button.SetParent(&form);
    button.SetBounds(0, 0, 65, 25);
    auto strip = Strip({Colors[0], Colors[1], Colors[2], Colors[3]});
    button.SetGlyph(strip.get());
    EXPECT_EQ(button.NumGlyphs(), 4);
    TBitmap face;
    face.SetSize(65, 25);
    button.Perform(WM_PAINT, WPARAM(face.Canvas().Handle()));
    EXPECT_EQ(face.Canvas().Pixel(32, 8), Rgb(Colors[0]));
    EXPECT_GT(button.Painter().PreparedCells(), 0u);
    button.Perform(CM_SYSCOLORCHANGE);
    EXPECT_EQ(button.Painter().PreparedCells(), 0u) << "system colours changed: images dropped";

    button.SetFlat(true);
    button.Perform(WM_PAINT, WPARAM(face.Canvas().Handle()));
    EXPECT_EQ(face.Canvas().Pixel(32, 8), Rgb(IdleColor(Colors[0], clFuchsia)))
        << "greyed while the pointer is outside";
    button.SetGrayedInactive(false);
    button.Perform(WM_PAINT, WPARAM(face.Canvas().Handle()));
    EXPECT_EQ(face.Canvas().Pixel(32, 8), Rgb(Colors[0]));
    button.SetEnabled(false);
    button.Perform(WM_PAINT, WPARAM(face.Canvas().Handle()));
    EXPECT_EQ(face.Canvas().Pixel(32, 8), Rgb(Colors[1]));
}
