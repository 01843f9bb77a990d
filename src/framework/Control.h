#pragma once
#include "Component.h"
#include "Font.h"
#include "Messages.h"

#include <functional>
#include <string>

class TWinControl;

using TNotifyEvent = std::function<void(TObject* sender)>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// keys: the MK_ flags of the mouse message; x, y in the control's client pixels.
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, UINT keys, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, UINT keys, int x, int y)>;

// Traits a control class sets in its constructor.
enum TControlStyleBits : unsigned {
    csCaptureMouse = 1, // holds the mouse capture while a button is down on it
    csOpaque = 2,       // paints every pixel itself: invalidating it erases nothing beneath
    csDoubleClicks = 4, // receives double-clicks as double-click messages
    csClickEvents = 8,  // a left press and release over it is a click
};

// Anything with a place in a window: bounds, visibility, enabled state, caption, font, colour.
// Notifications and mouse input reach every control through WndProc, windowless ones included.
class TControl : public TComponent {
  public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    const char* ClassName() const override { return "TControl"; }

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    RECT ClientRect() const { return {0, 0, FWidth, FHeight}; }

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    virtual std::string Caption() const { return FCaption; }
    virtual void SetCaption(const std::string& value);

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    unsigned ControlStyle = 0;
    // Hints are kept for the descriptions; no control of the program shows one.
    bool ShowHint = false, ParentShowHint = true;

    // Delivers a message synchronously and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);
    // What happens to a message nobody handled.
    virtual void DefaultHandler(TMessage& message);

    // Schedules a repaint of the control's area.
    virtual void Invalidate();
    // Paints the control at once.
    virtual void Repaint();
    virtual POINT ClientToScreen(POINT point) const;

    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    virtual void Click();
    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Multiplies the control's place and size by numerator / denominator.
    virtual void ScaleBy(int numerator, int denominator);

    // What assistive technology is told of the control, in the platform's terms (ROLE_SYSTEM_,
    // STATE_SYSTEM_). A windowless control has no window to be asked: the accessible object of
    // its parent's window asks the control. Role 0 leaves a windowless control out.
    virtual long AccessibleRole() const { return 0; }
    virtual std::string AccessibleName() const;
    virtual std::string AccessibleValue() const { return ""; }
    virtual long AccessibleState() const;
    // The default action's name; none when the control has no action.
    virtual std::string AccessibleAction() const { return ""; }
    // Does the default action, as the control's own input would. Called from the loop, never
    // from inside an accessibility client's call.
    virtual void DoAccessibleAction() {}

  protected:
    // Each fires its event.
    virtual void MouseDown(TMouseButton button, UINT keys, int x, int y);
    virtual void MouseMove(UINT keys, int x, int y);
    virtual void MouseUp(TMouseButton button, UINT keys, int x, int y);
    // The font or caption changed: windowed controls pass it on to their window.
    virtual void FontChanged();
    void ParentFontChanged();

  private:
    void HandleMouse(TMessage& message);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true, FEnabled = true, FParentFont = true;
    bool FClickPending = false;
    std::string FCaption;
    TFont FFont;
    TColor FColor = clBtnFace;

    friend class TWinControl;
};

// The control holding the mouse capture, windowless or not; null when none of ours does.
TControl* CaptureControl();
