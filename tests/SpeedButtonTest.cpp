#include <gtest/gtest.h>

#include "RXCtrls/RxSpeedButton.h"
#include "TestSupport.h"
#include "framework/Image.h"
#include "framework/PopupMenu.h"

#include <utility>

namespace {

TColor Rgb(TColor color) { return TColor(ColorToRGB(color)); }

// Counts its paints, to tell a repaint done at once from one only scheduled.
class TCountingButton : public TRxSpeedButton {
  public:
    using TRxSpeedButton::TRxSpeedButton;
    int Paints = 0;

  protected:
    void Paint() override {
        ++Paints;
        TRxSpeedButton::Paint();
    }
};

// A menu whose own loop is ended by a timer as soon as it runs.
class TTimedMenu : public TPopupMenu {
  public:
    using TPopupMenu::TPopupMenu;
    int Shown = 0;
    bool Throw = false;
    void Popup(int x, int y) override {
        ++Shown;
        if (Throw)
            throw Exception("menu failed");
        UINT_PTR timer = SetTimer(nullptr, 0, 10, CloseMenu);
        TPopupMenu::Popup(x, y);
        KillTimer(nullptr, timer);
    }

  private:
    static void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }
};

class SpeedButton : public TApplicationTest {
  protected:
    void SetUp() override {
        TApplicationTest::SetUp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 160);
        Button = MakeButton(10, 20, 65, 25);
        // Shown, so that it keeps the area to be repainted.
        ShowWindow(Form->Handle(), SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        delete Form;
        TApplicationTest::TearDown();
    }
    TCountingButton* MakeButton(int left, int top, int width, int height) {
        auto* button = new TCountingButton(Form);
        button->SetParent(Form);
        button->SetBounds(left, top, width, height);
        button->OnClick = [this](TObject*) { ++Clicks; };
        return button;
    }
    // A mouse message at a point of the button, as its window receives it.
    void Send(UINT msg, int x, int y, TControl* button = nullptr) {
        button = button ? button : Button;
        WPARAM keys = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK ? MK_LBUTTON : 0;
        SendMessageA(Form->Handle(), msg, keys, MAKELPARAM(button->Left() + x, button->Top() + y));
    }
    void PressAndRelease(TControl* button, int x = 5, int y = 5) {
        button->Perform(CM_MOUSEENTER);
        Send(WM_LBUTTONDOWN, x, y, button);
        Send(WM_LBUTTONUP, x, y, button);
    }
    // Forgets earlier paints and pending repaints.
    void Settle() {
        ValidateRect(Form->Handle(), nullptr);
        Button->Paints = 0;
    }
    bool RepaintScheduled(TControl* button = nullptr) {
        RECT pending, bounds = (button ? button : Button)->BoundsRect(), overlap;
        return GetUpdateRect(Form->Handle(), &pending, FALSE) &&
               IntersectRect(&overlap, &pending, &bounds);
    }
    static std::unique_ptr<TBitmap> Face(TControl* button) {
        auto face = std::make_unique<TBitmap>();
        face->SetSize(button->Width(), button->Height());
        button->Perform(WM_PAINT, WPARAM(face->Canvas().Handle()));
        return face;
    }
    TForm* Form = nullptr;
    TCountingButton* Button = nullptr;
    int Clicks = 0;
};

} // namespace

TEST_F(SpeedButton, StartsWithItsPublishedValues) {
    EXPECT_EQ(Button->Width(), 65);
    EXPECT_FALSE(Button->AllowAllUp());
    EXPECT_EQ(Button->GroupIndex(), 0);
    EXPECT_FALSE(Button->Down());
    EXPECT_EQ(Button->DropDownMenu(), nullptr);
    EXPECT_FALSE(Button->Flat());
    EXPECT_TRUE(Button->GrayedInactive());
    EXPECT_EQ(Button->Layout(), blGlyphTop);
    EXPECT_EQ(Button->Margin(), -1);
    EXPECT_TRUE(Button->MarkDropDown());
    EXPECT_EQ(Button->NumGlyphs(), 1);
    EXPECT_TRUE(Button->ParentFont());
    EXPECT_FALSE(Button->ParentShowHint);
    EXPECT_TRUE(Button->ShowHint);
    EXPECT_EQ(Button->Spacing(), 1);
    EXPECT_EQ(Button->Style(), bsAutoDetect);
    EXPECT_FALSE(Button->Transparent());
    EXPECT_FALSE(Button->WordWrap());
    EXPECT_EQ(Button->FaceState(), bfUp);
    EXPECT_EQ(Button->ControlStyle, unsigned(csCaptureMouse | csOpaque | csDoubleClicks));
    TRxSpeedButton bare(nullptr);
    EXPECT_EQ(bare.Width(), 25);
    EXPECT_EQ(bare.Height(), 25);
}

TEST_F(SpeedButton, AWindowDescriptionSetsEveryStoredProperty) {
    RegisterRxControls();
    auto* form = Add<TTestForm>("BUTTONFORM");
    auto* left = dynamic_cast<TRxSpeedButton*>(form->FindComponent("Left1"));
    auto* right = dynamic_cast<TRxSpeedButton*>(form->FindComponent("Right1"));
    auto* menu = dynamic_cast<TPopupMenu*>(form->FindComponent("Menu1"));
    ASSERT_TRUE(left && right && menu);
    EXPECT_FALSE(menu->AutoPopup);
    EXPECT_EQ(left->DropDownMenu(), menu);
    EXPECT_TRUE(left->Down());
    EXPECT_EQ(left->GroupIndex(), 3);
    EXPECT_FALSE(right->Down());
    EXPECT_TRUE(left->Flat());
    EXPECT_FALSE(left->GrayedInactive());
    EXPECT_EQ(left->Layout(), blGlyphLeft);
    EXPECT_EQ(left->Margin(), 2);
    EXPECT_FALSE(left->MarkDropDown());
    EXPECT_EQ(left->NumGlyphs(), 2);
    EXPECT_EQ(left->Spacing(), 4);
    EXPECT_EQ(left->Style(), bsWin31);
    EXPECT_TRUE(left->Transparent());
    EXPECT_TRUE(left->WordWrap());
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'l'), 1);
    EXPECT_EQ(form->Clicks, 1) << "the accelerator clicks through the window's handler";
}

TEST_F(SpeedButton, SettersIgnoreWhatTheyCannotTakeAndRepaintOnlyOnChange) {
    Settle();
    Button->SetMargin(-2);
    EXPECT_EQ(Button->Margin(), -1);
    Button->SetFlat(false);
    EXPECT_FALSE(RepaintScheduled()) << "an unchanged value repaints nothing";
    Button->SetNumGlyphs(9);
    EXPECT_EQ(Button->NumGlyphs(), 5);
    EXPECT_TRUE(RepaintScheduled());
    Button->SetNumGlyphs(0);
    EXPECT_EQ(Button->NumGlyphs(), 5) << "the painter ignores 0";
    Button->SetDown(true);
    EXPECT_FALSE(Button->Down()) << "a button outside a group never latches";
}

TEST_F(SpeedButton, ThePressedFaceFollowsThePointerAndOneClickComesAtTheRelease) {
    Button->Perform(CM_MOUSEENTER);
    Settle();
    Send(WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(Button->FaceState(), bfPressed);
    EXPECT_EQ(Button->Paints, 1) << "painted at once";
    Send(WM_MOUSEMOVE, 80, 5);
    EXPECT_EQ(Button->FaceState(), bfUp) << "dragged off";
    EXPECT_EQ(Button->Paints, 2);
    Send(WM_MOUSEMOVE, 70, 5);
    EXPECT_EQ(Button->Paints, 2) << "still off: nothing to repaint";
    Send(WM_MOUSEMOVE, 64, 24);
    EXPECT_EQ(Button->FaceState(), bfPressed) << "dragged back";
    EXPECT_EQ(Button->Paints, 3);
    EXPECT_EQ(Clicks, 0) << "no auto-repeat";
    Send(WM_LBUTTONUP, 64, 24);
    EXPECT_EQ(Button->FaceState(), bfUp);
    EXPECT_EQ(Button->Paints, 4);
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(Button->MouseCapture());
}

TEST_F(SpeedButton, AReleaseOffTheButtonOrOnItsEdgeDoesNotClick) {
    for (POINT at : {POINT{65, 5}, POINT{5, 25}, POINT{-1, 5}, POINT{200, 100}}) {
        Button->Perform(CM_MOUSEENTER);
        Send(WM_LBUTTONDOWN, 5, 5);
        Send(WM_MOUSEMOVE, at.x, at.y);
        Send(WM_LBUTTONUP, at.x, at.y);
        EXPECT_EQ(Clicks, 0) << at.x << "," << at.y;
        EXPECT_EQ(Button->FaceState(), bfUp);
    }
}

TEST_F(SpeedButton, APressBeforeThePointerWasReportedOnlyMarksItInside) {
    Button->SetFlat(true);
    Settle();
    bool mouseDown = false;
    Button->OnMouseDown = [&](TObject*, TMouseButton, UINT, int, int) { mouseDown = true; };
    Send(WM_LBUTTONDOWN, 5, 5);
    EXPECT_TRUE(mouseDown);
    EXPECT_TRUE(Button->MouseInside());
    EXPECT_EQ(Button->FaceState(), bfUp) << "no pressed face";
    EXPECT_EQ(Button->Paints, 1);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(Clicks, 0);
}

TEST_F(SpeedButton, TheRightButtonGivesItsEventsButNoPressedFaceAndNoClick) {
    Button->Perform(CM_MOUSEENTER);
    std::vector<TMouseButton> downs, ups;
    Button->OnMouseDown = [&](TObject*, TMouseButton b, UINT, int, int) { downs.push_back(b); };
    Button->OnMouseUp = [&](TObject*, TMouseButton b, UINT, int, int) { ups.push_back(b); };
    Send(WM_RBUTTONDOWN, 5, 5);
    EXPECT_EQ(Button->FaceState(), bfUp);
    Send(WM_RBUTTONUP, 5, 5);
    EXPECT_EQ(downs, std::vector<TMouseButton>{mbRight});
    EXPECT_EQ(ups, std::vector<TMouseButton>{mbRight});
    EXPECT_EQ(Clicks, 0);
}

TEST_F(SpeedButton, ADoubleClickIsTwoClicksAndADoubleClickEventOnlyWhenDown) {
    int doubles = 0;
    Button->OnDblClick = [&](TObject*) { ++doubles; };
    Button->Perform(CM_MOUSEENTER);
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_LBUTTONUP, 5, 5);
    Button->Perform(CM_MOUSEENTER);
    Send(WM_LBUTTONDBLCLK, 5, 5);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(Clicks, 2);
    EXPECT_EQ(doubles, 0);

    Button->SetGroupIndex(1);
    Button->SetAllowAllUp(true);
    Button->SetDown(true);
    Button->Perform(CM_MOUSEENTER);
    Send(WM_LBUTTONDBLCLK, 5, 5);
    EXPECT_EQ(doubles, 1);
}

TEST_F(SpeedButton, ButtonsOfAGroupLatchOneAtATime) {
    TCountingButton* other = MakeButton(100, 20, 65, 25);
    Button->SetGroupIndex(1);
    other->SetGroupIndex(1);
    Settle();
    Button->Perform(CM_MOUSEENTER);
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_LBUTTONUP, 80, 5);
    EXPECT_FALSE(Button->Down()) << "released outside: it does not latch";
    EXPECT_EQ(Button->FaceState(), bfUp);
    EXPECT_EQ(Button->Paints, 2) << "the press and the release, both at once";
    EXPECT_EQ(Clicks, 0);

    Settle();
    PressAndRelease(Button);
    EXPECT_TRUE(Button->Down());
    EXPECT_EQ(Button->FaceState(), bfLatched);
    EXPECT_EQ(Button->Paints, 1) << "the press; the latched face is only scheduled";
    EXPECT_TRUE(RepaintScheduled());
    EXPECT_EQ(Clicks, 1);

    Settle();
    PressAndRelease(Button);
    EXPECT_TRUE(Button->Down()) << "a latched button stays down without AllowAllUp";
    EXPECT_EQ(Button->FaceState(), bfLatched);
    EXPECT_EQ(Button->Paints, 0) << "its face never changed";
    EXPECT_FALSE(RepaintScheduled());

    Settle();
    PressAndRelease(other);
    EXPECT_TRUE(other->Down());
    EXPECT_FALSE(Button->Down()) << "released by the other going down";
    EXPECT_EQ(Button->FaceState(), bfUp);
    EXPECT_TRUE(RepaintScheduled(Button));

    Settle();
    other->Paints = 0;
    other->Perform(CM_MOUSEENTER);
    Send(WM_LBUTTONDOWN, 5, 5, other);
    Send(WM_LBUTTONUP, 90, 5, other);
    EXPECT_EQ(other->FaceState(), bfLatched) << "released outside: still latched";
    EXPECT_EQ(other->Paints, 1) << "repainted at once";
}

TEST_F(SpeedButton, AGroupSharesAllowAllUp) {
    TCountingButton* other = MakeButton(100, 20, 65, 25);
    Button->SetGroupIndex(2);
    other->SetGroupIndex(2);
    Button->SetAllowAllUp(true);
    EXPECT_TRUE(other->AllowAllUp());
    PressAndRelease(other);
    EXPECT_TRUE(other->Down());
    PressAndRelease(other);
    EXPECT_FALSE(other->Down()) << "all may be up now";
    EXPECT_EQ(other->FaceState(), bfUp);
    Button->SetDown(true);
    Button->SetDown(false);
    EXPECT_FALSE(Button->Down());
}

TEST_F(SpeedButton, ProgramAndPaintSettleTheFaceState) {
    Button->SetGroupIndex(1);
    Settle();
    Button->SetDown(true);
    EXPECT_EQ(Button->FaceState(), bfLatched);
    EXPECT_TRUE(RepaintScheduled());
    EXPECT_EQ(Button->Paints, 0);

    Button->SetEnabled(false);
    Face(Button);
    EXPECT_EQ(Button->FaceState(), bfDisabled);
    Button->SetEnabled(true);
    Face(Button);
    EXPECT_EQ(Button->FaceState(), bfLatched) << "back to its latch";
    Button->SetAllowAllUp(true);
    Button->SetDown(false);
    Button->SetEnabled(false);
    Face(Button);
    Button->SetEnabled(true);
    Face(Button);
    EXPECT_EQ(Button->FaceState(), bfUp);
}

TEST_F(SpeedButton, DisablingTheButtonUnderThePointerRemovesItsFrame) {
    Button->SetFlat(true);
    Button->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(Button->MouseInside());
    EXPECT_EQ(Face(Button)->Canvas().Pixel(0, 12), Rgb(clBtnHighlight));
    Button->SetEnabled(false);
    EXPECT_FALSE(Button->MouseInside());
    EXPECT_EQ(Face(Button)->Canvas().Pixel(0, 12), Rgb(clBtnFace));
    Button->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(Button->MouseInside()) << "a disabled button is never inside";
}

TEST_F(SpeedButton, HoverNoticesScheduleARepaintOnlyForFlatButtons) {
    Settle();
    Button->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(Button->MouseInside());
    EXPECT_FALSE(RepaintScheduled());
    Button->Perform(CM_MOUSELEAVE);
    Button->SetFlat(true);
    Settle();
    Button->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(RepaintScheduled());
    EXPECT_EQ(Button->Paints, 0);
    Settle();
    Button->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(Button->MouseInside());
    EXPECT_TRUE(RepaintScheduled());
}

TEST_F(SpeedButton, TheAcceleratorClicksWhenEnabled) {
    Button->SetCaption("&Otw\xF3rz");
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'o'), 1);
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'O'), 1);
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 't'), 0);
    EXPECT_EQ(Clicks, 2);
    Button->SetCaption("\xD3sme &\xD3semki"); // Polish capital O with acute
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 0xF3), 1) << "the small letter matches";
    Button->SetCaption("Koniec&");
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, '&'), 0) << "a final & marks nothing";
    Button->SetCaption("&Otw\xF3rz");
    Button->SetEnabled(false);
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'o'), 0);
    EXPECT_EQ(Clicks, 3);
}

TEST_F(SpeedButton, TheDropDownMenuOpensOnThePressAndItsCloseGivesNoClick) {
    auto* menu = new TTimedMenu(Form);
    Button->SetDropDownMenu(menu);
    PressAndRelease(Button);
    EXPECT_EQ(menu->Shown, 1);
    EXPECT_EQ(menu->PopupComponent, Button);
    EXPECT_EQ(Clicks, 0) << "the press went to the menu";
    EXPECT_EQ(Button->FaceState(), bfUp);

    menu->AutoPopup = false;
    PressAndRelease(Button);
    EXPECT_EQ(menu->Shown, 1);
    EXPECT_EQ(Clicks, 1);

    delete menu;
    EXPECT_EQ(Button->DropDownMenu(), nullptr) << "the freed menu is forgotten";
    PressAndRelease(Button);
    EXPECT_EQ(Clicks, 2);
}

TEST_F(SpeedButton, AnErrorDuringThePressIsReportedAndTheNextPressWorks) {
    auto* menu = new TTimedMenu(Form);
    menu->Throw = true;
    Button->SetDropDownMenu(menu);
    {
        TMessageBoxWatcher watcher;
        Button->Perform(CM_MOUSEENTER);
        Send(WM_LBUTTONDOWN, 5, 5);
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].Text, "menu failed.");
    }
    Send(WM_LBUTTONUP, 5, 5);
    menu->Throw = false;
    PressAndRelease(Button);
    EXPECT_EQ(menu->Shown, 2) << "the press is no longer taken as in progress";
}

// ---- Faces ----

namespace {

// The box around every pixel of the colour; empty when there is none.
RECT PixelsOf(TBitmap& face, TColor color) {
    RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < face.Height(); ++y)
        for (int x = 0; x < face.Width(); ++x)
            if (face.Canvas().Pixel(x, y) == Rgb(color))
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
    return box;
}

void ExpectOutline(TBitmap& face, int inset, TColor topLeft, TColor bottomRight) {
    int right = face.Width() - 1 - inset, bottom = face.Height() - 1 - inset;
    int midX = face.Width() / 2, midY = face.Height() / 2;
    TCanvas& canvas = face.Canvas();
    EXPECT_EQ(canvas.Pixel(inset, midY), Rgb(topLeft)) << "left, inset " << inset;
    EXPECT_EQ(canvas.Pixel(midX, inset), Rgb(topLeft)) << "top, inset " << inset;
    EXPECT_EQ(canvas.Pixel(inset, inset), Rgb(topLeft)) << "top-left, inset " << inset;
    EXPECT_EQ(canvas.Pixel(right, midY), Rgb(bottomRight)) << "right, inset " << inset;
    EXPECT_EQ(canvas.Pixel(midX, bottom), Rgb(bottomRight)) << "bottom, inset " << inset;
    EXPECT_EQ(canvas.Pixel(right, inset), Rgb(bottomRight)) << "top-right, inset " << inset;
    EXPECT_EQ(canvas.Pixel(inset, bottom), Rgb(bottomRight)) << "bottom-left, inset " << inset;
}

} // namespace

TEST_F(SpeedButton, FlatFacesOfBothSizes) {
    for (int width : {65, 105}) {
        SCOPED_TRACE(width);
        Button->SetBounds(10, 20, width, 25);
        Button->SetFlat(true);
        Button->SetCaption("Wyjd\x9F");
        Button->Font().SetColor(clRed);
        Button->Perform(CM_MOUSELEAVE);
        auto idle = Face(Button);
        EXPECT_EQ(idle->Canvas().Pixel(0, 12), Rgb(clBtnFace)) << "no frame while outside";
        EXPECT_EQ(idle->Canvas().Pixel(width - 1, 24), Rgb(clBtnFace));

        Button->Perform(CM_MOUSEENTER);
        auto hover = Face(Button);
        ExpectOutline(*hover, 0, clBtnHighlight, clBtnShadow);
        EXPECT_EQ(hover->Canvas().Pixel(1, 12), Rgb(clBtnFace)) << "one pixel only";
        RECT idleCaption = PixelsOf(*idle, clRed), hoverCaption = PixelsOf(*hover, clRed);
        EXPECT_TRUE(EqualRect(&hoverCaption, &idleCaption)) << "the caption stays where it was";

        Send(WM_LBUTTONDOWN, 5, 5);
        auto pressed = Face(Button);
        ExpectOutline(*pressed, 0, clWindowFrame, clBtnHighlight);
        RECT moved = hoverCaption;
        OffsetRect(&moved, 1, 1);
        RECT shown = PixelsOf(*pressed, clRed);
        EXPECT_TRUE(EqualRect(&shown, &moved)) << "the caption one pixel right and down";

        Send(WM_MOUSEMOVE, width + 20, 5);
        Button->Perform(CM_MOUSELEAVE); // the idle step, as the pointer leaves
        auto draggedOff = Face(Button);
        EXPECT_EQ(draggedOff->Canvas().Pixel(0, 12), Rgb(clBtnFace));
        RECT offCaption = PixelsOf(*draggedOff, clRed);
        EXPECT_TRUE(EqualRect(&offCaption, &idleCaption));
        Send(WM_LBUTTONUP, width + 20, 5);
    }
}

TEST_F(SpeedButton, EveryFrameOfTheTable) {
    struct TRow {
        bool Pressed, NewStyle, Flat;
        std::vector<std::pair<TColor, TColor>> Outlines;
        int Inset;
    };
    const TRow rows[] = {
        {false, true, true, {{clBtnHighlight, clBtnShadow}}, 2},
        {false, true, false, {{clBtnHighlight, clWindowFrame}, {clBtnFace, clBtnShadow}}, 3},
        {false, false, true, {{clBtnHighlight, clWindowFrame}}, 2},
        {false, false, false, {{clWindowFrame, clWindowFrame}, {clBtnHighlight, clBtnShadow}}, 3},
        {true, true, true, {{clWindowFrame, clBtnHighlight}}, 2},
        {true, true, false, {{clWindowFrame, clBtnHighlight}, {clBtnShadow, clBtnFace}}, 3},
        {true, false, true, {{clWindowFrame, clBtnHighlight}}, 2},
        {true, false, false, {{clWindowFrame, clWindowFrame}}, 2},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.Pressed << row.NewStyle << row.Flat);
        TBitmap face;
        face.SetSize(20, 16);
        face.Canvas().BrushColor = clLime;
        face.Canvas().FillRect({0, 0, 20, 16});
        RECT inside = DrawFaceFrame(face.Canvas(), {0, 0, 20, 16}, row.Pressed, row.Flat,
                                    row.NewStyle ? bsNew : bsWin31);
        RECT expected{row.Inset, row.Inset, 20 - row.Inset, 16 - row.Inset};
        EXPECT_TRUE(EqualRect(&inside, &expected));
        for (size_t i = 0; i < row.Outlines.size(); ++i)
            ExpectOutline(face, int(i), row.Outlines[i].first, row.Outlines[i].second);
        if (row.Pressed && !row.NewStyle && !row.Flat) {
            // The old pressed frame's shadow: left column and top row inside the outline.
            EXPECT_EQ(face.Canvas().Pixel(1, 14), Rgb(clBtnShadow));
            EXPECT_EQ(face.Canvas().Pixel(18, 1), Rgb(clBtnShadow));
            EXPECT_EQ(face.Canvas().Pixel(18, 8), Rgb(clLime));
            EXPECT_EQ(face.Canvas().Pixel(8, 14), Rgb(clLime));
        }
    }
}

TEST_F(SpeedButton, ALatchedButtonShowsTheSharedCheckerInsideItsFrame) {
    EXPECT_EQ(LatchPattern(), nullptr);
    Button->SetGroupIndex(1);
    Button->SetDown(true);
    auto face = Face(Button);
    ASSERT_NE(LatchPattern(), nullptr);
    TBitmap pattern;
    pattern.Assign(LatchPattern());
    EXPECT_EQ(pattern.Canvas().Pixel(0, 0), Rgb(clWhite));
    EXPECT_EQ(pattern.Canvas().Pixel(1, 0), Rgb(clBtnFace));
    EXPECT_EQ(pattern.Canvas().Pixel(1, 1), Rgb(clWhite));
    // The content rectangle (3, 3, 62, 22) moved by one pixel: (4, 4, 63, 23), less its last
    // column and row.
    TCanvas& canvas = face->Canvas();
    EXPECT_EQ(canvas.Pixel(4, 4), Rgb(clWhite));
    EXPECT_EQ(canvas.Pixel(5, 4), Rgb(clBtnFace));
    EXPECT_EQ(canvas.Pixel(61, 21), Rgb(clWhite));
    EXPECT_EQ(canvas.Pixel(62, 20), Rgb(clBtnFace)) << "the last column stays unfilled";
    EXPECT_EQ(canvas.Pixel(62, 21), Rgb(clBtnFace));

    Button->SetFlat(true);
    auto flat = Face(Button);
    EXPECT_EQ(flat->Canvas().Pixel(0, 12), Rgb(clWindowFrame)) << "sunken though outside";
    EXPECT_EQ(flat->Canvas().Pixel(4, 4), Rgb(clBtnFace)) << "no checker when flat";
}

TEST_F(SpeedButton, TheLatchPatternLivesWhileAnyButtonDoes) {
    int before = LiveButtons();
    auto* second = MakeButton(100, 20, 65, 25);
    EXPECT_EQ(LiveButtons(), before + 1);
    second->SetGroupIndex(1);
    second->SetDown(true);
    Face(second);
    delete second;
    EXPECT_NE(LatchPattern(), nullptr);
    delete Button;
    Button = nullptr;
    EXPECT_EQ(LiveButtons(), before - 1);
    if (LiveButtons() == 0) {
        EXPECT_EQ(LatchPattern(), nullptr);
    }
}

TEST_F(SpeedButton, ATransparentButtonShowsThePictureBeneathIt) {
    auto* image = new TImage(Form);
    image->SetParent(Form);
    image->SetBounds(0, 0, 120, 80);
    auto picture = std::make_unique<TBitmap>();
    picture->SetSize(120, 80);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            picture->Canvas().SetPixel(x, y, RGB(x * 2, y * 3, 77));
    picture->Dormant();
    image->SetPicture(std::move(picture));
    // The image came last: the button goes above it again.
    Button->SetParent(nullptr);
    Button->SetParent(Form);
    Button->SetFlat(true);
    Button->SetTransparent(true);
    auto face = Face(Button);
    for (POINT at : {POINT{0, 0}, POINT{30, 12}, POINT{64, 24}, POINT{2, 20}})
        EXPECT_EQ(face->Canvas().Pixel(at.x, at.y),
                  TColor(RGB((at.x + 10) * 2, (at.y + 20) * 3, 77)))
            << at.x << "," << at.y;
    Button->SetBounds(100, 60, 65, 25); // partly beyond the picture
    auto partly = Face(Button);
    EXPECT_EQ(partly->Canvas().Pixel(5, 5), TColor(RGB(105 * 2, 65 * 3, 77)));
    EXPECT_EQ(partly->Canvas().Pixel(30, 5), Rgb(clBtnFace)) << "the window's own colour";
    EXPECT_EQ(partly->Canvas().Pixel(5, 22), Rgb(clBtnFace));
}

// ---- Kept faces ----

namespace {

std::vector<COLORREF> AllPixels(TBitmap& face) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < face.Height(); ++y)
        for (int x = 0; x < face.Width(); ++x)
            pixels.push_back(face.Canvas().Pixel(x, y));
    return pixels;
}

// A system colour changed for the length of a scope, as the control panel changes it.
class TSysColorChange {
  public:
    TSysColorChange(int index, COLORREF color) : FIndex(index), FOld(GetSysColor(index)) {
        SetSysColors(1, &FIndex, &color);
    }
    ~TSysColorChange() { SetSysColors(1, &FIndex, &FOld); }

  private:
    int FIndex;
    COLORREF FOld;
};

// Counts the stale faces shown while it lives, in place of the failure they are everywhere else.
class TStaleFaces {
  public:
    TStaleFaces() : FSaved(std::exchange(OnStaleFace, [](const TRxSpeedButton&) { ++FCount; })) {
        FCount = 0;
    }
    ~TStaleFaces() { OnStaleFace = FSaved; }
    TStaleFaces(const TStaleFaces&) = delete;
    TStaleFaces& operator=(const TStaleFaces&) = delete;
    int Count() const { return FCount; }
    // Whether it stands in for a check that was on.
    bool ReplacesCheck() const { return FSaved != nullptr; }

  private:
    static inline int FCount = 0;
    TStaleFaceReport FSaved;
};

// A transparent flat button with a red caption in the window's font, over a picture.
class KeptFaces : public SpeedButton {
  protected:
    void SetUp() override {
        SpeedButton::SetUp();
        Image = new TImage(Form);
        Image->SetParent(Form);
        Image->SetBounds(0, 0, 160, 80);
        auto picture = std::make_unique<TBitmap>();
        picture->SetSize(160, 80);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 160; ++x)
                picture->Canvas().SetPixel(x, y, RGB(x, y * 3, 77));
        Image->SetPicture(std::move(picture));
        Button->SetParent(nullptr); // above the picture
        Button->SetParent(Form);
        Button->SetFlat(true);
        Button->SetTransparent(true);
        Button->SetCaption("Wyjd\x9F");
        Form->Font().SetColor(clRed);
    }
    std::vector<COLORREF> Shown() { return AllPixels(*Face(Button)); }
    // A property of the look set and set back: every kept face goes, this one is made anew.
    std::vector<COLORREF> ComposedAnew() {
        int margin = Button->Margin();
        Button->SetMargin(margin + 1);
        Button->SetMargin(margin);
        return Shown();
    }
    const TBitmap& Picture() { return dynamic_cast<const TBitmap&>(*Image->Picture()); }
    TImage* Image = nullptr;
};

} // namespace

TEST_F(KeptFaces, EveryStateShowsItsKeptFaceAsItWouldBeComposedAnew) {
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"idle", [&] { Button->Perform(CM_MOUSELEAVE); }},
        {"hover", [&] { Button->Perform(CM_MOUSEENTER); }},
        {"pressed", [&] { Send(WM_LBUTTONDOWN, 5, 5); }},
        {"dragged off", [&] { Send(WM_MOUSEMOVE, 90, 5); }},
        {"dragged off, idle", [&] { Button->Perform(CM_MOUSELEAVE); }},
        {"released", [&] { Send(WM_LBUTTONUP, 90, 5); }},
        {"disabled", [&] { Button->SetEnabled(false); }},
        {"enabled, hover", [&] { Button->SetEnabled(true), Button->Perform(CM_MOUSEENTER); }},
        {"latched, hover", [&] { Button->SetGroupIndex(1), Button->SetDown(true); }},
        {"latched, idle", [&] { Button->Perform(CM_MOUSELEAVE); }},
        {"latched, disabled", [&] { Button->SetEnabled(false); }},
        {"latched again", [&] { Button->SetEnabled(true); }},
        {"up", [&] { Button->SetAllowAllUp(true), Button->SetDown(false); }},
    };
    // Flat and transparent, then with the checker of the latched face, then plain.
    for (int look = 0; look < 3; ++look) {
        SCOPED_TRACE(look);
        Button->SetFlat(look == 0);
        Button->SetTransparent(look < 2);
        Button->SetGroupIndex(0);
        std::vector<std::vector<COLORREF>> faces;
        for (const auto& [name, step] : steps) {
            step();
            faces.push_back(Shown());
        }
        for (size_t i = 0; i < std::size(steps); ++i) {
            steps[i].second();
            EXPECT_EQ(Shown(), faces[i]) << steps[i].first << ": kept";
        }
        for (size_t i = 0; i < std::size(steps); ++i) {
            steps[i].second();
            EXPECT_EQ(ComposedAnew(), faces[i]) << steps[i].first << ": composed anew";
        }
    }
}

TEST_F(KeptFaces, EachInputOfTheFaceComposesItAnew) {
    Button->Perform(CM_MOUSEENTER);
    std::unique_ptr<TSysColorChange> highlight;
    std::vector<COLORREF> beforeDisabling;
    auto glyph = Strip({clNavy, RGB(0, 128, 0)});
    auto* menu = new TPopupMenu(Form);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"caption", [&] { Button->SetCaption("Otw\xF3rz plik"); }},
        {"the window's font", [&] { Form->Font().SetHeight(-15); }},
        {"own font", [&] { Button->Font().SetStyle(fsBold); }},
        {"system colours",
         [&] {
             highlight = std::make_unique<TSysColorChange>(COLOR_BTNHIGHLIGHT, RGB(0, 200, 0));
         }},
        {"the picture beneath repainted",
         [&] {
             Picture().Canvas().BrushColor = clLime;
             Picture().Canvas().FillRect({0, 0, 40, 40});
             std::vector<COLORREF> kept;
             {
                 TStaleFaces stale;
                 EXPECT_TRUE(stale.ReplacesCheck()) << "the tests check every kept face";
                 kept = Shown();
                 EXPECT_EQ(stale.Count(), 1) << "the kept face is told from a fresh one";
             }
             EXPECT_NE(kept, ComposedAnew()) << "nobody said the picture changed: kept";
             Picture().Canvas().FillRect({0, 0, 50, 50});
             Image->Invalidate();
         }},
        {"drop-down menu", [&] { Button->SetDropDownMenu(menu); }},
        {"its mark", [&] { Button->SetMarkDropDown(false); }},
        {"glyph", [&] { Button->SetGlyph(glyph.get()); }},
        {"one cell", [&] { Button->SetNumGlyphs(1); }},
        {"layout", [&] { Button->SetLayout(blGlyphLeft); }},
        {"spacing", [&] { Button->SetSpacing(6); }},
        {"margin", [&] { Button->SetMargin(3); }},
        {"word wrap", [&] { Button->SetWordWrap(true); }},
        {"style", [&] { Button->SetStyle(bsWin31); }},
        {"size", [&] { Button->SetBounds(10, 20, 70, 25); }},
        {"place", [&] { Button->SetBounds(30, 40, 70, 25); }},
        {"opaque", [&] { Button->SetTransparent(false); }},
        {"disabled", [&] { beforeDisabling = Shown(), Button->SetEnabled(false); }},
        {"enabled", [&] { Button->SetEnabled(true), Button->Perform(CM_MOUSEENTER); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        auto before = Shown();
        change();
        auto after = Shown();
        EXPECT_NE(after, before) << "the change shows";
        EXPECT_EQ(after, ComposedAnew());
    }
    EXPECT_EQ(Shown(), beforeDisabling) << "enabled again, the face it had";
    EXPECT_EQ(Picture().Canvas().Pixel(35, 45), Rgb(clLime)) << "the backdrop test drew";
    auto green = Shown();
    highlight.reset();
    auto restored = Shown();
    EXPECT_NE(restored, green);
    EXPECT_EQ(restored, ComposedAnew()) << "the colours restored";
}

// The kept faces: each cell composed once and then shown by a copy, until the place changes or
// the button forgets them.
TEST(FaceCache, ComposesACellOnceUntilThePlaceChangesOrTheFacesAreForgotten) {
    TRxFaceCache cache;
    int composed = 0;
    auto compose = [&](TCanvas& canvas, int left) {
        composed++;
        canvas.BrushColor = TColor(RGB(40 * composed, 0, 0));
        canvas.FillRect({left, 0, left + 4, 3});
    };
    TRxFaceCache::TPlace place{nullptr, {10, 10, 14, 13}, 100, 100};
    cache.KeepFor(place, 2);
    EXPECT_FALSE(cache.Compose(1, compose));
    EXPECT_TRUE(cache.Compose(1, compose));
    cache.KeepFor(place, 2);
    EXPECT_TRUE(cache.Compose(1, compose)) << "the same place keeps the faces";
    EXPECT_EQ(composed, 1);
    TBitmap shown;
    shown.SetSize(4, 3);
    cache.Show(shown.Canvas().Handle(), 1);
    EXPECT_EQ(shown.Canvas().Pixel(3, 2), TColor(RGB(40, 0, 0)));
    place.ParentHeight = 120;
    cache.KeepFor(place, 2);
    EXPECT_FALSE(cache.Compose(1, compose)) << "another place composes again";
    cache.Forget();
    EXPECT_FALSE(cache.Compose(1, compose));
    EXPECT_FALSE(cache.Compose(0, compose));
    EXPECT_EQ(composed, 4);
    cache.Show(shown.Canvas().Handle(), 1);
    EXPECT_EQ(shown.Canvas().Pixel(0, 0), TColor(RGB(120, 0, 0)));
}
