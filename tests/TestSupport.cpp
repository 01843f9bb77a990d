#include <gtest/gtest.h>

#include "TestSupport.h"

#include "FileCtrl/DirectoryListBox.h"
#include "framework/ClassRegistry.h"
#include "framework/Exceptions.h"

#include <algorithm>

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void RunIdleStep(TApplication& application) {
    PumpMessages();
    UINT_PTR timer = SetTimer(nullptr, 0, 1, nullptr);
    application.HandleMessage();
    KillTimer(nullptr, timer);
    PumpMessages();
}

TMessageBoxWatcher::TMessageBoxWatcher(int answer, std::function<void()> onBox)
    : FAnswer(answer), FOnBox(std::move(onBox)) {
    DWORD thread = GetCurrentThreadId();
    FThread = std::thread([this, thread] { Watch(thread); });
}

TMessageBoxWatcher::~TMessageBoxWatcher() {
    FStop = true;
    FThread.join();
}

std::vector<TMessageBoxWatcher::TBox> TMessageBoxWatcher::Boxes() const {
    while (FLock.test_and_set())
        ;
    auto boxes = FBoxes;
    FLock.clear();
    return boxes;
}

static BOOL CALLBACK CollectDialog(HWND window, LPARAM found) {
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
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
        char caption[256] = "", text[1024] = "";
        GetWindowTextA(box, caption, sizeof caption);
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        HWND owner = GetWindow(box, GW_OWNER);
        while (FLock.test_and_set())
            ;
        FBoxes.push_back({caption, text, owner && !IsWindowEnabled(owner)});
        FLock.clear();
        answered.push_back(box);
        if (FOnBox)
            FOnBox();
        PostMessageA(box, WM_COMMAND, FAnswer, 0);
    }
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
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    RegisterFileControls();
    RegisterComponentClass<TProbeControl>("TProbeControl", "TGraphicControl");
    RegisterComponentClass<TProbePanel>("TProbePanel", "TWinControl");
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
