#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "about/TForm3.h"
#include "framework/Exceptions.h"
#include "framework/GraphicControl.h"
#include "main/TForm1.h"

#include <oleacc.h>

#include <cwchar>
#include <functional>
#include <vector>

class ProgramWindows : public TProgramTest {
  protected:
    void SetUp() override {
        ShowMainWindow = false;
        TProgramTest::SetUp();
    }
};

static LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
static LONG ExStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

TEST_F(ProgramWindows, TheMainWindowHasItsFixedFrameSizeAndIcon) {
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(App->MainForm(), Form1);
    HWND window = Form1->Handle();
    EXPECT_EQ(Form1->Caption(), "Tolvo v1.0 by Olgierd Wr\xF3"
                                "blik");
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
    RECT made, bounds;
    GetWindowRect(Form1->Handle(), &made);
    Form1->Show();
    GetWindowRect(Form1->Handle(), &bounds);
    EXPECT_EQ(made.left, bounds.left) << "made where it first shows: the showing moves nothing";
    EXPECT_EQ(made.top, bounds.top);
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

namespace {
struct TPlace {
    const char* Name;
    const char* Parent;
    RECT Bounds; // left, top, width, height
    const char* Caption;
    const char* Face;
    int Height, Charset;
    TColor Color;
};

const TPlace MainWindowLayout[] = {
    {"Image1", "Form1", {257, 0, 75, 257}, "", "MS Sans Serif", -11, DEFAULT_CHARSET, clWindowText},
    {"RxSpeedButton2",
     "Form1",
     {261, 64, 65, 25},
     "Rozpakuj",
     "Tahoma",
     -11,
     ANSI_CHARSET,
     clWhite},
    {"RxSpeedButton1",
     "Form1",
     {261, 5, 65, 25},
     "Otw\xF3rz",
     "Tahoma",
     -11,
     ANSI_CHARSET,
     clWhite},
    {"RxSpeedButton3",
     "Form1",
     {261, 208, 65, 25},
     "Wyjd\x9F",
     "Tahoma",
     -11,
     EASTEUROPE_CHARSET,
     clWhite},
    {"RxSpeedButton4",
     "Form1",
     {261, 181, 65, 25},
     "O programie",
     "Tahoma",
     -11,
     ANSI_CHARSET,
     clWhite},
    {"GroupBox1",
     "Form1",
     {0, 0, 249, 41},
     "Archiwum",
     "MS Sans Serif",
     -11,
     DEFAULT_CHARSET,
     clWindowText},
    {"Label2",
     "GroupBox1",
     {9, 20, 3, 13},
     "",
     "MS Sans Serif",
     -11,
     DEFAULT_CHARSET,
     clWindowText},
    {"GroupBox2",
     "Form1",
     {0, 48, 249, 209},
     "Katalog docelowy",
     "MS Sans Serif",
     -11,
     DEFAULT_CHARSET,
     clWindowText},
    {"Edit1",
     "GroupBox2",
     {8, 20, 233, 19},
     "docelowy folder (format DOS - bez znak\xF3w spec.)",
     "Tahoma",
     -9,
     EASTEUROPE_CHARSET,
     clBlack},
    {"DirectoryListBox1",
     "GroupBox2",
     {8, 48, 233, 129},
     "",
     "Tahoma",
     -11,
     EASTEUROPE_CHARSET,
     clBlack},
    {"DriveComboBox1",
     "GroupBox2",
     {8, 182, 233, 19},
     nullptr,
     "Tahoma",
     -11,
     ANSI_CHARSET,
     clBlack},
};
} // namespace

TEST_F(ProgramWindows, EveryControlOfTheMainWindowStandsAtItsPlaceWithItsFontAndCaption) {
    const char* order[] = {
        "Image1",         "RxSpeedButton2",    "RxSpeedButton1", "RxSpeedButton3",
        "RxSpeedButton4", "GroupBox1",         "Label2",         "GroupBox2",
        "Edit1",          "DirectoryListBox1", "DriveComboBox1", "OpenDialog1"};
    ASSERT_EQ(Form1->Components().size(), std::size(order));
    for (size_t i = 0; i < std::size(order); i++)
        EXPECT_EQ(Form1->Components()[i]->Name(), order[i]) << "in the description's order";
    Form1->Handle(); // the combo box takes its closed height when its window is made
    for (const TPlace& place : MainWindowLayout) {
        SCOPED_TRACE(place.Name);
        auto* control = dynamic_cast<TControl*>(Form1->FindComponent(place.Name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Parent()->Name(), place.Parent);
        EXPECT_EQ(control->Left(), place.Bounds.left);
        EXPECT_EQ(control->Top(), place.Bounds.top);
        EXPECT_EQ(control->Width(), place.Bounds.right);
        EXPECT_EQ(control->Height(), place.Bounds.bottom);
        if (place.Caption) { // the drive selector's text is the drive it shows
            EXPECT_EQ(control->Caption(), place.Caption);
        }
        EXPECT_EQ(control->Font().Name(), place.Face);
        EXPECT_EQ(control->Font().Height(), place.Height);
        EXPECT_EQ(control->Font().Charset(), place.Charset);
        EXPECT_EQ(control->Font().Color(), place.Color);
    }
    for (TRxSpeedButton* button : {Form1->RxSpeedButton1, Form1->RxSpeedButton2,
                                   Form1->RxSpeedButton3, Form1->RxSpeedButton4}) {
        EXPECT_TRUE(button->Flat());
        EXPECT_TRUE(button->Transparent());
        EXPECT_FALSE(button->ParentShowHint);
    }
    EXPECT_EQ(Form1->Edit1->Color(), clWindow);
    EXPECT_EQ(Form1->DirectoryListBox1->ItemHeight(), 16);
    EXPECT_EQ(Form1->DirectoryListBox1->Color(), clWindow);
    EXPECT_EQ(Form1->DriveComboBox1->DirList(), Form1->DirectoryListBox1);
    EXPECT_EQ(Form1->DirectoryListBox1->LinkedSelector, Form1->DriveComboBox1);
    EXPECT_EQ(Form1->DriveComboBox1->TextCase(), tcLowerCase);
    EXPECT_EQ(Form1->OpenDialog1->Filter, "Archiwa ACE (*ace)|*.ace|Wszystkie pliki (*.*)|*.*");
    EXPECT_EQ(Form1->OpenDialog1->Options, OptionBit(ofNoLongNames) | OptionBit(ofOldStyleDialog));
    EXPECT_EQ(Form1->Image1->Picture()->Width(), 75);
    EXPECT_EQ(Form1->Image1->Picture()->Height(), 260);
}

TEST_F(ProgramWindows, TheFocusStartsInTheDestinationFieldAndTabFollowsTheTabOrder) {
    Form1->Show();
    PumpMessages();
    EXPECT_TRUE(Form1->Edit1->Focused());
    auto tab = [](bool back) {
        MSG key{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = back ? 0x80 : 0;
        SetKeyboardState(keys);
        EXPECT_TRUE(IsKeyMessageConsumed(key));
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    };
    tab(false);
    EXPECT_TRUE(Form1->DirectoryListBox1->Focused());
    tab(false);
    EXPECT_TRUE(Form1->DriveComboBox1->Focused());
    tab(false);
    EXPECT_TRUE(Form1->Edit1->Focused());
    tab(true);
    EXPECT_TRUE(Form1->DriveComboBox1->Focused());
}

TEST_F(ProgramWindows, TheSidePictureIsDrawnUnscaledWithTheButtonCaptionsOverIt) {
    TPainted painted(*Form1, 333, 257);
    const auto& bitmap = dynamic_cast<const TBitmap&>(*Form1->Image1->Picture());
    HDC source = bitmap.Canvas().Handle();
    for (POINT p : {POINT{0, 0}, POINT{74, 0}, POINT{0, 256}, POINT{74, 256}, POINT{37, 150}})
        EXPECT_EQ(painted.At(257 + p.x, p.y), GetPixel(source, p.x, p.y))
            << "picture pixel " << p.x << "," << p.y;
    // The captions are white; the picture behind the buttons has no white pixel.
    RECT open{261, 5, 326, 30};
    int whiteInPicture = 0;
    for (int y = open.top; y < open.bottom; y++)
        for (int x = open.left; x < open.right; x++)
            whiteInPicture += GetPixel(source, x - 257, y) == COLORREF(clWhite);
    EXPECT_EQ(whiteInPicture, 0);
    EXPECT_GT(painted.Count(open, COLORREF(clWhite)), 20) << "\"Otw\xF3rz\" drawn over the picture";
}

// At 120 DPI the window grows by the text-height ratio 16/13; the picture grows with it, so
// every button, "Wyjdź" at the foot included, keeps the picture behind its white caption.
TEST_F(ProgramWindows, ScaledUpTheSidePictureStillCoversItsWholeStrip) {
    Form1->ScaleBy(16, 13);
    RECT strip = Form1->Image1->BoundsRect();
    EXPECT_EQ(strip.right - strip.left, 92);
    EXPECT_EQ(strip.bottom - strip.top, 316);
    TPainted painted(*Form1, Form1->ClientWidth(), Form1->ClientHeight());
    EXPECT_EQ(painted.Count(strip, GetSysColor(COLOR_BTNFACE)), 0) << "no bare window colour";
    for (TControl* button : {Form1->RxSpeedButton1, Form1->RxSpeedButton2, Form1->RxSpeedButton3,
                             Form1->RxSpeedButton4}) {
        RECT area = button->BoundsRect(), inside;
        EXPECT_TRUE(IntersectRect(&inside, &area, &strip) && EqualRect(&inside, &area))
            << button->Caption();
        EXPECT_GT(painted.Count(area, COLORREF(clWhite)), 20) << button->Caption();
    }
}

TEST_F(ProgramWindows, TheArchiveLabelSizesItselfAndShowsAmpersandsAsMnemonics) {
    TLabel* label = Form1->Label2;
    label->SetCaption("C:\\A&&B\\X.ACE");
    int doubled = label->Width();
    label->ShowAccelChar = false;
    label->SetCaption("C:\\A&B\\X.ACE");
    EXPECT_EQ(label->Width(), doubled) << "\"&&\" shows one ampersand";
    label->ShowAccelChar = true;
    label->SetCaption("C:\\AB\\X.ACE");
    int plain = label->Width();
    label->SetCaption("C:\\&AB\\X.ACE");
    EXPECT_EQ(label->Width(), plain) << "the marker itself takes no room";
    EXPECT_EQ(label->Height(), 13);
    // The marked letter is underlined: the line under it is dark where the plain text has none.
    TPainted marked(*Form1->GroupBox1, 249, 41);
    label->SetCaption("C:\\AB\\X.ACE");
    TPainted unmarked(*Form1->GroupBox1, 249, 41);
    RECT underline{label->Left(), label->Top() + 11, label->Left() + plain, label->Top() + 13};
    EXPECT_GT(marked.Count(underline, RGB(0, 0, 0)), unmarked.Count(underline, RGB(0, 0, 0)));
}

TEST_F(ProgramWindows, TheArchiveLabelGrowsWithALongPath) {
    Form1->Label2->SetCaption("C:\\" + std::string(80, 'W') + "\\X.ACE");
    EXPECT_GT(Form1->Label2->Left() + Form1->Label2->Width(), Form1->GroupBox1->Width())
        << "the label grows with its text; the group's window cuts it at its edge";
    EXPECT_EQ(Form1->Label2->Parent(), Form1->GroupBox1);
}

static BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST_F(ProgramWindows, AChildAskedForItsWindowFirstGetsExactlyOne) {
    // The memo is the first to need a window: its parent's is made, and with it the memo's.
    HWND memo = Form3->Memo1->Handle();
    int children = 0;
    EnumChildWindows(Form3->Handle(), CountChild, LPARAM(&children));
    EXPECT_EQ(children, 1);
    EXPECT_EQ(GetParent(memo), Form3->Handle());
    EXPECT_EQ(TWinControl::FindControl(memo), Form3->Memo1);
}

TEST_F(ProgramWindows, ButtonsAndLabelsDescribeThemselvesToAssistiveTechnology) {
    TRxSpeedButton* unpack = Form1->RxSpeedButton2;
    EXPECT_EQ(unpack->AccessibleRole(), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(unpack->AccessibleName(), "Rozpakuj");
    EXPECT_EQ(unpack->AccessibleAction(), "Naci\x9Cnij");
    EXPECT_EQ(unpack->AccessibleState(), 0);
    unpack->SetEnabled(false);
    EXPECT_EQ(unpack->AccessibleState(), STATE_SYSTEM_UNAVAILABLE);
    unpack->SetEnabled(true);
    Form1->Label2->SetCaption("C:\\A&&B\\X.ACE");
    EXPECT_EQ(Form1->Label2->AccessibleRole(), ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(Form1->Label2->AccessibleName(), "C:\\A&B\\X.ACE") << "as it reads";
    EXPECT_EQ(Form1->Image1->AccessibleRole(), ROLE_SYSTEM_GRAPHIC);
    EXPECT_EQ(Form1->Image1->AccessibleName(), "");
    EXPECT_EQ(Form1->Edit1->AccessibleName(), "Katalog docelowy") << "named after its group";
    EXPECT_EQ(Form1->DriveComboBox1->AccessibleName(), "Katalog docelowy");
    EXPECT_EQ(Form1->GroupBox1->AccessibleName(), "Archiwum");
    EXPECT_EQ(Form3->Memo1->AccessibleName(), "") << "no group: the platform names it";
}

// The action comes back through the loop: it clicks a button of the window while the button and
// the window may act, and nothing else.
TEST_F(ProgramWindows, AnActionAskedForThroughAccessibilityClicksOnlyWhileTheButtonMayAct) {
    int clicks = 0, elsewhere = 0;
    Form1->RxSpeedButton2->OnClick = [&](TObject*) { clicks++; };
    Form3->RxSpeedButton1->OnClick = [&](TObject*) { elsewhere++; };
    Form1->Show();
    auto ask = [](TControl* control) {
        PostMessageA(Form1->Handle(), CM_ACCESSIBLEACTION, 0, LPARAM(control));
        PumpMessages();
    };
    ask(Form1->RxSpeedButton2);
    EXPECT_EQ(clicks, 1);
    Form1->RxSpeedButton2->SetEnabled(false);
    ask(Form1->RxSpeedButton2);
    Form1->RxSpeedButton2->SetEnabled(true);
    EnableWindow(Form1->Handle(), FALSE); // as a box locks it
    ask(Form1->RxSpeedButton2);
    EnableWindow(Form1->Handle(), TRUE);
    EXPECT_EQ(clicks, 1) << "neither a disabled button nor a locked window acts";
    ask(Form3->RxSpeedButton1);
    EXPECT_EQ(elsewhere, 0) << "a control of another window is not this window's";
}

namespace {
std::vector<std::pair<HWND, LONG>> GStateChanges; // window and child id of each state change
void CALLBACK NoteStateChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                              DWORD) {
    if (object == OBJID_CLIENT)
        GStateChanges.push_back({window, child});
}

// The state a client reads from the window's accessible object for the named control.
long AccessibleStateOf(HWND window, const wchar_t* name) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return -1;
    long count = 0, found = -1;
    object->get_accChildCount(&count);
    for (long id = 1; id <= count && found < 0; id++) {
        VARIANT child{}, state{};
        child.vt = VT_I4, child.lVal = id;
        BSTR text = nullptr;
        if (object->get_accName(child, &text) == S_OK && std::wcscmp(text, name) == 0 &&
            object->get_accState(child, &state) == S_OK)
            found = state.lVal;
        SysFreeString(text);
    }
    object->Release();
    return found;
}
} // namespace

// While a dialog or box locks the window (and while a window is hidden) its commands report
// themselves unavailable, and clients are told when that comes and goes.
TEST_F(ProgramWindows, CommandsReportThemselvesUnavailableWhileTheirActionWouldFail) {
    Form1->Show();
    PumpMessages();
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr,
                        NoteStateChange, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    auto changes = [](const std::function<void()>& action) {
        GStateChanges.clear();
        action();
        PumpMessages();
        return GStateChanges.size();
    };
    EXPECT_EQ(AccessibleStateOf(Form1->Handle(), L"Rozpakuj"), 0);
    EXPECT_EQ(changes([] { EnableWindow(Form1->Handle(), FALSE); }), 4u) << "the four commands";
    EXPECT_EQ(AccessibleStateOf(Form1->Handle(), L"Rozpakuj"), STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(changes([] { EnableWindow(Form1->Handle(), TRUE); }), 4u);
    EXPECT_EQ(AccessibleStateOf(Form1->Handle(), L"Rozpakuj"), 0);
    EXPECT_EQ(AccessibleStateOf(Form3->Handle(), L"OK"), STATE_SYSTEM_UNAVAILABLE) << "hidden";
    EXPECT_EQ(changes([] { Form3->Show(); }), 3u) << "the about window's three commands";
    EXPECT_EQ(AccessibleStateOf(Form3->Handle(), L"OK"), 0);
    Form3->Hide();
    UnhookWinEvent(hook);
}

namespace {
// A command whose name fails while the test says so.
class TFailingName : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;
    bool Fail = false;
    long AccessibleRole() const override { return ROLE_SYSTEM_PUSHBUTTON; }
    std::string AccessibleName() const override {
        if (Fail)
            throw Exception("no name");
        return "Nazwa";
    }
};
} // namespace

// A query runs inside the client's call: what it throws is answered with E_FAIL, never with an
// error box, and the next query answers again.
TEST_F(ProgramWindows, AQueryThatFailsAnswersEFailWithoutABox) {
    auto* control = new TFailingName(Form1);
    control->SetParent(Form1);
    IAccessible* object = nullptr;
    ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(
        Form1->Handle(), OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object)));
    long count = 0;
    object->get_accChildCount(&count);
    VARIANT child{};
    child.vt = VT_I4, child.lVal = count; // the newest control is listed last
    BSTR name = nullptr;
    HRESULT failed = S_OK;
    control->Fail = true;
    EXPECT_EQ(BoxTexts([&] { failed = object->get_accName(child, &name); }),
              std::vector<std::string>{});
    EXPECT_EQ(failed, E_FAIL);
    control->Fail = false;
    ASSERT_EQ(object->get_accName(child, &name), S_OK);
    EXPECT_STREQ(name, L"Nazwa");
    SysFreeString(name);
    object->Release();
    delete control;
}

TEST_F(ProgramWindows, AChangedSchemeRepaintsTheWindowAndEveryChild) {
    Form1->Show();
    PumpMessages();
    HWND list = Form1->DirectoryListBox1->Handle();
    RECT dirty;
    auto repainted = [&](WPARAM setting, UINT msg) {
        RedrawWindow(Form1->Handle(), nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
        SendMessageA(Form1->Handle(), msg, setting, 0);
        return GetUpdateRect(list, &dirty, FALSE) != FALSE;
    };
    EXPECT_TRUE(repainted(0, WM_SYSCOLORCHANGE));
    EXPECT_TRUE(repainted(SPI_SETHIGHCONTRAST, WM_SETTINGCHANGE));
    EXPECT_FALSE(repainted(SPI_SETWORKAREA, WM_SETTINGCHANGE)) << "another setting changes nothing";
}
