#pragma once
#include <windows.h>

class TObject;
class TForm;

// What the framework needs of the application object above it. The application installs
// itself here; the framework never includes the application's headers.
class TApplicationLink {
  public:
    // An exception escaped the processing of a message of `sender`; called inside the catch.
    virtual void HandleException(TObject* sender) = 0;
    // The hidden window that owns every form.
    virtual HWND OwnerWindow() = 0;
    // A form was shown or hidden.
    virtual void FormVisibilityChanged(TForm* form) = 0;
    // The user asked to close a form (close box, Alt+F4).
    virtual void CloseForm(TForm* form) = 0;
    // The user asked to minimise a form.
    virtual void MinimizeForm(TForm* form) = 0;
    // True while the whole application is minimised: forms are then kept hidden.
    virtual bool Minimized() const = 0;
    // One step of the application's message loop, for a modal form's own loop.
    virtual void HandleMessage() = 0;
    virtual bool Terminated() const = 0;

  protected:
    ~TApplicationLink() = default;
};

TApplicationLink* AppLink();
void SetAppLink(TApplicationLink* link);

// Runs the work of a function the platform calls (a window procedure, a dialog hook, an
// enumeration callback): no exception may cross the platform's frames. Whatever escapes goes to
// the application's exception report, and the callback answers what the work had set by then.
template <class TWork> void RunGuarded(TObject* sender, TWork&& work) noexcept {
    try {
        work();
    } catch (...) {
        if (TApplicationLink* link = AppLink())
            link->HandleException(sender);
    }
}
