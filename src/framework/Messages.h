#pragma once
#include <windows.h>

// The platform's own part of a system command's number lies in its low four bits.
constexpr WPARAM SystemCommandMask = 0xFFF0;

// One window message as the framework hands it around; Result is what the sender gets back.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// The framework's own notifications, delivered synchronously to controls, windowless included.
// They lie at 0xB000 and above, in the range the platform leaves to applications (WM_APP to
// 0xBFFF), so that they can never be taken for a standard control's own messages (WM_USER up),
// and a notification reflected to a child (CN_BASE + a platform message) never meets them.
enum : UINT {
    CM_DIALOGKEY = 0xB005,
    CM_DIALOGCHAR = 0xB006,
    // Posted by the hidden application window to itself when it took the focus.
    CM_ENTER = 0xB00A,
    CM_ENABLEDCHANGED = 0xB00C,
    CM_FONTCHANGED = 0xB00E,
    CM_TEXTCHANGED = 0xB012,
    CM_MOUSEENTER = 0xB013,
    CM_MOUSELEAVE = 0xB014,
    CM_SYSCOLORCHANGE = 0xB024,
    CM_BUTTONPRESSED = 0xB03D,
    // What lies beneath a windowless control may look different now: the parent's own surface
    // or a windowless control below it was invalidated.
    CM_BACKDROPCHANGED = 0xB040,
    // Posted by a window's accessible object: do the default action of its windowless child
    // (the LPARAM), when it is still there and may act.
    CM_ACCESSIBLEACTION = 0xB041,
    // Notifications a child window sends its parent come back to the child's own control
    // as CN_BASE + the message.
    CN_BASE = 0xBD00,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
    CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
    // A key message offered to its target control before it is translated and dispatched;
    // a non-zero result means the control consumed it.
    CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
};

// The mouse messages that controls handle, windowless ones through their parent.
inline bool IsMouseMessage(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_LBUTTONUP ||
           msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_MOUSEMOVE;
}
