// The framework's side of accessibility: which window answers and how, which controls a window
// lists, when a control may act, the posted action and the events. The COM object itself is in
// AccessibleWindow.cpp.
#include "Accessible.h"

#include "AccessibleWindow.h"
#include "Machine.h"
#include "WinControl.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

// Loaded when a client first asks: most sessions never do.
const TAccessibilityLibrary& AccessibilityLibrary() {
    static const TAccessibilityLibrary library{
        Late<decltype(LresultFromObject)>("oleacc.dll", "LresultFromObject"),
        Late<decltype(CreateStdAccessibleObject)>("oleacc.dll", "CreateStdAccessibleObject"),
        Late<decltype(AccessibleObjectFromWindow)>("oleacc.dll", "AccessibleObjectFromWindow"),
        Late<decltype(SysAllocString)>("oleaut32.dll", "SysAllocString"),
        Late<decltype(SysFreeString)>("oleaut32.dll", "SysFreeString")};
    return library;
}

// The standard controls the platform's accessibility knows, with the numbers they answer to
// OBJID_QUERYCLASSNAMEIDX (65536 + the index), and whether they show a value.
struct TStandardClass {
    const char* Name;
    int Index;
    bool ShowsValue;
};

static const TStandardClass* StandardClass(const char* baseClass) {
    static const TStandardClass classes[] = {{"LISTBOX", 0, true},
                                             {"BUTTON", 2, false},
                                             {"STATIC", 3, false},
                                             {"EDIT", 4, true},
                                             {"COMBOBOX", 5, true}};
    for (const TStandardClass& known : classes)
        if (baseClass && lstrcmpiA(baseClass, known.Name) == 0)
            return &known;
    return nullptr;
}

bool ShowsValue(const TWinControl& window) {
    const TStandardClass* standard = StandardClass(window.BaseClass());
    return standard && standard->ShowsValue;
}

std::vector<TControl*> ListedChildren(const TWinControl& window) {
    std::vector<TControl*> listed;
    for (TControl* control : window.Controls()) {
        auto* windowed = dynamic_cast<TWinControl*>(control);
        if (control->Visible() &&
            (windowed ? windowed->HandleAllocated() : control->AccessibleRole()))
            listed.push_back(control);
    }
    return listed;
}

LONG ChildId(const std::vector<TControl*>& listed, const TControl* control) {
    auto found = std::find(listed.begin(), listed.end(), control);
    return found == listed.end() ? 0 : LONG(found - listed.begin()) + 1;
}

bool MayAct(const TWinControl& window, const TControl& control) {
    HWND root = GetAncestor(window.Handle(), GA_ROOT);
    return control.Enabled() && IsWindowEnabled(root) && IsWindowVisible(root);
}

// The object is handed over through COM, which the thread joins on the first request, once. A
// thread already in COM in the other model (RPC_E_CHANGED_MODE) hands it over as well; any other
// failure leaves the window to the platform's own object.
static bool JoinedCom() {
    static const bool joined = [] {
        auto* initialize = Late<decltype(CoInitializeEx)>("ole32.dll", "CoInitializeEx");
        HRESULT result = initialize ? initialize(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
        return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    }();
    return joined;
}

bool AnswerAccessibleObject(TWinControl& window, TMessage& message) {
    LONG object = LONG(message.LParam);
    if (object == OBJID_QUERYCLASSNAMEIDX) {
        const TStandardClass* standard = StandardClass(window.BaseClass());
        message.Result = standard ? 65536 + standard->Index : 0;
        return true;
    }
    const TAccessibilityLibrary& library = AccessibilityLibrary();
    if (object != OBJID_CLIENT || !library.Complete() || !JoinedCom())
        return false;
    ComPtr<IAccessible> platform;
    if (FAILED(library.StandardObject(window.Handle(), OBJID_CLIENT, __uuidof(IAccessible),
                                      reinterpret_cast<void**>(platform.GetAddressOf()))))
        return false;
    ComPtr<IAccessible> accessible = NewAccessibleWindow(window.Handle(), std::move(platform));
    message.Result =
        library.ResultFromObject(__uuidof(IAccessible), message.WParam, accessible.Get());
    return true;
}

void DoPostedAccessibleAction(TWinControl& window, TControl* control) {
    const auto& controls = window.Controls();
    if (std::find(controls.begin(), controls.end(), control) != controls.end() &&
        MayAct(window, *control))
        control->DoAccessibleAction();
}

void NotifyActionsChanged(const TWinControl& window) {
    for (TControl* control : window.Controls()) {
        if (auto* windowed = dynamic_cast<const TWinControl*>(control))
            NotifyActionsChanged(*windowed);
        else if (!control->AccessibleAction().empty())
            NotifyAccessibleChange(*control, EVENT_OBJECT_STATECHANGE);
    }
}

void NotifyAccessibleChange(const TControl& control, DWORD event) {
    TWinControl* parent = control.Parent();
    if (dynamic_cast<const TWinControl*>(&control) || !parent || !parent->HandleAllocated())
        return;
    if (LONG id = ChildId(ListedChildren(*parent), &control))
        NotifyWinEvent(event, parent->Handle(), OBJID_CLIENT, id);
}
