#include <gtest/gtest.h>

#include "TestSupport.h"
#include "about/TForm3.h"
#include "framework/Button.h"
#include "framework/Label.h"
#include "main/Program.h"
#include "main/TForm1.h"
#include "shell/MessageDialog.h"

#include <cinttypes>

TEST(MessageLayout, MetricsFromTheAverageCharacter) {
    TMessageLayout layout = LayoutMessage({6, 13}, {200, 13}, false, 1);
    EXPECT_EQ(layout.HorzMargin, 12);
    EXPECT_EQ(layout.VertMargin, 13);
    EXPECT_EQ(layout.HorzSpacing, 15);
    EXPECT_EQ(layout.VertSpacing, 16);
    EXPECT_EQ(layout.ButtonWidth, 75);
    EXPECT_EQ(layout.ButtonHeight, 23);
    EXPECT_EQ(layout.ButtonSpacing, 6);
    // The plain message: max(text width, 75) + 24 wide, text height + 23 + 16 + 26 high.
    EXPECT_EQ(layout.ClientWidth, 224);
    EXPECT_EQ(layout.ClientHeight, 13 + 23 + 16 + 26);
    EXPECT_EQ(LayoutMessage({6, 13}, {40, 13}, false, 1).ClientWidth, 75 + 24);
    EXPECT_EQ(layout.Label.left, 12);
    EXPECT_EQ(layout.Label.top, 13);
    // MulDiv rounds halves away from zero: 8 x 7 / 4 = 14, 10 x 7 / 4 = 17.5 -> 18.
    EXPECT_EQ(LayoutMessage({7, 15}, {10, 15}, false, 1).HorzSpacing, 18);
}

TEST(MessageLayout, AnIconMakesTheBlockAtLeast32HighAndMovesTheText) {
    TMessageLayout layout = LayoutMessage({6, 13}, {100, 13}, true, 1);
    EXPECT_EQ(layout.BlockHeight, 32);
    EXPECT_EQ(layout.BlockWidth, 100 + 32 + 15);
    EXPECT_EQ(layout.Label.left, 12 + 32 + 15);
}

TEST(MessageLayout, ButtonGroupWidths) {
    EXPECT_EQ(LayoutMessage({6, 13}, {10, 13}, false, 0).ButtonGroupWidth, 0);
    EXPECT_EQ(LayoutMessage({6, 13}, {10, 13}, false, 0).ClientWidth, 10 + 24);
    EXPECT_EQ(LayoutMessage({6, 13}, {10, 13}, false, 3).ButtonGroupWidth, 3 * 75 + 2 * 6);
}

namespace {
class MessageDialog : public TApplicationTest {
  protected:
    void SetUp() override {
        TApplicationTest::SetUp();
        App->SetTitle("Tolvo");
    }
    TButton* Button(TForm& form, const char* name) {
        return dynamic_cast<TButton*>(form.FindComponent(name));
    }
};
} // namespace

TEST_F(MessageDialog, ThePlainMessageHasTheTitleNoIconAndOneOkButton) {
    std::unique_ptr<TMessageForm> form(
        BuildMessageDialog("Wskazany katalog docelowy nie istnieje!", Custom, mbOK));
    EXPECT_EQ(form->Caption(), "Tolvo");
    EXPECT_EQ(form->BorderStyle(), bsDialog);
    EXPECT_EQ(form->FindComponent("Image"), nullptr);
    auto* label = dynamic_cast<TLabel*>(form->FindComponent("Message"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), "Wskazany katalog docelowy nie istnieje!");
    TButton* ok = Button(*form, "OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_TRUE(ok->Default);
    EXPECT_TRUE(ok->Cancel);
    EXPECT_EQ(ok->ModalResult, 1);
    // One line of text: the layout's numbers for the form's own font.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, form->Font().Handle());
    SIZE extent;
    GetTextExtentPointA(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &extent);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    TMessageLayout layout =
        LayoutMessage({extent.cx / 52, extent.cy}, {label->Width(), label->Height()}, false, 1);
    EXPECT_EQ(label->Height(), extent.cy) << "on one line";
    EXPECT_EQ(form->ClientWidth(), layout.ClientWidth);
    EXPECT_EQ(form->ClientHeight(), layout.ClientHeight);
    EXPECT_EQ(ok->Left(), (layout.ClientWidth - layout.ButtonWidth) / 2);
    EXPECT_EQ(ok->Top(), label->Height() + layout.VertMargin + layout.VertSpacing);
    EXPECT_EQ(form->Left(), GetSystemMetrics(SM_CXSCREEN) / 2 - form->Width() / 2);
    EXPECT_EQ(form->Top(), GetSystemMetrics(SM_CYSCREEN) / 2 - form->Height() / 2);
}

TEST_F(MessageDialog, TheMessageFontIsTheSystemsWholeRecord) {
    NONCLIENTMETRICSA saved{};
    saved.cbSize = sizeof saved;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &saved, 0));
    NONCLIENTMETRICSA changed = saved;
    LOGFONTA& wanted = changed.lfMessageFont;
    wanted.lfWeight = FW_SEMIBOLD;
    wanted.lfUnderline = TRUE;
    wanted.lfWidth = 9;
    wanted.lfQuality = NONANTIALIASED_QUALITY;
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof changed, &changed, 0));
    std::unique_ptr<TMessageForm> form(BuildMessageDialog("x", Custom, mbOK));
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof saved, &saved, 0);
    for (TComponent* control : {form->FindComponent("Message"), form->FindComponent("OK")}) {
        LOGFONTA made{};
        GetObjectA(dynamic_cast<TControl*>(control)->Font().Handle(), sizeof made, &made);
        EXPECT_EQ(std::make_tuple(std::string(made.lfFaceName), made.lfHeight, made.lfWidth,
                                  made.lfWeight, made.lfUnderline, made.lfQuality, made.lfCharSet),
                  std::make_tuple(std::string(wanted.lfFaceName), wanted.lfHeight, 9L,
                                  LONG(FW_SEMIBOLD), BYTE(TRUE), BYTE(NONANTIALIASED_QUALITY),
                                  wanted.lfCharSet))
            << control->Name();
    }
}

TEST_F(MessageDialog, IconKindsTheirCaptionsAndTheirIcon) {
    std::unique_ptr<TMessageForm> form(BuildMessageDialog("x", Warning, mbOK));
    EXPECT_EQ(form->Caption(), "Warning");
    auto* image = dynamic_cast<TControl*>(form->FindComponent("Image"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), 32);
    auto* label = dynamic_cast<TControl*>(form->FindComponent("Message"));
    EXPECT_EQ(label->Left(), image->Left() + 32 + MulDiv(10, image->Left() / 2, 4) + 0 * 1)
        << "the text starts 32 + horizontal spacing right of the margin";
}

TEST_F(MessageDialog, DefaultAndCancelButtons) {
    struct {
        unsigned Buttons;
        const char *Default, *Cancel;
    } cases[] = {
        {mbYes | mbNo, "Yes", "No"},
        {mbYes | mbNo | mbCancel, "Yes", "Cancel"},
        {mbOK | mbCancel, "OK", "Cancel"},
        {mbAbort | mbRetry | mbIgnore, "Retry", nullptr},
        {mbCancel | mbIgnore, nullptr, "Cancel"},
        {mbIgnore | mbAll, nullptr, nullptr},
    };
    for (auto& rule : cases) {
        std::unique_ptr<TMessageForm> form(BuildMessageDialog("?", Confirmation, rule.Buttons));
        std::string defaults, cancels;
        for (TComponent* component : form->Components())
            if (auto* button = dynamic_cast<TButton*>(component)) {
                if (button->Default)
                    defaults += button->Name();
                if (button->Cancel)
                    cancels += button->Name();
            }
        EXPECT_EQ(defaults, rule.Default ? rule.Default : "") << rule.Buttons;
        EXPECT_EQ(cancels, rule.Cancel ? rule.Cancel : "") << rule.Buttons;
    }
    std::unique_ptr<TMessageForm> all(BuildMessageDialog("?", Information, 0x7FF));
    int x = -1;
    for (const char* name : {"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All",
                             "NoToAll", "YesToAll", "Help"}) {
        TButton* button = Button(*all, name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_GT(button->Left(), x) << name << " stands right of the one before";
        x = button->Left();
    }
    EXPECT_EQ(Button(*all, "NoToAll")->Caption(), "N&o to All");
}

TEST_F(MessageDialog, ALongTextWrapsAtHalfTheScreenAndTabsExpand) {
    std::string words;
    for (int i = 0; i < 60; i++)
        words += "katalog ";
    std::unique_ptr<TMessageForm> form(BuildMessageDialog(words, Custom, mbOK));
    auto* label = dynamic_cast<TControl*>(form->FindComponent("Message"));
    EXPECT_LE(label->Width(), GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_GT(label->Height(), 2 * 13);
    std::unique_ptr<TMessageForm> plain(BuildMessageDialog("ab", Custom, mbOK));
    std::unique_ptr<TMessageForm> tabbed(BuildMessageDialog("a\tb", Custom, mbOK));
    EXPECT_GT(dynamic_cast<TControl*>(tabbed->FindComponent("Message"))->Width(),
              dynamic_cast<TControl*>(plain->FindComponent("Message"))->Width() + 20);
}

TEST_F(MessageDialog, EnterEscapeAndTheCloseBoxCloseThePlainMessage) {
    for (int answer : {IDOK, IDCANCEL, IDCLOSE}) {
        TMessageBoxWatcher watcher(answer);
        int result = RunMessageDialog("x", Custom, mbOK, 0, -1, -1);
        EXPECT_EQ(result, answer == IDCLOSE ? 2 : 1) << answer;
        EXPECT_EQ(watcher.Boxes().size(), 1u);
    }
}

TEST_F(MessageDialog, EnterAndEscapeWithShiftCtrlOrAltDoNothing) {
    // Only the close box, answered after the key, ends the dialog (with Cancel).
    BYTE keys[256];
    GetKeyboardState(keys);
    for (BYTE modifier : {VK_SHIFT, VK_CONTROL, VK_MENU})
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            BYTE held[256];
            std::copy(keys, keys + 256, held);
            held[modifier] = 0x80;
            SetKeyboardState(held);
            UINT message = modifier == VK_MENU ? WM_SYSKEYDOWN : WM_KEYDOWN;
            TMessageBoxWatcher watcher(IDCLOSE, [message, key](HWND box) {
                GUITHREADINFO focus{};
                focus.cbSize = sizeof focus;
                GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &focus);
                PostMessageA(focus.hwndFocus, message, key, 0);
            });
            EXPECT_EQ(RunMessageDialog("x", Custom, mbOK, 0, -1, -1), 2)
                << int(modifier) << " " << key;
        }
    SetKeyboardState(keys);
}

TEST_F(MessageDialog, AcceleratorLettersClickTheirButtons) {
    // A letter typed on a button, or with Alt anywhere, clicks the button it marks.
    for (UINT message : {UINT(WM_CHAR), UINT(WM_SYSCHAR)}) {
        TMessageBoxWatcher watcher(IDOK, [message](HWND box) {
            GUITHREADINFO focus{};
            focus.cbSize = sizeof focus;
            GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &focus);
            PostMessageA(focus.hwndFocus, message, 'n', 0);
        });
        EXPECT_EQ(RunMessageDialog("?", Confirmation, mbYes | mbNo, 0, -1, -1), 7) << message;
    }
}

TEST_F(MessageDialog, HelpKeepsTheDialogOpen) {
    std::unique_ptr<TMessageForm> form(BuildMessageDialog("x", Custom, mbOK | mbHelp));
    form->ModalResult = 0;
    Button(*form, "Help")->Click();
    EXPECT_EQ(form->ModalResult, 0);
    Button(*form, "OK")->Click();
    EXPECT_EQ(form->ModalResult, 1);
}

TEST_F(MessageDialog, AVisibleWindowCannotBeShownModally) {
    std::unique_ptr<TMessageForm> form(BuildMessageDialog("x", Custom, mbOK));
    form->Show();
    try {
        form->ShowModal();
        ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(error.Message, "Cannot make a visible window modal");
    }
}

TEST_F(MessageDialog, WhileUpTheProgramsWindowsAreLockedAndTheActiveOneComesBack) {
    CreateProgramWindows(*App);
    Form1->Show();
    Form3->Show();
    SetActiveWindow(Form1->Handle());
    for (bool errorBox : {false, true}) {
        bool locked = false;
        {
            TMessageBoxWatcher watcher(IDOK, [&](HWND) {
                locked = !IsWindowEnabled(Form1->Handle()) && !IsWindowEnabled(Form3->Handle());
            });
            if (errorBox) {
                try {
                    throw EInvalidOperation("x");
                } catch (...) {
                    App->ReportException(nullptr);
                }
            } else {
                ShowPlainMessage("Wskazany katalog docelowy nie istnieje!");
            }
            EXPECT_EQ(watcher.Boxes().size(), 1u);
        }
        EXPECT_TRUE(locked) << errorBox;
        EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
        EXPECT_TRUE(IsWindowEnabled(Form3->Handle()));
        EXPECT_EQ(GetActiveWindow(), Form1->Handle());
    }
}

TEST_F(MessageDialog, ErrorTextsAlwaysGetAFullStopAndTheSilentErrorShowsNothing) {
    auto shown = [&](const std::function<void()> raise) {
        TMessageBoxWatcher watcher;
        try {
            raise();
        } catch (...) {
            App->ReportException(nullptr);
        }
        auto boxes = watcher.Boxes();
        return boxes.empty() ? std::string("nothing") : boxes[0].Caption + "|" + boxes[0].Text;
    };
    EXPECT_EQ(shown([] { throw EInOutError(5); }), "Tolvo|File access denied.");
    EXPECT_EQ(shown([] { throw Exception("Ends here."); }), "Tolvo|Ends here..");
    EXPECT_EQ(shown([] { throw Exception(""); }), "Tolvo|.");
    EXPECT_EQ(shown([] { throw EAbort("quiet"); }), "nothing");
    App->OnException = [](TObject*, const Exception&) {};
    EXPECT_EQ(shown([] { throw Exception("handled"); }), "nothing") << "the exception event";
}

static void SomewhereInTheProgram() {}

TEST(LastChance, NamesTheClassModuleOffsetAndMessage) {
    EXPECT_EQ(LastChanceText("EReadError", "Bad", nullptr),
              "Exception EReadError in module tolvo_tests.exe at 00000000.\nBad.");
    EXPECT_EQ(LastChanceText("EReadError", "Bad.", nullptr),
              "Exception EReadError in module tolvo_tests.exe at 00000000.\nBad.");
    EXPECT_EQ(LastChanceText("Unknown", "", nullptr),
              "Exception Unknown in module tolvo_tests.exe at 00000000.\n");
    std::string inside = LastChanceText("X", "", reinterpret_cast<void*>(&SomewhereInTheProgram));
    char expected[64];
    std::snprintf(expected, sizeof expected, "at %08" PRIXPTR ".",
                  UINT_PTR(&SomewhereInTheProgram) - UINT_PTR(GetModuleHandleA(nullptr)));
    EXPECT_NE(inside.find(expected), std::string::npos) << inside;
    EXPECT_EQ(LastChanceText("X", std::string(2000, 'm'), nullptr).size(), 1023u);
}
