#pragma once
#include "framework/AppLink.h"
#include "framework/Form.h"
#include "framework/TaskWindowLock.h"

#include <functional>
#include <new>
#include <string>
#include <vector>

// A handler offered every message of the hidden application window before the window's own
// processing; it returns true when it dealt with the message. Two hooks are the same when they
// name the same method of the same receiver.
struct TWindowHook {
    void* Receiver = nullptr;
    bool (*Method)(void* receiver, TMessage& message) = nullptr;
    bool operator==(const TWindowHook&) const = default;
};

template <class T, bool (T::*Method)(TMessage&)> TWindowHook MakeWindowHook(T* receiver) {
    return {receiver, [](void* self, TMessage& message) {
                return (static_cast<T*>(self)->*Method)(message);
            }};
}

// The application object: the hidden window that owns every form and carries the title and
// the taskbar button, the forms themselves, the message loop and its idle step, and the
// report of errors that escape the processing of a message.
class TApplication : public TComponent, public TApplicationLink {
  public:
    TApplication();
    ~TApplication() override;
    const char* ClassName() const override { return "TApplication"; }

    HWND Handle() const { return FHandle; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& title);
    TIcon& Icon() { return FIcon; }
    TForm* MainForm() const { return FMainForm; }

    // Builds a form of class F owned by the application; `reference` names it from before its
    // construction runs until a failed construction empties it again. The first form built
    // becomes the main window and gets its platform window at once.
    template <class F> void AddForm(F*& reference);

    // Shows the main window and processes messages until the quit message arrives.
    void RunMessageLoop();
    // One step of the loop: one message processed, or the idle step when there was none.
    void HandleMessage() override;
    // Ends the loop once the quit message is taken from the queue.
    void RequestExit();
    bool Terminated() const override { return FTerminated; }
    bool Running() const { return FRunning; }

    void InstallWindowHook(TWindowHook hook) { FHooks.push_back(hook); }
    size_t WindowHookCount() const { return FHooks.size(); }
    void RemoveWindowHook(TWindowHook hook);

    void Minimize();
    void Restore();
    void NormalizeTopMosts();
    void RestoreTopMosts();

    // Shows the error that escaped the processing of a message of `sender`; call it while
    // handling the exception. EAbort shows nothing; OnException, when assigned, takes the
    // others; else they go to the error box.
    void ReportException(TObject* sender);
    std::function<void(TObject* sender, const Exception& error)> OnException;
    // The end-of-program clean-up: hides every window the application owns, then frees the
    // forms, newest first. Runs once.
    void Shutdown();

    // The show command the program was started with.
    int StartupShowState;
    TControl* MouseControl() const { return FMouseControl; }

    // TApplicationLink
    void HandleException(TObject* sender) override { ReportException(sender); }
    HWND OwnerWindow() override { return FHandle; }
    void FormVisibilityChanged(TForm* form) override;
    void CloseForm(TForm* form) override;
    void MinimizeForm(TForm* form) override;
    bool Minimized() const override { return FMinimized; }

  protected:
    void Notification(TComponent* component, TOperation operation) override;

  private:
    friend LRESULT CALLBACK ApplicationWndProc(HWND, UINT, WPARAM, LPARAM);
    void WndProc(TMessage& message);
    void OnEnable(bool enabled);
    HWND TopOwnedWindow() const;
    void LowerBelowMainWindow();
    void Idle();
    void TrackMouseControl();
    void FormAdded(TForm* form);
    std::vector<TForm*> Forms() const;

    HWND FHandle = nullptr;
    std::string FTitle;
    TIcon FIcon;
    TForm* FMainForm = nullptr;
    TControl* FMouseControl = nullptr;
    std::vector<TWindowHook> FHooks;
    bool FRunning = false, FTerminated = false, FMinimized = false, FShutDown = false;
    int FTopMostLevel = 0;
    std::vector<HWND> FTopMostList;
    TTaskWindowLock FOwnLock;
};

// The one application object of the process, from its construction to its destruction.
extern TApplication* Application;

template <class F> void TApplication::AddForm(F*& reference) {
    void* memory = ::operator new(sizeof(F));
    reference = static_cast<F*>(memory);
    try {
        new (memory) F(this);
    } catch (...) {
        reference = nullptr;
        ::operator delete(memory);
        throw;
    }
    FormAdded(reference);
}

// Runs the program: the application object's construction, the start-up sequence and the
// message loop. An error that escapes any of them, or that the runtime could not pass on at
// all, is shown in the last-chance box and ends the program with exit code 1; otherwise the
// exit code is 0.
int RunProgram(const std::function<void()>& program);

// The last-chance box for an error nothing else handled; call it while handling the error.
void ShowLastChanceError();
// Its text: the class, the module holding the address and the offset into it, the message.
std::string LastChanceText(const std::string& className, const std::string& message,
                           const void* address);

// The name a program gets before it is given a title: its file name without the folder, cut
// at the first dot, every letter after the first lower-cased.
std::string DefaultTitle(const std::string& modulePath);
