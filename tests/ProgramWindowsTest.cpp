#include <gtest/gtest.h>

#include "TestSupport.h"
#include "about/TForm3.h"
#include "main/TForm1.h"

class ProgramWindows : public TApplicationTest {
protected:
    void SetUp() override {
        TApplicationTest::SetUp();
        App->SetTitle("Tolvo");
        App->AddForm(Form1);
        App->AddForm(Form3);
    }
};

static LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
static LONG ExStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

TEST_F(ProgramWindows, TheMainWindowHasItsFixedFrameSizeAndIcon) {
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(App->MainForm(), Form1);
    HWND window = Form1->Handle();
    EXPECT_EQ(Form1->Caption(), "Tolvo v1.0 by Olgierd Wr\xF3" "blik");
    EXPECT_EQ(Form1->ClientWidth(), 333);
    EXPECT_EQ(Form1->ClientHeight(), 257);
    EXPECT_TRUE(Style(window) & WS_SYSMENU);
    EXPECT_TRUE(Style(window) & WS_MINIMIZEBOX);
    EXPECT_FALSE(Style(window) & WS_MAXIMIZEBOX);
    EXPECT_FALSE(Style(window) & WS_THICKFRAME);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(Form1->Font().Name(), "MS Sans Serif");
    EXPECT_EQ(Form1->Font().Height(), -11);
}

TEST_F(ProgramWindows, TheMainWindowIsCentredOnTheScreenWhenFirstShown) {
    Form1->Show();
    RECT bounds;
    GetWindowRect(Form1->Handle(), &bounds);
    POINT expected = CenteredPosition(bounds.right - bounds.left, bounds.bottom - bounds.top,
                                      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(bounds.left, expected.x);
    EXPECT_EQ(bounds.top, expected.y);
    Form1->Hide();
    SetWindowPos(Form1->Handle(), nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Form1->Show();
    GetWindowRect(Form1->Handle(), &bounds);
    EXPECT_EQ(bounds.left, 5) << "only the first showing places it";
}

TEST_F(ProgramWindows, TheAboutWindowIsAHiddenStayOnTopDialogAtItsStoredPlace) {
    ASSERT_NE(Form3, nullptr);
    EXPECT_FALSE(Form3->Visible());
    EXPECT_EQ(Form3->Caption(), "O programie...");
    HWND window = Form3->Handle();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(ExStyle(window) & WS_EX_TOPMOST);
    EXPECT_TRUE(ExStyle(window) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(Style(window) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(Form3->ClientWidth(), 368);
    EXPECT_EQ(Form3->ClientHeight(), 345);
    Form3->Show();
    RECT bounds;
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.left, 340);
    EXPECT_EQ(bounds.top, 132);
}
