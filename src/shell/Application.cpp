#include "Application.h"

#include "MessageDialog.h"
#include "framework/Exceptions.h"
#include "framework/Resources.h"
#include "framework/StringIds.h"
#include "framework/WinControl.h"

#include <algorithm>
#include <cinttypes>
#include <cstdlib>
#include <exception>
#include <typeinfo>

TApplication* Application = nullptr;

static const char* const ApplicationWindowClass = "TolvoTApplication";

LRESULT CALLBACK ApplicationWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!Application || Application->FHandle != window)
        return DefWindowProcA(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    RunGuarded(Application, [&] { Application->WndProc(message); });
    return message.Result;
}

static void RegisterApplicationClass() {
    WNDCLASSA windowClass{};
    if (GetClassInfoA(MainInstance(), ApplicationWindowClass, &windowClass))
        return;
    windowClass.lpfnWndProc = ApplicationWndProc;
    windowClass.hInstance = MainInstance();
    windowClass.hIcon = LoadIconA(MainInstance(), "MAINICON");
    windowClass.lpszClassName = ApplicationWindowClass;
    if (!RegisterClassA(&windowClass))
        RaiseLastOSError("RegisterClass");
}

std::string DefaultTitle(const std::string& modulePath) {
    std::string name = modulePath.substr(modulePath.find_last_of("\\/:") + 1);
    name = name.substr(0, name.find('.'));
    if (name.size() > 1)
        CharLowerBuffA(name.data() + 1, DWORD(name.size() - 1));
    return name;
}

static int StartupShowCommand() {
    STARTUPINFOA info{};
    info.cb = sizeof info;
    GetStartupInfoA(&info);
    return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWDEFAULT;
}

TApplication::TApplication() : TComponent(nullptr), StartupShowState(StartupShowCommand()) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    FTitle = DefaultTitle(path);
    try {
        FIcon.LoadFromResourceName("MAINICON");
    } catch (const EResNotFound&) {
        // A program without an icon resource gets the platform's default picture.
    }
    if (!Application)
        Application = this;
    RegisterApplicationClass();
    int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    FHandle = CreateWindowExA(0, ApplicationWindowClass, FTitle.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              x, y, 0, 0, nullptr, nullptr, MainInstance(), nullptr);
    if (!FHandle)
        RaiseLastOSError("CreateWindowEx");
    if (Application == this)
        SetAppLink(this);
}

TApplication::~TApplication() {
    Shutdown();
    FOwnLock.Release();
    DestroyWindow(FHandle);
    if (Application == this) {
        Application = nullptr;
        SetAppLink(nullptr);
    }
}

void TApplication::SetTitle(const std::string& title) {
    FTitle = title;
    SetWindowTextA(FHandle, title.c_str());
}

void TApplication::FormAdded(TForm* form) {
    if (!FMainForm) {
        FMainForm = form;
        form->Handle();
    }
}

std::vector<TForm*> TApplication::Forms() const {
    std::vector<TForm*> forms;
    for (TComponent* component : Components())
        if (auto form = dynamic_cast<TForm*>(component))
            forms.push_back(form);
    return forms;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FMainForm)
        FMainForm = nullptr;
    if (component == FMouseControl)
        FMouseControl = nullptr;
}

static void EndOfProgramCleanup() {
    if (Application)
        Application->Shutdown();
}

void TApplication::RunMessageLoop() {
    FRunning = true;
    static bool cleanupRegistered = false;
    if (!cleanupRegistered)
        cleanupRegistered = std::atexit(EndOfProgramCleanup) == 0;
    try {
        if (FMainForm) {
            if (StartupShowState == SW_SHOWMAXIMIZED) {
                FMainForm->SetWindowState(wsMaximized);
            } else if (StartupShowState == SW_SHOWMINNOACTIVE) {
                FMainForm->SetWindowState(wsMinimized);
                Minimize();
            }
            FMainForm->Show();
            while (!FTerminated)
                HandleMessage();
        }
    } catch (...) {
        FRunning = false;
        throw;
    }
    FRunning = false;
}

// A window holding wide text gets its messages in wide text: taken through the 8-bit functions,
// a typed character the code page cannot spell would come as a "?" or a look-alike. So the next
// message is looked at first, then taken in the form its window needs.
void TApplication::HandleMessage() {
    try {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            Idle();
            return;
        }
        bool wide = msg.hwnd && IsWindowUnicode(msg.hwnd);
        // Gone meanwhile (taken by what a sent message did): the next step looks again.
        if (!(wide ? PeekMessageW : PeekMessageA)(&msg, msg.hwnd, msg.message, msg.message,
                                                  PM_REMOVE))
            return;
        if (msg.message == WM_QUIT) {
            FTerminated = true;
        } else if (!IsKeyMessageConsumed(msg)) {
            TranslateMessage(&msg);
            (wide ? DispatchMessageW : DispatchMessageA)(&msg);
        }
    } catch (...) {
        ReportException(this);
    }
}

void TApplication::Idle() {
    TrackMouseControl();
    WaitMessage();
}

// The control under the mouse cursor, windowless ones included.
static TControl* ControlAtCursor() {
    POINT point;
    return GetCursorPos(&point) ? ControlAtScreenPos(point) : nullptr;
}

void TApplication::TrackMouseControl() {
    TControl* current = ControlAtCursor();
    if (current == FMouseControl)
        return;
    TControl* capture = CaptureControl();
    if (FMouseControl) {
        RemoveFreeNotification(FMouseControl);
        if (!capture || capture == FMouseControl)
            FMouseControl->Perform(CM_MOUSELEAVE);
    }
    FMouseControl = current;
    if (current) {
        FreeNotification(current);
        if (!capture || capture == current)
            current->Perform(CM_MOUSEENTER);
    }
}

void TApplication::RequestExit() { PostQuitMessage(0); }

void TApplication::RemoveWindowHook(TWindowHook hook) {
    auto found = std::find(FHooks.begin(), FHooks.end(), hook);
    if (found != FHooks.end())
        FHooks.erase(found);
}

void TApplication::WndProc(TMessage& message) {
    size_t count = FHooks.size();
    for (size_t i = 0; i < count && i < FHooks.size(); i++)
        if (FHooks[i].Method(FHooks[i].Receiver, message))
            return;
    switch (message.Msg) {
    case WM_CLOSE:
        if (FMainForm)
            FMainForm->Close();
        return;
    case WM_SYSCOMMAND:
        switch (message.WParam & SystemCommandMask) {
        case SC_MINIMIZE:
            Minimize();
            return;
        case SC_RESTORE:
            Restore();
            return;
        }
        break;
    case WM_SETFOCUS:
        // Hiding the active program window activates its owner, this hidden window. Once that
        // activation is over, it goes on to the topmost program window that can take it.
        PostMessageA(FHandle, CM_ENTER, 0, 0);
        break;
    case CM_ENTER:
        if (!IsIconic(FHandle) && GetFocus() == FHandle)
            if (HWND window = TopOwnedWindow())
                SetActiveWindow(window);
        return;
    case WM_ACTIVATEAPP:
        if (message.WParam)
            RestoreTopMosts();
        else
            NormalizeTopMosts();
        break;
    case WM_ENABLE:
        OnEnable(message.WParam != 0);
        break;
    case WM_ENDSESSION:
        if (message.WParam) {
            Shutdown();
            std::exit(0);
        }
        break;
    }
    message.Result = DefWindowProcA(FHandle, message.Msg, message.WParam, message.LParam);
}

// The visible, enabled window owned by the hidden window that lies highest in the stacking order.
HWND TApplication::TopOwnedWindow() const {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
        if (GetWindow(window, GW_OWNER) == FHandle && IsWindowVisible(window) &&
            IsWindowEnabled(window))
            return window;
    return nullptr;
}

// While a modal dialog or message box keeps the hidden window disabled, the other windows
// take no input and the stay-on-top windows step back behind the dialog.
void TApplication::OnEnable(bool enabled) {
    if (enabled) {
        RestoreTopMosts();
        FOwnLock.Release();
    } else {
        if (!FOwnLock.Held())
            FOwnLock.Apply(FHandle);
        NormalizeTopMosts();
    }
}

void TApplication::FormVisibilityChanged(TForm*) {
    auto forms = Forms();
    bool anyVisible =
        std::any_of(forms.begin(), forms.end(), [](TForm* f) { return f->Visible(); });
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 (anyVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOACTIVATE | SWP_NOMOVE |
                     SWP_NOSIZE | SWP_NOZORDER);
}

void TApplication::CloseForm(TForm* form) {
    if (form == FMainForm)
        RequestExit();
    else
        form->Hide();
}

void TApplication::MinimizeForm(TForm* form) {
    if (form == FMainForm)
        Minimize();
    else
        ShowWindow(form->Handle(), SW_MINIMIZE);
}

void TApplication::Minimize() {
    if (FMinimized)
        return;
    NormalizeTopMosts();
    FMinimized = true;
    for (TForm* form : Forms())
        if (form->HandleAllocated())
            ShowWindow(form->Handle(), SW_HIDE);
    ShowWindow(FHandle, SW_MINIMIZE);
}

void TApplication::Restore() {
    if (!FMinimized)
        return;
    FMinimized = false;
    ShowWindow(FHandle, SW_RESTORE);
    for (TForm* form : Forms()) {
        if (!form->Visible())
            continue;
        if (form->WindowState() == wsMinimized)
            form->SetWindowState(wsNormal);
        ShowWindow(form->Handle(),
                   form->WindowState() == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNA);
    }
    if (FMainForm && FMainForm->Visible())
        SetActiveWindow(FMainForm->Handle());
    LowerBelowMainWindow();
    RestoreTopMosts();
}

// The platform keeps an owned window above its owner: a stay-on-top window that lies directly
// above the hidden window cannot step down behind it or the main window. A desktop's taskbar
// leaves the hidden window above the main window when it restores the program, so restoring and
// stepping the stay-on-top windows down first put it back below the main window.
void TApplication::LowerBelowMainWindow() {
    if (FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->Handle()))
        SetWindowPos(FHandle, FMainForm->Handle(), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

static bool IsTopMost(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST; }

void TApplication::NormalizeTopMosts() {
    if (FTopMostLevel++ > 0)
        return;
    LowerBelowMainWindow();
    HWND mainWindow = FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
    HWND ordinary = FHandle;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetWindow(window, GW_OWNER) != FHandle)
            continue;
        bool topmost = IsTopMost(window);
        if (!topmost || window == mainWindow) {
            ordinary = window;
            break;
        }
        FTopMostList.push_back(window);
    }
    if (FTopMostList.empty())
        return;
    HWND above = GetWindow(ordinary, GW_HWNDPREV);
    if (!above || IsTopMost(above))
        above = HWND_NOTOPMOST;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    for (auto it = FTopMostList.rbegin(); it != FTopMostList.rend(); ++it) {
        SetWindowPos(*it, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
        if (above != HWND_NOTOPMOST)
            SetWindowPos(*it, above, 0, 0, 0, 0, flags);
    }
    // The platform takes some of these moves as no move at all (one relative to the window's
    // own owner): a window still stay-on-top goes below the next window that is not.
    for (HWND window : FTopMostList) {
        HWND next = window;
        while (IsTopMost(window) && (next = GetWindow(next, GW_HWNDNEXT)))
            if (!IsTopMost(next))
                SetWindowPos(window, next, 0, 0, 0, 0, flags);
    }
}

void TApplication::RestoreTopMosts() {
    if (FTopMostLevel == 0 || --FTopMostLevel > 0)
        return;
    for (auto it = FTopMostList.rbegin(); it != FTopMostList.rend(); ++it)
        if (IsWindow(*it))
            SetWindowPos(*it, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FTopMostList.clear();
}

void TApplication::ReportException(TObject* sender) {
    if (HWND capture = GetCapture())
        SendMessageA(capture, WM_CANCELMODE, 0, 0);
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const Exception& error) {
        if (OnException)
            OnException(sender, error);
        else
            ShowErrorBox(error);
    } catch (...) {
        ShowLastChanceError();
    }
}

static BOOL CALLBACK HideOwnedWindow(HWND window, LPARAM owner) {
    if (GetWindow(window, GW_OWNER) == HWND(owner))
        ShowWindow(window, SW_HIDE);
    return TRUE;
}

void TApplication::Shutdown() {
    if (FShutDown)
        return;
    FShutDown = true;
    EnumThreadWindows(GetCurrentThreadId(), HideOwnedWindow, LPARAM(FHandle));
    BeginDestroy();
    DestroyComponents();
}

// Where the code starts in the program's own image, past its headers: an address outside every
// module is told as an offset from there.
constexpr UINT_PTR CodeSectionOffset = 0x1000;

std::string LastChanceText(const std::string& className, const std::string& message,
                           const void* address) {
    // The module holding the address and the offset into it; without an address the program's
    // own file.
    char module[MAX_PATH] = "";
    UINT_PTR offset = 0;
    MEMORY_BASIC_INFORMATION memory{};
    if (address && VirtualQuery(address, &memory, sizeof memory) && memory.State == MEM_COMMIT &&
        GetModuleFileNameA(HMODULE(memory.AllocationBase), module, sizeof module)) {
        offset = UINT_PTR(address) - UINT_PTR(memory.AllocationBase);
    } else {
        GetModuleFileNameA(nullptr, module, sizeof module);
        offset = address ? UINT_PTR(address) - CodeSectionOffset : 0;
    }
    std::string name = module;
    name = name.substr(name.find_last_of('\\') + 1);
    std::string format = LoadStr(SExceptionLocation);
    if (size_t pointer = format.find("%p"); pointer != std::string::npos)
        format.replace(pointer, 2, "%08" PRIXPTR);
    bool dot = !message.empty() && message.back() != '.';
    std::string text = Format(format.c_str(), className.c_str(), name.c_str(), offset,
                              message.c_str(), dot ? "." : "");
    return text.substr(0, 1023);
}

void ShowLastChanceError() {
    std::string text = LastChanceText("Unknown", "", nullptr);
    if (std::current_exception()) {
        try {
            throw;
        } catch (const Exception& error) {
            text = LastChanceText(error.ClassName(), error.Message, nullptr);
        } catch (const std::exception& error) {
            text = LastChanceText(typeid(error).name(), "", nullptr);
        } catch (...) {
        }
    }
    MessageBoxA(nullptr, text.c_str(), LoadStr(SApplicationError).c_str(),
                MB_ICONSTOP | MB_TASKMODAL);
}

// Where the runtime would abort (an error leaving a destructor or an end-of-program clean-up):
// the last-chance box, and the program ends as after any other error nothing caught.
[[noreturn]] static void LastChanceTermination() {
    ShowLastChanceError();
    ExitProcess(1);
}

int RunProgram(const std::function<void()>& program) {
    std::set_terminate(LastChanceTermination);
    try {
        program();
    } catch (...) {
        ShowLastChanceError();
        return 1;
    }
    return 0;
}
