#pragma once
// The accessible object of one framework window (see Accessible.h), and what it asks of the
// framework's side.
#include <windows.h>

#include <oleacc.h>
#include <wrl/client.h>

#include <vector>

class TControl;
class TWinControl;

// The platform's accessibility functions; a member is null when its library or function is
// missing.
struct TAccessibilityLibrary {
    decltype(LresultFromObject)* ResultFromObject;
    decltype(CreateStdAccessibleObject)* StandardObject;
    decltype(AccessibleObjectFromWindow)* ObjectFromWindow;
    decltype(SysAllocString)* AllocString;
    decltype(SysFreeString)* FreeString;
    bool Complete() const {
        return ResultFromObject && StandardObject && ObjectFromWindow && AllocString && FreeString;
    }
};
const TAccessibilityLibrary& AccessibilityLibrary();

// What the window's accessible object lists, in child order: the visible child windows and the
// visible windowless controls that describe themselves. Child ids count from 1; 0 for a control
// not listed.
std::vector<TControl*> ListedChildren(const TWinControl& window);
LONG ChildId(const std::vector<TControl*>& listed, const TControl* control);
// A windowless control may act when it and its window can take input: never while a dialog or
// box locks the window, nor while the window is hidden.
bool MayAct(const TWinControl& window, const TControl& control);

// A new object for the window, answering from its control and, where that has nothing, from the
// platform's object for the window.
Microsoft::WRL::ComPtr<IAccessible>
NewAccessibleWindow(HWND window, Microsoft::WRL::ComPtr<IAccessible> platform);
