#include <gtest/gtest.h>

#include "TestSupport.h"

#include "FileCtrl/DirectoryListBox.h"
#include "RXCtrls/RxSpeedButton.h"
#include "framework/ClassRegistry.h"
#include "framework/Exceptions.h"

#include <algorithm>

static void FailOnStaleFace(const TRxSpeedButton& button) {
    ADD_FAILURE() << "the speed button " << button.Name() << " \"" << button.Caption()
                  << "\" showed a kept face that differs from the one its inputs compose now";
}

// In every test, each kept face a speed button copies is checked against one composed afresh.
[[maybe_unused]] static const bool StaleFacesFail = (OnStaleFace = FailOnStaleFace, true);

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void ClickWindowless(TControl* control) {
    control->Perform(CM_MOUSEENTER);
    LPARAM middle =
        MAKELPARAM(control->Left() + control->Width() / 2, control->Top() + control->Height() / 2);
    SendMessageA(control->Parent()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(control->Parent()->Handle(), WM_LBUTTONUP, 0, middle);
}

void RunIdleStep(TApplication& application) {
    PumpMessages();
    UINT_PTR timer = SetTimer(nullptr, 0, 1, nullptr);
    application.HandleMessage();
    KillTimer(nullptr, timer);
    PumpMessages();
}

static std::string BoxText(HWND box);

static LRESULT CALLBACK RunOnOwnThread(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_APP)
        return DefWindowProcA(window, msg, wParam, lParam);
    (*reinterpret_cast<std::function<void()>*>(wParam))();
    return 0;
}

static HWND MakeRelayWindow() {
    static const ATOM relayClass = [] {
        WNDCLASSA relay{};
        relay.lpfnWndProc = RunOnOwnThread;
        relay.hInstance = GetModuleHandleA(nullptr);
        relay.lpszClassName = "TolvoTestRelay";
        return RegisterClassA(&relay);
    }();
    return CreateWindowExA(0, MAKEINTATOM(relayClass), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TMessageBoxWatcher::TMessageBoxWatcher(int answer, std::function<void(HWND)> onBox)
    : FAnswer(answer), FOnBox(std::move(onBox)), FRelay(MakeRelayWindow()) {
    DWORD thread = GetCurrentThreadId();
    FThread = std::thread([this, thread] {
        Watch(thread);
        FDone = true;
    });
}

// The watcher may be waiting for this thread to read a box's text: keep answering until it ends.
TMessageBoxWatcher::~TMessageBoxWatcher() {
    FStop = true;
    while (!FDone) {
        MSG msg;
        PeekMessageA(&msg, FRelay, 0, 0, PM_NOREMOVE);
        Sleep(1);
    }
    FThread.join();
    DestroyWindow(FRelay);
}

std::string TMessageBoxWatcher::TextOnTestThread(HWND box) {
    std::string text;
    std::function<void()> read = [&] { text = BoxText(box); };
    SendMessageA(FRelay, WM_APP, WPARAM(&read), 0);
    return text;
}

std::vector<TMessageBoxWatcher::TBox> TMessageBoxWatcher::Boxes() const {
    while (FLock.test_and_set())
        ;
    auto boxes = FBoxes;
    FLock.clear();
    return boxes;
}

TPainted::TPainted(TWinControl& window, int width, int height) {
    HDC screen = GetDC(nullptr);
    FDC = CreateCompatibleDC(screen);
    FBitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    FOld = SelectObject(FDC, FBitmap);
    SendMessageA(window.Handle(), WM_ERASEBKGND, WPARAM(FDC), 0);
    SendMessageA(window.Handle(), WM_PAINT, WPARAM(FDC), 0);
}

TPainted::~TPainted() {
    SelectObject(FDC, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
}

int TPainted::Count(RECT area, COLORREF color) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            count += At(x, y) == color;
    return count;
}

static std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The platform's dialog boxes and the program's own message dialogs.
static BOOL CALLBACK CollectDialog(HWND window, LPARAM found) {
    std::string name = ClassOf(window);
    if ((name == "#32770" || name == "TolvoTMessageForm") && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// The text a box shows: the platform's in its static item, the program's in its label.
static std::string BoxText(HWND box) {
    char text[1024] = "";
    if (ClassOf(box) == "#32770") {
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        return text;
    }
    auto* form = dynamic_cast<TForm*>(TWinControl::FindControl(box));
    auto* label = form ? dynamic_cast<TControl*>(form->FindComponent("Message")) : nullptr;
    return label ? label->Caption() : "";
}

// Answers each box once; a box stays open while another one it led to is up.
void TMessageBoxWatcher::Watch(DWORD thread) {
    std::vector<HWND> answered;
    while (!FStop) {
        std::vector<HWND> boxes;
        EnumThreadWindows(thread, CollectDialog, LPARAM(&boxes));
        std::erase_if(answered, [](HWND box) { return !IsWindow(box); });
        auto fresh = std::find_if(boxes.begin(), boxes.end(), [&](HWND box) {
            return std::find(answered.begin(), answered.end(), box) == answered.end();
        });
        if (fresh == boxes.end()) {
            Sleep(10);
            continue;
        }
        HWND box = *fresh;
        char caption[256] = "";
        GetWindowTextA(box, caption, sizeof caption);
        std::string text = TextOnTestThread(box);
        HWND owner = GetWindow(box, GW_OWNER);
        while (FLock.test_and_set())
            ;
        RECT bounds;
        GetWindowRect(box, &bounds);
        FBoxes.push_back({caption, text, owner && !IsWindowEnabled(owner), bounds});
        FLock.clear();
        answered.push_back(box);
        if (FOnBox)
            FOnBox(box);
        if (FAnswer == IDCLOSE) {
            PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else if (ClassOf(box) == "#32770") {
            PostMessageA(box, WM_COMMAND, FAnswer, 0);
        } else {
            // The program's dialog is answered from the keyboard: Enter for OK, else Escape.
            GUITHREADINFO focus{};
            focus.cbSize = sizeof focus;
            GetGUIThreadInfo(thread, &focus);
            PostMessageA(focus.hwndFocus ? focus.hwndFocus : box, WM_KEYDOWN,
                         FAnswer == IDOK ? VK_RETURN : VK_ESCAPE, 0);
        }
    }
}

std::unique_ptr<TBitmap> Strip(const std::vector<TColor>& colors, int cellWidth, int height) {
    auto strip = std::make_unique<TBitmap>();
    strip->SetSize(cellWidth * int(colors.size()), height);
    TCanvas& canvas = strip->Canvas();
    for (size_t i = 0; i < colors.size(); ++i) {
        int left = int(i) * cellWidth;
        canvas.BrushColor = colors[i];
        canvas.FillRect({left, 0, left + cellWidth, height - 1});
    }
    canvas.BrushColor = clFuchsia;
    canvas.FillRect({0, height - 1, strip->Width(), height});
    return strip;
}

TProbeControl::TProbeControl(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents;
}

void TProbeControl::WndProc(TMessage& message) {
    Received.push_back(message.Msg);
    TGraphicControl::WndProc(message);
}

int TProbeControl::Count(UINT msg) const {
    return int(std::count(Received.begin(), Received.end(), msg));
}

void TProbeControl::Paint() {
    Canvas().BrushColor = PaintColor;
    Canvas().FillRect(ClientRect());
}

TProbePanel::TProbePanel(TComponent* owner) : TWinControl(owner) { TabStop = true; }

TTestForm::TTestForm(TComponent* owner) : TForm(owner) {
    RegisterTestClasses();
    RegisterHandler("ProbeClick", [this](TObject*) {
        Clicks++;
        if (ThrowOnClick)
            throw EInvalidOperation("The probe refused the click");
    });
    RegisterHandler("ListChange", [this](TObject*) { ListChanges++; });
    ReadDescription(NextDescription);
}

TTestForm::~TTestForm() {
    if (OnDestroy)
        OnDestroy(this);
}

TProbeControl* TTestForm::Probe(const std::string& name) const {
    return dynamic_cast<TProbeControl*>(FindComponent(name));
}

void RegisterTestClasses() {
    RegisterOnce([] {
        RegisterFileControls();
        RegisterComponentClass<TProbeControl>("TProbeControl", "TGraphicControl");
        RegisterComponentClass<TProbePanel>("TProbePanel", "TWinControl");
    });
}

void TApplicationTest::SetUp() {
    PumpMessages();
    LiveBefore = TObject::LiveObjects();
    App = new TApplication();
}

void TApplicationTest::TearDown() {
    TTestForm::OnDestroy = nullptr;
    delete App;
    PumpMessages();
    EXPECT_EQ(TObject::LiveObjects(), LiveBefore) << "objects left alive";
}

std::vector<std::string> BoxTexts(const std::function<void()>& action) {
    TMessageBoxWatcher watcher;
    action();
    std::vector<std::string> texts;
    for (const TMessageBoxWatcher::TBox& box : watcher.Boxes())
        texts.push_back(box.Text);
    return texts;
}
