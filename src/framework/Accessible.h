#pragma once
#include "Messages.h"

class TControl;
class TWinControl;

// Assistive technology asks a window for its accessible object (WM_GETOBJECT). The platform's
// standard object knows the window and its child windows, but not the windowless controls the
// framework paints on it; so every framework window answers with an object of the framework's
// that lists both, asks each windowless control for its description, and leaves the rest to the
// platform's object. A window standing on a standard control says so (OBJID_QUERYCLASSNAMEIDX),
// so that the platform's object is the one for that control (an edit's text, a list's items).
// True when the message was answered.
bool AnswerAccessibleObject(TWinControl& window, TMessage& message);

// The default action asked for through the window's accessible object, come back through the
// loop: done when the control is still on the window and it and the window may act.
void DoPostedAccessibleAction(TWinControl& window, TControl* control);

// Tells assistive technology that a listed windowless control's name or state changed
// (EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_STATECHANGE); windows raise their own.
void NotifyAccessibleChange(const TControl& control, DWORD event);
// The window was enabled or disabled (a dialog or box locks it, and lets it go) or shown or
// hidden: every command on it, windowless and in its child windows, may now act or not, and
// assistive technology is told that their state changed.
void NotifyActionsChanged(const TWinControl& window);

// The window stands on an edit, a list or a combo box: a control that shows a value.
bool ShowsValue(const TWinControl& window);
