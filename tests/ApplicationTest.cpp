#include <gtest/gtest.h>

#include "TestSupport.h"

#include <atomic>
#include <cstdio>
#include <stdexcept>
#include <thread>

class ApplicationLoop : public TApplicationTest {};

static bool IsOwned(HWND window, HWND owner) { return GetWindow(window, GW_OWNER) == owner; }

TEST(ApplicationTitle, DefaultsToTheProgramsNameUntilItIsGiven) {
    EXPECT_EQ(DefaultTitle("C:\\Program Files\\TOLVO.EXE"), "Tolvo");
    EXPECT_EQ(DefaultTitle("C:\\a.b\\my.tool.exe"), "my");
    EXPECT_EQ(DefaultTitle("D:SETUP"), "Setup");
    TApplication application;
    EXPECT_EQ(application.Title(), "tolvo_tests");
    application.SetTitle("Tolvo");
    char caption[64] = "";
    GetWindowTextA(application.Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Tolvo");
}

TEST_F(ApplicationLoop, TheFirstFormIsTheMainWindowAndTheHiddenWindowOwnsThemAll) {
    auto* first = Add<TTestForm>();
    EXPECT_TRUE(first->HandleAllocated()) << "the main window's platform window exists at once";
    auto* second = Add<TTestForm>("TOPFORM");
    EXPECT_FALSE(second->HandleAllocated()) << "made when first needed";
    EXPECT_EQ(App->MainForm(), first);
    EXPECT_TRUE(IsOwned(first->Handle(), App->Handle()));
    EXPECT_TRUE(IsOwned(second->Handle(), App->Handle()));
    EXPECT_FALSE(GetWindowLongA(first->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(GetWindowLongA(second->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(ApplicationLoop, TheHiddenWindowIsVisibleExactlyWhileAFormIs) {
    auto* main = Add<TTestForm>();
    auto* about = Add<TTestForm>("TOPFORM");
    EXPECT_FALSE(IsWindowVisible(App->Handle()));
    main->Show();
    EXPECT_TRUE(IsWindowVisible(App->Handle()));
    about->Show();
    main->Hide();
    EXPECT_TRUE(IsWindowVisible(App->Handle()));
    about->Hide();
    EXPECT_FALSE(IsWindowVisible(App->Handle()));
    RECT bounds;
    GetWindowRect(App->Handle(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 0) << "never drawn";
}

TEST(ScreenCentre, HalvesTheFreeSpaceRoundingTowardZeroAndNeverGoesNegative) {
    EXPECT_EQ(CenteredPosition(339, 281, 1024, 768).x, 342);
    EXPECT_EQ(CenteredPosition(339, 281, 1024, 768).y, 243);
    EXPECT_EQ(CenteredPosition(1500, 1000, 1024, 768).x, 0);
    EXPECT_EQ(CenteredPosition(1500, 1000, 1024, 768).y, 0);
}

TEST_F(ApplicationLoop, IdleStepSendsMouseLeftAndEnteredToTheControlsUnderTheCursor) {
    auto* form = Add<TTestForm>();
    form->Show();
    TProbeControl* left = form->Probe("Left1");
    TProbeControl* right = form->Probe("Right1");
    SetCursorPos(left->ClientToScreen({5, 5}).x, left->ClientToScreen({5, 5}).y);
    RunIdleStep(*App);
    EXPECT_EQ(App->MouseControl(), left);
    EXPECT_EQ(left->Count(CM_MOUSEENTER), 1);
    POINT overRight = right->ClientToScreen({5, 5});
    SetCursorPos(overRight.x, overRight.y);
    RunIdleStep(*App);
    EXPECT_EQ(left->Count(CM_MOUSELEAVE), 1);
    EXPECT_EQ(right->Count(CM_MOUSEENTER), 1);
    RunIdleStep(*App);
    EXPECT_EQ(right->Count(CM_MOUSEENTER), 1) << "no change, no notice";
    right->SetEnabled(false);
    RunIdleStep(*App);
    EXPECT_EQ(App->MouseControl(), right) << "disabled controls are found too";
}

TEST_F(ApplicationLoop, IdleStepRespectsTheMouseCapture) {
    auto* form = Add<TTestForm>();
    form->Show();
    TProbeControl* left = form->Probe("Left1");
    TProbeControl* right = form->Probe("Right1");
    POINT overLeft = left->ClientToScreen({5, 5}), overRight = right->ClientToScreen({5, 5});
    SetCursorPos(overLeft.x, overLeft.y);
    RunIdleStep(*App);
    left->SetMouseCapture(true);
    SetCursorPos(overRight.x, overRight.y);
    RunIdleStep(*App);
    EXPECT_EQ(left->Count(CM_MOUSELEAVE), 1) << "the capturing control hears it left";
    EXPECT_EQ(right->Count(CM_MOUSEENTER), 0) << "others hear nothing while one holds the capture";
    SetCursorPos(overLeft.x, overLeft.y);
    RunIdleStep(*App);
    EXPECT_EQ(left->Count(CM_MOUSEENTER), 2);
    EXPECT_EQ(right->Count(CM_MOUSELEAVE), 0);
    left->SetMouseCapture(false);
}

TEST_F(ApplicationLoop, TheLoopWaitsWhenIdle) {
    Add<TTestForm>();
    PumpMessages();
    std::atomic<bool> posted = false;
    DWORD thread = GetCurrentThreadId();
    std::thread poster([&] {
        Sleep(200);
        posted = true;
        PostThreadMessageA(thread, WM_NULL, 0, 0);
    });
    App->HandleMessage();
    EXPECT_TRUE(posted) << "the idle step returned before any message arrived";
    poster.join();
}

namespace {
struct THookLog {
    std::vector<std::string> Calls;
    bool Consume = false;
    bool First(TMessage& message) {
        if (message.Msg == WM_USER + 7)
            Calls.push_back("first");
        return message.Msg == WM_USER + 7 && Consume;
    }
    bool Second(TMessage& message) {
        if (message.Msg == WM_USER + 7)
            Calls.push_back("second");
        return message.Msg == WM_USER + 7;
    }
};
} // namespace

TEST_F(ApplicationLoop, WindowHooksRunInOrderAndTheFirstTrueEndsProcessing) {
    THookLog log;
    auto first = MakeWindowHook<THookLog, &THookLog::First>(&log);
    auto second = MakeWindowHook<THookLog, &THookLog::Second>(&log);
    App->InstallWindowHook(first);
    App->InstallWindowHook(second);
    SendMessageA(App->Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(log.Calls, (std::vector<std::string>{"first", "second"}));
    log.Calls.clear();
    log.Consume = true;
    SendMessageA(App->Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(log.Calls, (std::vector<std::string>{"first"}));
    log.Calls.clear();
    App->RemoveWindowHook(first);
    App->RemoveWindowHook(first);
    SendMessageA(App->Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(log.Calls, (std::vector<std::string>{"second"}));
    App->RemoveWindowHook(second);
}

TEST_F(ApplicationLoop, ClosingTheMainWindowEndsTheLoopClosingAnotherHidesIt) {
    auto* main = Add<TTestForm>();
    auto* about = Add<TTestForm>("TOPFORM");
    App->StartupShowState = SW_SHOWNORMAL;
    about->Show();
    PostMessageA(about->Handle(), WM_CLOSE, 0, 0);
    PostMessageA(main->Handle(), WM_CLOSE, 0, 0);
    App->RunMessageLoop();
    EXPECT_TRUE(App->Terminated());
    EXPECT_FALSE(App->Running());
    EXPECT_FALSE(about->Visible());
    EXPECT_TRUE(IsWindow(about->Handle())) << "only hidden, never destroyed";
    EXPECT_TRUE(main->Visible()) << "closing the main window asks nothing and hides nothing";
}

TEST_F(ApplicationLoop, TheApplicationWindowsCloseGoesToTheMainWindow) {
    Add<TTestForm>();
    App->StartupShowState = SW_SHOWNORMAL;
    PostMessageA(App->Handle(), WM_CLOSE, 0, 0);
    App->RunMessageLoop();
    EXPECT_TRUE(App->Terminated());
}

TEST_F(ApplicationLoop, StartingMaximisedOrMinimised) {
    auto* main = Add<TTestForm>();
    App->StartupShowState = SW_SHOWMAXIMIZED;
    PostQuitMessage(0);
    App->RunMessageLoop();
    EXPECT_TRUE(IsZoomed(main->Handle()));
}

TEST_F(ApplicationLoop, StartingMinimisedLeavesOnlyTheTaskbarButtonUntilRestored) {
    auto* main = Add<TTestForm>();
    App->StartupShowState = SW_SHOWMINNOACTIVE;
    PostQuitMessage(0);
    App->RunMessageLoop();
    EXPECT_TRUE(App->Minimized());
    EXPECT_TRUE(IsIconic(App->Handle()));
    EXPECT_TRUE(IsWindowVisible(App->Handle()));
    EXPECT_FALSE(IsWindowVisible(main->Handle()));
    App->Restore();
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    EXPECT_FALSE(IsIconic(App->Handle()));
}

// The windows of this thread, top of the stacking order first.
static std::vector<HWND> StackingOrder(std::initializer_list<HWND> windows) {
    std::vector<HWND> order;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
        if (std::find(windows.begin(), windows.end(), window) != windows.end())
            order.push_back(window);
    return order;
}

static bool IsTopmost(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST; }

TEST_F(ApplicationLoop, MinimisingTheMainWindowMinimisesTheWholeApplication) {
    auto* main = Add<TTestForm>();
    auto* about = Add<TTestForm>("TOPFORM");
    main->Show();
    about->Show();
    SendMessageA(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(App->Handle()));
    EXPECT_TRUE(IsWindowVisible(App->Handle())) << "the taskbar button stays";
    EXPECT_FALSE(IsWindowVisible(main->Handle()));
    EXPECT_FALSE(IsWindowVisible(about->Handle()));
    EXPECT_FALSE(IsIconic(main->Handle())) << "the window itself is not minimised";
    // Restored from a taskbar that raised the hidden window first: it ends below its windows,
    // so that stepping the about window down for a dialog works.
    SetWindowPos(App->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(App->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    EXPECT_TRUE(IsWindowVisible(about->Handle()));
    EXPECT_TRUE(IsTopmost(about->Handle()));
    HWND windows[] = {about->Handle(), main->Handle(), App->Handle()};
    EXPECT_EQ(StackingOrder({windows[0], windows[1], windows[2]}),
              std::vector<HWND>(windows, windows + 3));
    EnableWindow(App->Handle(), FALSE);
    EXPECT_FALSE(IsTopmost(about->Handle()));
    EnableWindow(App->Handle(), TRUE);
    EXPECT_TRUE(IsTopmost(about->Handle()));
}

TEST_F(ApplicationLoop, DialogsStandAboveTheStayOnTopWindowWhichStaysAboveTheMainWindow) {
    auto* main = Add<TTestForm>();
    auto* about = Add<TTestForm>("TOPFORM");
    main->Show();
    about->Show();
    HWND mainWindow = main->Handle(), aboutWindow = about->Handle();
    // A modal dialog disables the hidden window: the about window steps down, behind the dialog.
    EnableWindow(App->Handle(), FALSE);
    EXPECT_FALSE(IsTopmost(aboutWindow));
    EXPECT_FALSE(IsWindowEnabled(mainWindow)) << "the application's own task-window lock";
    EXPECT_FALSE(IsWindowEnabled(aboutWindow));
    HWND dialog = CreateWindowExA(0, "STATIC", "dialog", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                  App->Handle(), nullptr, nullptr, nullptr);
    EXPECT_EQ(StackingOrder({dialog, aboutWindow, mainWindow}),
              (std::vector<HWND>{dialog, aboutWindow, mainWindow}));
    // A nested normalise (another application activated meanwhile) and its restore change
    // nothing until the outermost restore.
    SendMessageA(App->Handle(), WM_ACTIVATEAPP, FALSE, 0);
    SendMessageA(App->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(IsTopmost(aboutWindow));
    EnableWindow(App->Handle(), TRUE);
    DestroyWindow(dialog);
    EXPECT_TRUE(IsTopmost(aboutWindow));
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_TRUE(IsWindowEnabled(aboutWindow));
    EXPECT_EQ(StackingOrder({aboutWindow, mainWindow}),
              (std::vector<HWND>{aboutWindow, mainWindow}));
}

TEST_F(ApplicationLoop, AnotherApplicationCoversTheStayOnTopWindowUntilSwitchingBack) {
    auto* main = Add<TTestForm>();
    auto* about = Add<TTestForm>("TOPFORM");
    main->Show();
    about->Show();
    SendMessageA(App->Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(IsTopmost(about->Handle()));
    EXPECT_EQ(StackingOrder({about->Handle(), main->Handle()}),
              (std::vector<HWND>{about->Handle(), main->Handle()}));
    SendMessageA(App->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(IsTopmost(about->Handle()));
}

TEST_F(ApplicationLoop, AFailedConstructionLeavesNothingBehindAndEndsWithExitCode1) {
    TMessageBoxWatcher watcher;
    int exitCode = RunProgram([&] {
        App->SetTitle("Tolvo");
        Add<TTestForm>();
        Add<TTestForm>("BADCLASS");
    });
    EXPECT_EQ(exitCode, 1);
    EXPECT_FALSE(App->Running()) << "the loop never ran";
    ASSERT_EQ(App->Components().size(), 1u) << "the half-built window is gone";
    auto boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Application Error");
    EXPECT_EQ(boxes[0].Text, "Exception EReadError in module tolvo_tests.exe at 00000000.\n"
                             "Window description, line 2: class TNoSuchClass not found.");
    // TearDown checks that freeing the application frees the window that was built.
}

// Errors that leave the program's body anywhere else: the application object already freed
// (the windows gone before the box), and one the runtime cannot pass on at all, which it would
// otherwise answer by aborting.
TEST(LastChance, EveryErrorThatEscapesEndsInTheBoxWithExitCode1) {
    {
        TMessageBoxWatcher watcher;
        EXPECT_EQ(RunProgram([] {
                      TApplication application;
                      throw std::runtime_error("lost");
                  }),
                  1);
        EXPECT_EQ(Application, nullptr);
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].Text.substr(0, 10), "Exception ");
        EXPECT_EQ(RunProgram([] {}), 0);
    }
    auto escapes = [] { throw EInvalidOperation("Freed twice"); };
    EXPECT_EXIT(
        {
            TMessageBoxWatcher child(IDOK, [](HWND box) {
                char text[512] = "";
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                std::fprintf(stderr, "box: %s\n", text);
            });
            RunProgram([&]() noexcept { escapes(); });
        },
        testing::ExitedWithCode(1),
        "box: Exception EInvalidOperation in module tolvo_tests.exe at 00000000.\r?\n"
        "Freed twice.");
}

TEST_F(ApplicationLoop, ShutdownHidesEveryWindowBeforeDestroyingAboutThenMain) {
    auto* main = Add<TTestForm>();
    auto* about = Add<TTestForm>("TOPFORM");
    main->Show();
    about->Show();
    HWND mainWindow = main->Handle(), aboutWindow = about->Handle();
    std::vector<std::string> log;
    TTestForm::OnDestroy = [&](TTestForm* form) {
        log.push_back(form->Name() + (IsWindowVisible(mainWindow) || IsWindowVisible(aboutWindow)
                                          ? " with a window shown"
                                          : " with every window hidden"));
    };
    App->Shutdown();
    EXPECT_EQ(log, (std::vector<std::string>{"TopForm with every window hidden",
                                             "TestForm with every window hidden"}));
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_FALSE(IsWindow(aboutWindow));
    EXPECT_EQ(App->MainForm(), nullptr);
}
