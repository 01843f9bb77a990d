#include <gtest/gtest.h>

#include "TestSupport.h"
#include "framework/Graphics.h"
#include "framework/TextUtils.h"

class Controls : public TApplicationTest {};

static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST_F(Controls, NotificationsReachWindowlessControls) {
    auto* form = Add<TTestForm>();
    TProbeControl* probe = form->Probe("Left1");
    probe->Received.clear();
    probe->SetEnabled(false);
    probe->SetCaption("x");
    probe->Font().SetHeight(-13);
    EXPECT_EQ(probe->Count(CM_ENABLEDCHANGED), 1);
    EXPECT_EQ(probe->Count(CM_TEXTCHANGED), 1);
    EXPECT_EQ(probe->Count(CM_FONTCHANGED), 1);
    probe->SetEnabled(false);
    probe->SetCaption("x");
    EXPECT_EQ(probe->Count(CM_ENABLEDCHANGED), 1) << "an unchanged value notifies nobody";
    EXPECT_EQ(probe->Count(CM_TEXTCHANGED), 1);
}

TEST_F(Controls, FontChangesOfAWindowReachTheChildrenThatShareIt) {
    auto* form = Add<TTestForm>();
    form->Font().SetName("Tahoma");
    EXPECT_EQ(form->Probe("Inner1")->Font().Name(), "Tahoma");
    EXPECT_TRUE(form->Probe("Inner1")->ParentFont());
    EXPECT_EQ(form->Probe("Right1")->Font().Name(), "Tahoma") << "it has a font of its own";
}

TEST_F(Controls, MouseInputOverAWindowlessControlIsRoutedToIt) {
    auto* form = Add<TTestForm>();
    HWND window = form->Handle();
    TProbeControl* left = form->Probe("Left1");
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(15, 12));
    EXPECT_EQ(left->Count(WM_LBUTTONDOWN), 1);
    EXPECT_TRUE(left->MouseCapture()) << "held while the button is down";
    // Outside its bounds, the move and the release still reach it while it holds the capture.
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(180, 100));
    SendMessageA(window, WM_LBUTTONUP, 0, At(180, 100));
    EXPECT_EQ(left->Count(WM_MOUSEMOVE), 1);
    EXPECT_EQ(left->Count(WM_LBUTTONUP), 1);
    EXPECT_FALSE(left->MouseCapture());
    EXPECT_EQ(form->Clicks, 0) << "released outside: no click";
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(15, 12));
    SendMessageA(window, WM_LBUTTONUP, 0, At(16, 13));
    EXPECT_EQ(form->Clicks, 1);
    EXPECT_EQ(form->Probe("Right1")->Count(WM_LBUTTONDOWN), 0);
}

TEST_F(Controls, DisabledWindowlessControlsGetNoMouseInput) {
    auto* form = Add<TTestForm>();
    TProbeControl* left = form->Probe("Left1");
    left->SetEnabled(false);
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(15, 12));
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, At(15, 12));
    EXPECT_EQ(left->Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(form->Clicks, 0);
}

TEST_F(Controls, ParentPaintsWindowlessChildrenInChildOrder) {
    auto* form = Add<TTestForm>();
    form->Probe("Right1")->PaintColor = clWhite;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 120);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(form->Handle(), WM_ERASEBKGND, WPARAM(dc), 0);
    SendMessageA(form->Handle(), WM_PAINT, WPARAM(dc), 0);
    EXPECT_EQ(GetPixel(dc, 10, 10), COLORREF(clNavy));
    EXPECT_EQ(GetPixel(dc, 59, 39), COLORREF(clNavy));
    EXPECT_EQ(GetPixel(dc, 60, 40), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(dc, 120, 20), COLORREF(clWhite));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(Controls, BackgroundBrushesFollowAChangeOfTheSystemColours) {
    auto* form = Add<TTestForm>();
    auto brushColor = [&] {
        LOGBRUSH brush{};
        GetObjectA(form->Brush(), sizeof brush, &brush);
        return brush.lbColor;
    };
    const int element = COLOR_BTNFACE;
    COLORREF face = GetSysColor(element), changed = RGB(10, 200, 30);
    EXPECT_EQ(brushColor(), face);
    SetSysColors(1, &element, &changed);
    SendMessageA(form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(brushColor(), changed);
    SetSysColors(1, &element, &face);
    SendMessageA(form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(brushColor(), face);
}

namespace {
// Records which of two points its paint may draw on.
class TClipRecorder : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;
    bool CoveredVisible = true, FreeVisible = false;

  protected:
    void Paint() override {
        CoveredVisible = PtVisible(Canvas().Handle(), 5, 5);
        FreeVisible = PtVisible(Canvas().Handle(), 40, 30);
    }
};
} // namespace

TEST_F(Controls, NothingIsPaintedBeneathAnOpaqueWindowlessControl) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 120);
    auto* below = new TClipRecorder(&form);
    below->SetParent(&form);
    below->SetBounds(0, 0, 60, 40);
    auto* cover = new TProbeControl(&form);
    cover->SetParent(&form);
    cover->SetBounds(0, 0, 30, 20);
    cover->ControlStyle |= csOpaque;
    TBitmap surface;
    surface.SetSize(200, 120);
    SendMessageA(form.Handle(), WM_PAINT, WPARAM(surface.Canvas().Handle()), 0);
    EXPECT_FALSE(below->CoveredVisible) << "the opaque control paints that area alone";
    EXPECT_TRUE(below->FreeVisible);
    EXPECT_EQ(surface.Canvas().Pixel(5, 5), TColor(clNavy));
    cover->ControlStyle &= ~unsigned(csOpaque);
    SendMessageA(form.Handle(), WM_PAINT, WPARAM(surface.Canvas().Handle()), 0);
    EXPECT_TRUE(below->CoveredVisible) << "a control that is not opaque lets it show through";
}

// A picture the platform refuses to make is reported as out of system resources, and the
// picture held before stays as it was, still drawable.
TEST_F(Controls, APictureThePlatformRefusesLeavesTheOneBefore) {
    TBitmap picture;
    picture.SetSize(4, 3);
    picture.Canvas().SetPixel(1, 1, clRed);
    try {
        picture.SetSize(1 << 16, 1 << 16);
        FAIL() << "a picture of 2^32 pixels was made";
    } catch (const EOutOfResources& error) {
        EXPECT_STREQ(error.what(), "Out of system resources");
    }
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);
    EXPECT_EQ(picture.Canvas().Pixel(1, 1), TColor(clRed));
    TBitmap copy;
    copy.Assign(&picture);
    EXPECT_EQ(copy.Canvas().Pixel(1, 1), TColor(clRed));
}

TEST_F(Controls, AnExceptionInAHandlerIsReportedAndTheNextMessageIsProcessed) {
    auto* form = Add<TTestForm>();
    form->ThrowOnClick = true;
    TMessageBoxWatcher watcher;
    PostMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(15, 12));
    PostMessageA(form->Handle(), WM_LBUTTONUP, 0, At(15, 12));
    PostMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(15, 12));
    PostMessageA(form->Handle(), WM_LBUTTONUP, 0, At(15, 12));
    PumpMessages();
    EXPECT_EQ(form->Clicks, 2) << "the loop went on after the first error";
    auto boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Caption, App->Title());
    EXPECT_EQ(boxes[0].Text, "The probe refused the click.");
    EXPECT_FALSE(form->Probe("Left1")->MouseCapture()) << "the capture was cancelled";
    // An error raised while a control holds the mouse lets the mouse go, even when no box
    // (whose own loop would take the mouse) is shown for it.
    App->OnException = [](TObject*, const Exception&) {};
    form->Probe("Left1")->SetMouseCapture(true);
    ASSERT_NE(GetCapture(), nullptr);
    try {
        throw EInvalidOperation("x");
    } catch (...) {
        App->ReportException(nullptr);
    }
    EXPECT_FALSE(form->Probe("Left1")->MouseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Controls, TabMovesTheFocusInTabOrderAndShiftTabBack) {
    auto* form = Add<TTestForm>();
    form->Show();
    auto* panel0 = dynamic_cast<TWinControl*>(form->FindComponent("Panel0"));
    auto* panel1 = dynamic_cast<TWinControl*>(form->FindComponent("Panel1"));
    panel0->SetFocus();
    MSG tab{panel0->Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(IsKeyMessageConsumed(tab));
    EXPECT_TRUE(panel1->Focused());
    tab.hwnd = panel1->Handle();
    EXPECT_TRUE(IsKeyMessageConsumed(tab));
    EXPECT_TRUE(panel0->Focused()) << "wraps around";
    MSG enter{panel0->Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_FALSE(IsKeyMessageConsumed(enter)) << "Enter goes on to the focused control";
}

TEST(TextColours, AFixedColourGivesWayToTheWindowTextWhereItWouldVanishOrInHighContrast) {
    auto* platformQuery = HighContrastOn;
    HighContrastOn = [] { return false; };
    EXPECT_EQ(ReadableTextColor(clBlack, clWindow), clBlack) << "black on the default white";
    EXPECT_EQ(ReadableTextColor(clWindowText, clWindow), clWindowText);
    EXPECT_EQ(ReadableTextColor(clBlack, 0xB7FFFF), clBlack) << "on a fixed colour it stays";
    const int element = COLOR_WINDOW;
    COLORREF window = GetSysColor(element), dark = RGB(20, 20, 20);
    SetSysColors(1, &element, &dark);
    EXPECT_EQ(ReadableTextColor(clBlack, clWindow), clWindowText) << "black on a dark window";
    EXPECT_EQ(ReadableTextColor(clWhite, clWindow), clWhite);
    SetSysColors(1, &element, &window);
    HighContrastOn = [] { return true; };
    EXPECT_EQ(ReadableTextColor(clBlack, clWindow), clWindowText);
    EXPECT_EQ(ReadableTextColor(clBlack, 0xB7FFFF), clBlack);
    EXPECT_EQ(ReadableTextColor(clHighlightText, clHighlight), clHighlightText);
    HighContrastOn = platformQuery;
}

TEST(AccessibleNames, ACaptionReadsWithoutItsAcceleratorMarker) {
    EXPECT_EQ(WithoutAccelerator("&Otw\xF3rz"), "Otw\xF3rz");
    EXPECT_EQ(WithoutAccelerator("O &programie"), "O programie");
    EXPECT_EQ(WithoutAccelerator("A&&B"), "A&B");
    EXPECT_EQ(WithoutAccelerator("trailing&"), "trailing&");
    EXPECT_EQ(WithoutAccelerator(""), "");
}
