#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "SimulatedMachine.h"
#include "about/TForm3.h"
#include "main/TForm1.h"

namespace {

class AboutWindow : public TProgramTest {
  protected:
    static POINT Place(TForm* form) {
        RECT bounds;
        GetWindowRect(form->Handle(), &bounds);
        return {bounds.left, bounds.top};
    }
};

struct TPlace {
    const char* Name;
    RECT Bounds; // left, top, width, height
    const char* Caption;
};

// Labels size themselves to their text: their width is checked apart.
const TPlace AboutLayout[] = {
    {"Image1", {0, 0, 57, 57}, ""},
    {"Label1", {64, 8, -1, 13}, "Tolvo"},
    {"Label2", {64, 24, -1, 13}, "v1.0"},
    {"Label3",
     {64, 40, -1, 13},
     "\xA9 2026 Olgierd Wr\xF3"
     "blik"},
    {"Bevel1", {0, 304, 377, 17}, ""},
    {"RxSpeedButton1", {8, 312, 105, 25}, "OK"},
    {"RxSpeedButton2", {128, 312, 105, 25}, "mail do autora"},
    {"RxSpeedButton3", {248, 312, 105, 25}, "strona WWW autora"},
    {"Memo1", {0, 64, 369, 233}, ""},
};

int TextWidth(TControl& control) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, control.Font().Handle());
    SIZE size{};
    std::string text = control.Caption();
    GetTextExtentPoint32A(dc, text.data(), int(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

} // namespace

TEST_F(AboutWindow, EveryControlStandsAtItsPlaceInTheDescriptionsOrder) {
    ASSERT_EQ(Form3->Components().size(), std::size(AboutLayout));
    for (size_t i = 0; i < std::size(AboutLayout); i++) {
        const TPlace& place = AboutLayout[i];
        SCOPED_TRACE(place.Name);
        EXPECT_EQ(Form3->Components()[i]->Name(), place.Name);
        auto* control = dynamic_cast<TControl*>(Form3->Components()[i]);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Parent(), Form3);
        EXPECT_EQ(control->Left(), place.Bounds.left);
        EXPECT_EQ(control->Top(), place.Bounds.top);
        EXPECT_EQ(control->Width(),
                  place.Bounds.right < 0 ? TextWidth(*control) : place.Bounds.right);
        EXPECT_EQ(control->Height(), place.Bounds.bottom);
        EXPECT_EQ(control->Caption(), place.Caption);
        if (control != Form3->Memo1) {
            EXPECT_EQ(control->Font().Name(), "MS Sans Serif");
            EXPECT_EQ(control->Font().Height(), -11);
            EXPECT_EQ(control->Font().Color(), clWindowText);
        }
    }
    EXPECT_LT(Form3->Label3->Left() + Form3->Label3->Width(), Form3->ClientWidth());
    for (TRxSpeedButton* button :
         {Form3->RxSpeedButton1, Form3->RxSpeedButton2, Form3->RxSpeedButton3}) {
        EXPECT_TRUE(button->Flat());
        EXPECT_FALSE(button->Transparent());
        EXPECT_FALSE(button->ParentShowHint);
        EXPECT_TRUE(button->OnClick);
    }
    EXPECT_TRUE(Form3->Image1->Center);
    EXPECT_FALSE(Form3->Image1->IncrementalDisplay);
    EXPECT_EQ(Form3->Bevel1->Shape(), bsTopLine);
    EXPECT_EQ(Form3->Bevel1->Style(), bsLowered);
}

TEST_F(AboutWindow, TheIconIsDrawnUnscaledAt12And12AndTheBevelIsAnEtchedTopLine) {
    TPainted painted(*Form3, 368, 345);
    // The same icon drawn alone on the window's colour.
    HDC screen = GetDC(nullptr);
    HDC alone = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(alone, bitmap);
    RECT square{0, 0, 32, 32};
    FillRect(alone, &square, GetSysColorBrush(COLOR_BTNFACE));
    Form3->Image1->Picture()->Draw(alone, 0, 0);
    int differing = 0, notFace = 0;
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            differing += painted.At(12 + x, 12 + y) != GetPixel(alone, x, y);
            notFace += GetPixel(alone, x, y) != GetSysColor(COLOR_BTNFACE);
        }
    SelectObject(alone, old);
    DeleteObject(bitmap);
    DeleteDC(alone);
    EXPECT_EQ(differing, 0);
    EXPECT_GT(notFace, 200) << "the icon shows";
    EXPECT_EQ(painted.Count({0, 0, 57, 12}, GetSysColor(COLOR_BTNFACE)), 57 * 12)
        << "nothing above it";
    EXPECT_EQ(painted.Count({0, 0, 12, 57}, GetSysColor(COLOR_BTNFACE)), 12 * 57)
        << "nothing left of it";
    // The bevel: a shadow row over a highlight row, across to the window's right edge.
    EXPECT_EQ(painted.Count({0, 304, 368, 305}, GetSysColor(COLOR_BTNSHADOW)), 368);
    EXPECT_EQ(painted.Count({0, 305, 368, 306}, GetSysColor(COLOR_BTNHIGHLIGHT)), 368);
    EXPECT_EQ(painted.Count({113, 303, 128, 304}, GetSysColor(COLOR_BTNFACE)), 15);
    EXPECT_EQ(painted.Count({113, 306, 128, 312}, GetSysColor(COLOR_BTNFACE)), 15 * 6)
        << "the rest of the bevel shows the window beneath";
}

TEST_F(AboutWindow, TheMemoIsAReadOnlyPaleYellowCourierFieldWithAVerticalScrollBar) {
    TMemo* memo = Form3->Memo1;
    EXPECT_EQ(memo->Color(), TColor(0x00B7FFFF));
    EXPECT_EQ(memo->Font().Name(), "Courier");
    EXPECT_EQ(memo->Font().Height(), -13);
    EXPECT_EQ(memo->Font().Charset(), EASTEUROPE_CHARSET);
    EXPECT_EQ(memo->Font().Color(), clBlack);
    LONG style = GetWindowLongA(memo->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & (WS_HSCROLL | ES_AUTOHSCROLL)) << "long lines wrap";
    EXPECT_GE(DWORD(SendMessageA(memo->Handle(), EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu)
        << "no limit of the program's own";
    LOGFONTA font{};
    GetObjectA(HFONT(SendMessageA(memo->Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfCharSet, EASTEUROPE_CHARSET);
    // A read-only field asks its parent for its colours as a static one does.
    HDC dc = GetDC(memo->Handle());
    SendMessageA(Form3->Handle(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(memo->Handle()));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 183));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    ReleaseDC(memo->Handle(), dc);
    // The only control that takes the focus.
    Form3->Show();
    PumpMessages();
    EXPECT_EQ(GetFocus(), memo->Handle());
}

TEST_F(AboutWindow, TheLinkButtonsHandTheAuthorsAddressesToTheShell) {
    TSimulatedMachine machine;
    Form3->Show();
    Form3->RxSpeedButton2->Click();
    Form3->RxSpeedButton3->Click();
    EXPECT_EQ(machine.OpenedUrls,
              (std::vector<std::string>{"mailto:autor@tolvo.example", "http://www.tolvo.example"}));
    EXPECT_EQ(machine.UrlOwners, (std::vector<HWND>{Form3->Handle(), Form3->Handle()}));
    EXPECT_TRUE(Form3->Visible());
}

// The shell's, the open dialog's and the network names' libraries are loaded on first need; a
// missing one leaves its command without effect instead of stopping the program from starting.
TEST(LibraryOnFirstNeed, GivesTheFunctionOrNullWhenTheLibraryOrTheFunctionIsMissing) {
    EXPECT_NE(LibraryFunction("shell32.dll", "ShellExecuteA"), nullptr);
    EXPECT_NE(LibraryFunction("mpr.dll", "WNetGetConnectionA"), nullptr);
    EXPECT_EQ(LibraryFunction("tolvo-missing.dll", "ShellExecuteA"), nullptr);
    EXPECT_EQ(LibraryFunction("comdlg32.dll", "GetOpenFileNameZ"), nullptr);
}

TEST_F(AboutWindow, OkAndTheCloseBoxOnlyHideItAndItReopensWhereItWasLeft) {
    Form3->Show();
    EXPECT_EQ(Place(Form3).x, 340);
    EXPECT_EQ(Place(Form3).y, 132);
    EXPECT_EQ(GetActiveWindow(), Form3->Handle());
    SetWindowPos(Form3->Handle(), nullptr, 100, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Form3->RxSpeedButton1->Click();
    EXPECT_FALSE(Form3->Visible());
    EXPECT_FALSE(IsWindowVisible(Form3->Handle()));
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), Form1->Handle()) << "the activation goes to the main window";
    Form3->Show();
    EXPECT_EQ(Place(Form3).x, 100);
    EXPECT_EQ(Place(Form3).y, 90);
    HWND window = Form3->Handle();
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(Form3->Visible());
    EXPECT_TRUE(IsWindow(window)) << "never destroyed before the end";
    EXPECT_EQ(Form3->Handle(), window);
    Form3->Show();
    EXPECT_EQ(Place(Form3).x, 100);
    EXPECT_EQ(Place(Form3).y, 90);
}

namespace {
// A string of the exe's version resource (Polish, Unicode), read as the shell reads it.
std::string VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    std::wstring path = std::wstring(L"\\StringFileInfo\\041504B0\\") + name;
    if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "(none)";
    return PlatformSpelling(std::wstring(value, length ? length - 1 : 0), CP_UTF8);
}
} // namespace

// The built exe says what it is where the platform shows it ("Open with", Task Manager, the
// file's properties): the project's version, the names the about window gives.
TEST_F(AboutWindow, TheExeCarriesItsVersionAndTheNamesOfTheAboutWindow) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe = self;
    exe = exe.substr(0, exe.find_last_of(L'\\')) + L"\\..\\src\\tolvo.exe";
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD(MAKELONG(0, 1))) << "1.0";
    EXPECT_EQ(fixed->dwFileVersionLS, 0u) << ".0.0";
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
    EXPECT_EQ(VersionString(info, L"FileVersion"), "1.0.0.0");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), "1.0.0.0");
    auto utf8 = [](const std::string& caption) {
        return PlatformSpelling(Widen(caption, 1250), CP_UTF8);
    };
    EXPECT_EQ(VersionString(info, L"ProductName"), utf8(Form3->Label1->Caption()));
    EXPECT_EQ("v" + VersionString(info, L"FileVersion").substr(0, 3),
              utf8(Form3->Label2->Caption()));
    std::string copyright = utf8(Form3->Label3->Caption());
    EXPECT_EQ(VersionString(info, L"LegalCopyright"), copyright);
    EXPECT_EQ(VersionString(info, L"CompanyName"), copyright.substr(copyright.find("Olgierd")));
    EXPECT_EQ(VersionString(info, L"FileDescription"),
              "Tolvo \xE2\x80\x93 rozpakowywanie archiw\xC3\xB3w ACE"); // UTF-8
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), "tolvo.exe");
}
