#pragma once
#include "Control.h"

#include <vector>

// What a windowed control asks the platform for when its window is made.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::string WinClassName;        // the framework's class, registered on first use
    const char* BaseClass = nullptr; // a standard control class it stands on, or none
    // The window holds its text as the platform's wide text, so that what is typed or set there
    // keeps the characters the code page cannot spell. Its messages then come as wide ones.
    bool WideText = false;
};

// A control with a window of its own, made when first needed. Every message of that window
// goes to WndProc inside the error guard. It paints its windowless children in child order and
// hands them the mouse input that falls on them.
class TWinControl : public TControl {
  public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    const char* ClassName() const override { return "TWinControl"; }

    HWND Handle() const;
    bool HandleAllocated() const { return FHandle != nullptr; }
    void DestroyHandle();
    // Makes the window anew, when it exists, so that changed creation settings take effect.
    void RecreateWnd();

    const std::vector<TControl*>& Controls() const { return FControls; }
    // The windowless child that covers the point (in client pixels), topmost first.
    TControl* ControlAtPos(POINT point, bool allowDisabled = false) const;

    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int value) { FTabOrder = value; }
    bool TabStop = false;
    bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // Moves the focus to the next (or previous) focusable control in tab order.
    void SelectNext(bool forward);

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;
    std::string Caption() const override;
    void SetCaption(const std::string& value) override;
    void Invalidate() override;
    void Repaint() override;
    POINT ClientToScreen(POINT point) const override;
    void ScaleBy(int numerator, int denominator) override;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

    // Delivers the message to the children in child order until one gives a non-zero result.
    void Broadcast(TMessage& message);

    // Paints what lies beneath a windowless child: the window's own surface and the windowless
    // children before it in child order (dc's origin is the window's client origin).
    void PaintBeneath(HDC dc, const TControl* child);

    // Tells the windowless children that show the area of changed (null: the window's own
    // surface) that it may look different; hidden ones too, for when they are shown again.
    void BackdropChanged(const TControl* changed);

    // A brush of the control's colour, for painting its background.
    HBRUSH Brush() const;

    // The framework control behind a window, or null.
    static TWinControl* FindControl(HWND window);

    // A standard control that shows a value (an edit, a list, a combo box) is named after the
    // group holding it, as the platform names one after the label before it.
    std::string AccessibleName() const override;
    // The name this window gives the controls that show a value inside it; none but a group's.
    virtual std::string NameForValueControls() const { return ""; }
    // A key pressed anywhere in the top window (with Alt too), offered to it before its focused
    // control sees it: true when the window took it as one of its own commands. keyData is the
    // key message's lParam. Only forms have commands of their own.
    virtual bool IsShortCut(WPARAM key, LPARAM keyData) {
        (void)key, (void)keyData;
        return false;
    }
    // The standard control the window stands on, or null.
    const char* BaseClass() const { return FBaseClass; }

  protected:
    virtual void CreateParams(TCreateParams& params) const;
    virtual void CreateWnd();
    void FontChanged() override;
    // Paints the control's own surface before its windowless children are painted over it.
    virtual void PaintWindow(HDC dc);
    // Paints the windowless children within dc's clip box, in child order, up to stopAt.
    void PaintControls(HDC dc, const TControl* stopAt = nullptr);
    void CollectTabStops(std::vector<TWinControl*>& list) const;
    // The platform's own handling of a message to the window, without the framework's.
    LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) const;

  private:
    friend class TControl;
    friend LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool RouteMouse(TMessage& message);
    void ReflectToChild(TMessage& message, HWND child);
    // True when the message was handled in full.
    bool HandlePlatformMessage(TMessage& message);
    bool HandleNotification(TMessage& message);
    void Paint(TMessage& message);
    // A standard control paints the window, not the framework.
    bool StandsOnControl() const;
    void EraseBackground(HDC dc) const;
    void TakeWindowBounds();
    HBRUSH PrepareChildColors(HDC dc) const;
    void Attach(HWND window) const;
    void Detach() const;
    void ReleaseBrush() const;

    mutable HWND FHandle = nullptr;
    mutable WNDPROC FDefWndProc = nullptr;
    const char* FBaseClass = nullptr;
    bool FWideText = false;
    mutable HBRUSH FBrush = nullptr;
    mutable TColor FBrushColor = 0;
    std::vector<TControl*> FControls;
    int FTabOrder = -1;
};

// Suspends a window's redrawing until the scope ends, whatever happens meanwhile. Then the
// window draws again and is invalidated, or repainted at once, frame and scroll bar included.
class TRedrawLock {
  public:
    TRedrawLock(HWND window, bool repaintNow);
    ~TRedrawLock();
    TRedrawLock(const TRedrawLock&) = delete;
    TRedrawLock& operator=(const TRedrawLock&) = delete;

  private:
    HWND FWindow;
    bool FRepaintNow;
};

// The control under a screen point, windowless ones and disabled ones included; null when the
// point is over no window of ours.
TControl* ControlAtScreenPos(POINT point);

// Offers a keyboard message to the framework before it is translated and dispatched: first to
// its target control, then to dialog navigation of the window it is in (Tab, Shift+Tab, Alt+key).
// True when the message was consumed.
bool IsKeyMessageConsumed(const MSG& msg);
// Shift, Ctrl or Alt is held: Enter and Escape then are no dialog keys.
bool ModifierHeld();
