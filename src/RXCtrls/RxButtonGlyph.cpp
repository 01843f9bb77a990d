#include "RxButtonGlyph.h"

#include <algorithm>
#include <cstring>

namespace {

// A caption is measured and drawn from its first 255 characters.
struct TCaptionText {
    explicit TCaptionText(const std::string& caption) {
        Length = int(std::min<size_t>(caption.size(), 255));
        std::memcpy(Text, caption.data(), size_t(Length));
        Text[Length] = '\0';
    }
    char Text[256];
    int Length;
};

bool Horizontal(TButtonLayout layout) { return layout == blGlyphLeft || layout == blGlyphRight; }

// The menu mark goes after the caption, or beside a glyph that is not on the left.
void MakeRoomForMenuMark(TButtonLayout layout, POINT& glyph, POINT& text) {
    if (glyph.x == 0 || glyph.y == 0 || layout == blGlyphLeft)
        text.x += 9;
    else if (glyph.x > 0)
        glyph.x += 6;
}

LONG Centred(LONG room, LONG size) { return room / 2 - size / 2; }

// The room along the layout's axis and the lengths of glyph and caption on it.
struct TAxisRoom {
    int Size, Glyph, Text;
};

// A margin or spacing of -1 takes the room the others leave: both of them share it in thirds,
// a margin alone centres the content, a spacing alone centres the caption in what follows the
// glyph.
void ShareOutFreeRoom(const TAxisRoom& room, int& margin, int& spacing) {
    if (margin == -1 && spacing == -1) {
        margin = (room.Size - (room.Glyph + room.Text)) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = room.Size / 2 - (room.Glyph + spacing + room.Text) / 2;
    } else if (spacing == -1) {
        spacing = (room.Size - (margin + room.Glyph)) / 2 - room.Text / 2;
    }
}

// The glyph a margin in from its own side, the caption a spacing beyond it.
void PlaceAlong(TButtonLayout layout, const TAxisRoom& room, int margin, int spacing, LONG& glyph,
                LONG& text) {
    if (layout == blGlyphLeft || layout == blGlyphTop) {
        glyph = margin;
        text = glyph + room.Glyph + spacing;
    } else {
        glyph = room.Size - margin - room.Glyph;
        text = glyph - spacing - room.Text;
    }
}

void CopyCell(TBitmap& image, TBitmap& glyph, int cell) {
    int width = image.Width(), height = image.Height();
    BitBlt(image.Canvas().Handle(), 0, 0, width, height, glyph.Canvas().Handle(), cell * width, 0,
           SRCCOPY);
}

void GreyIdle(TBitmap& image, TColor keyColor) {
    TCanvas& canvas = image.Canvas();
    for (int x = 0; x < image.Width(); ++x)
        for (int y = 0; y < image.Height(); ++y)
            canvas.SetPixel(x, y, IdleColor(canvas.Pixel(x, y), keyColor));
}

} // namespace

TRxButtonGlyph::TRxButtonGlyph() {
    std::fill(std::begin(CellIndex), std::end(CellIndex), -1);
    GlyphImage.OnChange = [this] { GlyphImageChanged(); };
}

TRxButtonGlyph::~TRxButtonGlyph() { ClearCells(); }

void TRxButtonGlyph::AssignGlyph(const TBitmap* bitmap) {
    ClearCells();
    GlyphImage.Assign(bitmap);
    if (!bitmap || bitmap->Height() <= 0)
        return;
    FKeyColor = bitmap->TransparentColor();
    if (bitmap->Width() % bitmap->Height() == 0) {
        int count = bitmap->Width() / bitmap->Height();
        ChangeCellCount(count > 5 ? 1 : count);
    }
}

void TRxButtonGlyph::ChangeCellCount(int count) {
    if (count == FCellCount || count <= 0)
        return;
    ClearCells();
    FCellCount = count;
}

void TRxButtonGlyph::GlyphImageChanged() {
    FKeyColor = GlyphImage.TransparentColor();
    ClearCells();
    if (ChangedNotify)
        ChangedNotify();
}

void TRxButtonGlyph::ClearCells() {
    while (!Cells.empty())
        Cells.pop_back();
    std::fill(std::begin(CellIndex), std::end(CellIndex), -1);
}

unsigned TRxButtonGlyph::TextFlags() const { return WordWrap ? DT_WORDBREAK : 0; }

TContentLayout TRxButtonGlyph::LayoutContent(TCanvas& canvas, const RECT& content,
                                             const std::string& caption, TButtonLayout layout,
                                             int margin, int spacing, bool menuMark) const {
    POINT client{content.right - content.left, content.bottom - content.top};
    POINT glyph{0, 0};
    if (!GlyphImage.Empty())
        glyph = {GlyphImage.Width() / FCellCount, GlyphImage.Height()};
    SIZE measured = caption.empty() ? SIZE{0, 0} : MeasureCaption(canvas, caption, client.x);
    POINT textSize{measured.cx, measured.cy};
    if (menuMark)
        MakeRoomForMenuMark(layout, glyph, textSize);
    if (textSize.x == 0 || glyph.x == 0)
        spacing = 0;
    // Across the layout's axis both are centred; along it they follow each other.
    LONG POINT::*along = Horizontal(layout) ? &POINT::x : &POINT::y;
    LONG POINT::*across = Horizontal(layout) ? &POINT::y : &POINT::x;
    POINT glyphPos{0, 0}, textPos{0, 0};
    glyphPos.*across = Centred(client.*across, glyph.*across);
    textPos.*across = Centred(client.*across, textSize.*across);
    TAxisRoom room{client.*along, glyph.*along, textSize.*along};
    ShareOutFreeRoom(room, margin, spacing);
    PlaceAlong(layout, room, margin, spacing, glyphPos.*along, textPos.*along);
    RECT text{0, 0, measured.cx, measured.cy};
    OffsetRect(&text, textPos.x + content.left, textPos.y + content.top);
    return {{glyphPos.x + content.left, glyphPos.y + content.top}, text};
}

// The extent the platform gives the caption's first 255 characters in a box of that width.
SIZE TRxButtonGlyph::MeasureCaption(TCanvas& canvas, const std::string& caption, int width) const {
    TMeasured& last = FMeasured;
    if (last.Caption == caption && last.Width == width && last.WordWrap == WordWrap &&
        last.Font.SameAs(canvas.Font))
        return last.Size;
    TCaptionText shown(caption);
    TSelection font(canvas.Handle(), canvas.Font.Handle());
    RECT text{0, 0, width, 0};
    DrawTextA(canvas.Handle(), shown.Text, -1, &text, DT_CALCRECT | DT_CENTER | TextFlags());
    last.Caption = caption;
    last.Width = width;
    last.WordWrap = WordWrap;
    last.Font.Assign(canvas.Font);
    last.Size = {text.right - text.left, text.bottom - text.top};
    return last.Size;
}

RECT TRxButtonGlyph::DrawContent(TCanvas& canvas, const RECT& content, const std::string& caption,
                                 TButtonLayout layout, int margin, int spacing, bool menuMark,
                                 TButtonFace state) {
    TContentLayout placed =
        LayoutContent(canvas, content, caption, layout, margin, spacing, menuMark);
    SIZE drawn = DrawGlyphCell(canvas, placed.Glyph, state);
    DrawCaption(canvas, caption, placed.Caption, state);
    if (menuMark) {
        const RECT& text = placed.Caption;
        POINT mark = GlyphImage.Width() > 0 && layout != blGlyphLeft
                         ? POINT{placed.Glyph.x + drawn.cx + 1, placed.Glyph.y + drawn.cy / 2}
                         : POINT{text.right + 3, text.top + (text.bottom - text.top) / 2};
        DrawMenuMark(canvas, mark, state);
    }
    return placed.Caption;
}

void TRxButtonGlyph::DrawCaption(TCanvas& canvas, const std::string& caption, const RECT& rect,
                                 TButtonFace state) const {
    TCaptionText shown(caption);
    TSelection font(canvas.Handle(), canvas.Font.Handle());
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    unsigned flags = DT_CENTER | DT_VCENTER | TextFlags();
    auto draw = [&](RECT place, TColor color) {
        SetTextColor(dc, ColorToRGB(color));
        DrawTextA(dc, shown.Text, shown.Length, &place, flags);
    };
    if (state == bfDisabled) {
        RECT shadow = rect;
        OffsetRect(&shadow, 1, 1);
        draw(shadow, clWhite);
        draw(rect, clGray);
    } else {
        draw(rect, canvas.Font.Color());
    }
}

SIZE TRxButtonGlyph::DrawGlyphCell(TCanvas& canvas, POINT point, TButtonFace state) {
    if (GlyphImage.Width() == 0 || GlyphImage.Height() == 0)
        return {0, 0};
    const TBitmap& image = Cell(PrepareCell(state));
    image.DrawTransparent(canvas.Handle(), point.x, point.y, FKeyColor);
    return {image.Width(), image.Height()};
}

int TRxButtonGlyph::PrepareCell(TButtonFace state) {
    if (state == bfPressed && FCellCount < 3)
        state = bfUp;
    if (CellIndex[state] != -1)
        return CellIndex[state];
    auto image = std::make_unique<TBitmap>();
    image->SetSize(GlyphImage.Width() / FCellCount, GlyphImage.Height());
    image->Canvas().BrushColor = clBtnFace;
    int source = state < FCellCount ? state : 0;
    switch (state) {
    case bfUp:
    case bfPressed:
    case bfLatched:
        CopyCell(*image, GlyphImage, source);
        break;
    case bfDisabled:
        if (FCellCount > 1)
            CopyCell(*image, GlyphImage, source);
        else
            image = MakeEmbossedGlyph(GlyphImage);
        break;
    case bfIdle:
        CopyCell(*image, GlyphImage, source);
        if (FCellCount <= 4)
            GreyIdle(*image, FKeyColor);
        break;
    }
    image->Dormant();
    Cells.push_back(std::move(image));
    CellIndex[state] = int(Cells.size()) - 1;
    GlyphImage.Dormant();
    return CellIndex[state];
}

TColor IdleColor(TColor color, TColor keyColor) {
    if (color == clBlack || color == clWhite || color == keyColor)
        return color;
    if (color == clNavy)
        return clBlack;
    int sum = GetRValue(color) + GetGValue(color) + GetBValue(color);
    return sum > 384 ? clBtnFace : clBtnShadow;
}

std::unique_ptr<TBitmap> MakeEmbossedGlyph(const TBitmap& glyph) {
    int width = glyph.Width(), height = glyph.Height();
    // The mask: a set pixel wherever the glyph is black.
    TBitmap source;
    source.Assign(&glyph);
    TDrawingObject maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    TMemoryContext maskContext;
    TSelection selected(maskContext.Handle(), maskBitmap.Handle());
    HDC mask = maskContext.Handle();
    HDC sourceDC = source.Canvas().Handle();
    SetBkColor(sourceDC, RGB(0, 0, 0));
    BitBlt(mask, 0, 0, width, height, sourceDC, 0, 0, source.Monochrome() ? NOTSRCCOPY : SRCCOPY);

    auto result = std::make_unique<TBitmap>();
    result->SetSize(width, height);
    TCanvas& canvas = result->Canvas();
    canvas.BrushColor = clBtnFace;
    canvas.FillRect({0, 0, width, height});
    HDC dc = canvas.Handle();
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    // Where the mask is set the brush is painted, elsewhere the result stays: the raster
    // operation result ^ (mask & (brush ^ result)).
    constexpr DWORD BrushWhereMaskIsSet = 0xE20746;
    auto stamp = [&](int offset, TColor color) {
        TDrawingObject brush(CreateSolidBrush(ColorToRGB(color)));
        TSelection selectedBrush(dc, brush.Handle());
        BitBlt(dc, offset, offset, width, height, mask, 0, 0, BrushWhereMaskIsSet);
    };
    stamp(1, clBtnHighlight);
    stamp(0, clBtnShadow);
    return result;
}

void DrawMenuMark(TCanvas& canvas, POINT point, TButtonFace state) {
    auto draw = [&](int x, int y, TColor color) {
        canvas.BrushColor = color;
        canvas.BrushPattern = nullptr;
        canvas.FillRect({x, y - 1, x + 7, y});
        canvas.FillRect({x + 1, y, x + 6, y + 1});
        canvas.FillRect({x + 2, y + 1, x + 5, y + 2});
        canvas.FillRect({x + 3, y + 2, x + 4, y + 3});
    };
    if (state == bfDisabled) {
        draw(point.x + 1, point.y + 1, clWhite);
        draw(point.x, point.y, clBtnShadow);
    } else {
        draw(point.x, point.y, clBtnText);
    }
}
