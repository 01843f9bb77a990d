// The COM object a framework window answers WM_GETOBJECT with: its windowless controls listed
// beside its child windows, each asked for its own description, the rest left to the platform.
#include "AccessibleWindow.h"

#include "TextUtils.h"
#include "WinControl.h"

#include <utility>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

VARIANT Integer(LONG value) {
    VARIANT variant{};
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

HRESULT Text(const std::string& text, BSTR* result) {
    *result =
        text.empty() ? nullptr : AccessibilityLibrary().AllocString(Widen(text, CP_ACP).c_str());
    return *result ? S_OK : S_FALSE;
}

// The accessible object of one framework window. It holds the window's handle, not its control:
// a client may keep the object longer than the window lives, and every call looks the control
// up again.
class TAccessibleWindow final : public IAccessible, public IOleWindow {
  public:
    TAccessibleWindow(HWND window, ComPtr<IAccessible> platform)
        : FWindow(window), FPlatform(std::move(platform)) {}
    TAccessibleWindow(const TAccessibleWindow&) = delete;
    TAccessibleWindow& operator=(const TAccessibleWindow&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
            *object = static_cast<IAccessible*>(this);
        else if (iid == __uuidof(IOleWindow))
            *object = static_cast<IOleWindow*>(this);
        else
            return *object = nullptr, E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&FReferences)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&FReferences);
        if (left == 0)
            delete this;
        return ULONG(left);
    }

    // Clients use the interface directly; scripting through IDispatch is not offered.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override { return *window = FWindow, S_OK; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return FPlatform->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return Guarded([&](TWinControl& window) {
            if (!OwnsChildren(window))
                return FPlatform->get_accChildCount(count);
            *count = long(ListedChildren(window).size());
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        *object = nullptr;
        return Guarded([&](TWinControl& window) {
            if (!OwnsChildren(window))
                return FPlatform->get_accChild(child, object);
            TControl* control = Child(window, child);
            if (!control)
                return E_INVALIDARG;
            auto* windowed = dynamic_cast<TWinControl*>(control);
            return windowed ? AccessibilityLibrary().ObjectFromWindow(
                                  windowed->Handle(), DWORD(OBJID_WINDOW), __uuidof(IDispatch),
                                  reinterpret_cast<void**>(object))
                            : S_FALSE;
        });
    }

    // The window's own name is its control's; the platform's where the control has none.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Answer(
            child, [&](IAccessible* object, VARIANT id) { return object->get_accName(id, name); },
            [&](TControl& control) { return Text(control.AccessibleName(), name); }, ControlFirst);
    }
    // The window's own value is the platform's; its control's where the platform has none.
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Answer(
            child,
            [&](IAccessible* object, VARIANT id) {
                HRESULT result = object->get_accValue(id, value);
                if (result == S_OK && *value && !**value) {
                    AccessibilityLibrary().FreeString(*value);
                    *value = nullptr;
                    result = S_FALSE;
                }
                return result;
            },
            [&](TControl& control) { return Text(control.AccessibleValue(), value); },
            PlatformFirst);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Answer(
            child,
            [&](IAccessible* object, VARIANT id) { return object->get_accDescription(id, text); },
            [&](TControl&) { return Text("", text); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Answer(
            child, [&](IAccessible* object, VARIANT id) { return object->get_accRole(id, role); },
            [&](TControl& control) { return *role = Integer(control.AccessibleRole()), S_OK; });
    }
    // A command reports itself unavailable while its action would fail.
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Answer(
            child, [&](IAccessible* object, VARIANT id) { return object->get_accState(id, state); },
            [&](TControl& control) {
                long bits = control.AccessibleState();
                if (!control.AccessibleAction().empty() && !MayAct(*control.Parent(), control))
                    bits |= STATE_SYSTEM_UNAVAILABLE;
                return *state = Integer(bits), S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return Answer(
            child, [&](IAccessible* object, VARIANT id) { return object->get_accHelp(id, text); },
            [&](TControl&) { return Text("", text); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return Answer(
            child,
            [&](IAccessible* object, VARIANT id) {
                return object->get_accHelpTopic(file, id, topic);
            },
            [&](TControl&) { return *file = nullptr, *topic = 0, S_FALSE; });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return Answer(
            child,
            [&](IAccessible* object, VARIANT id) {
                return object->get_accKeyboardShortcut(id, text);
            },
            [&](TControl&) { return Text("", text); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return FPlatform->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return FPlatform->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Answer(
            child,
            [&](IAccessible* object, VARIANT id) {
                return object->get_accDefaultAction(id, action);
            },
            [&](TControl& control) { return Text(control.AccessibleAction(), action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return Answer(
            child, [&](IAccessible* object, VARIANT id) { return object->accSelect(flags, id); },
            [&](TControl&) { return DISP_E_MEMBERNOTFOUND; });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return Answer(
            child,
            [&](IAccessible* object, VARIANT id) {
                return object->accLocation(left, top, width, height, id);
            },
            [&](TControl& control) {
                POINT origin = control.Parent()->ClientToScreen({control.Left(), control.Top()});
                *left = origin.x, *top = origin.y;
                *width = control.Width(), *height = control.Height();
                return S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    // The action runs when the loop next takes the window's messages: the client's call returns
    // at once, even when the action shows a modal window.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Answer(
            child, [&](IAccessible* object, VARIANT id) { return object->accDoDefaultAction(id); },
            [&](TControl& control) {
                if (control.AccessibleAction().empty())
                    return DISP_E_MEMBERNOTFOUND;
                if (!MayAct(*control.Parent(), control))
                    return E_FAIL;
                PostMessageA(FWindow, CM_ACCESSIBLEACTION, 0, LPARAM(&control));
                return S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return Answer(
            child, [&](IAccessible* object, VARIANT id) { return object->put_accValue(id, value); },
            [&](TControl&) { return E_NOTIMPL; });
    }

  private:
    ~TAccessibleWindow() = default;

    // A window that holds framework controls lists them itself; a standard control with none
    // (an edit, a list) leaves its children (a list's items) to the platform's object.
    static bool OwnsChildren(const TWinControl& window) { return !window.Controls().empty(); }

    static TControl* Child(const TWinControl& window, VARIANT child) {
        std::vector<TControl*> listed = ListedChildren(window);
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > LONG(listed.size()))
            return nullptr;
        return listed[child.lVal - 1];
    }

    // The element as a navigation or hit test gives it: a child window as its object, a
    // windowless control as its child id.
    static HRESULT Element(const TWinControl& window, TControl* control, VARIANT* result) {
        auto* windowed = dynamic_cast<TWinControl*>(control);
        if (!windowed) {
            *result = Integer(ChildId(ListedChildren(window), control));
            return S_OK;
        }
        result->vt = VT_DISPATCH;
        return AccessibilityLibrary().ObjectFromWindow(windowed->Handle(), DWORD(OBJID_WINDOW),
                                                       __uuidof(IDispatch),
                                                       reinterpret_cast<void**>(&result->pdispVal));
    }

    // Runs work for the window's control; fails when the window is gone. A query runs inside a
    // client's call, where no error box may come up: whatever it throws is answered with E_FAIL.
    // (The default action only posts itself: the click runs through the loop's error guard.)
    template <class TWork> HRESULT Guarded(TWork&& work) noexcept {
        try {
            TWinControl* window = TWinControl::FindControl(FWindow);
            return window ? work(*window) : E_FAIL;
        } catch (...) {
            return E_FAIL;
        }
    }

    // Who answers for the window itself: the platform's object alone, or the window's control
    // and the platform's object, the second where the first has nothing.
    enum TSelfAnswer { PlatformOnly, ControlFirst, PlatformFirst };

    // One property or action of the window itself (CHILDID_SELF) or of a child: the platform's
    // object answers for the window and for a child window, the control for a windowless child.
    template <class TPlatform, class TOwn>
    HRESULT Answer(VARIANT child, TPlatform platform, TOwn own, TSelfAnswer self = PlatformOnly) {
        return Guarded([&](TWinControl& window) -> HRESULT {
            if (child.vt != VT_I4)
                return E_INVALIDARG;
            if (child.lVal == CHILDID_SELF)
                return AnswerSelf(window, child, platform, own, self);
            if (!OwnsChildren(window))
                return platform(FPlatform.Get(), child);
            TControl* control = Child(window, child);
            if (!control)
                return E_INVALIDARG;
            if (auto* windowed = dynamic_cast<TWinControl*>(control))
                return AskWindow(windowed->Handle(), platform);
            return own(*control);
        });
    }

    template <class TPlatform, class TOwn>
    HRESULT AnswerSelf(TWinControl& window, VARIANT id, TPlatform platform, TOwn own,
                       TSelfAnswer self) {
        if (self == ControlFirst && own(window) == S_OK)
            return S_OK;
        HRESULT result = platform(FPlatform.Get(), id);
        return self == PlatformFirst && result != S_OK ? own(window) : result;
    }

    // A child window answers through its own object, for itself.
    template <class TPlatform> static HRESULT AskWindow(HWND window, TPlatform platform) {
        ComPtr<IAccessible> object;
        HRESULT result = AccessibilityLibrary().ObjectFromWindow(
            window, DWORD(OBJID_WINDOW), __uuidof(IAccessible),
            reinterpret_cast<void**>(object.GetAddressOf()));
        return FAILED(result) ? result : platform(object.Get(), Integer(CHILDID_SELF));
    }

    HWND FWindow;
    ComPtr<IAccessible> FPlatform;
    LONG FReferences = 1;
};

HRESULT TAccessibleWindow::accNavigate(long direction, VARIANT start, VARIANT* end) {
    end->vt = VT_EMPTY;
    return Guarded([&](TWinControl& window) -> HRESULT {
        if (start.vt != VT_I4)
            return E_INVALIDARG;
        std::vector<TControl*> listed = ListedChildren(window);
        bool fromSelf = start.lVal == CHILDID_SELF;
        if (!OwnsChildren(window) ||
            (fromSelf && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD))
            return FPlatform->accNavigate(direction, start, end);
        LONG target = 0;
        if (fromSelf)
            target = direction == NAVDIR_FIRSTCHILD ? 1 : LONG(listed.size());
        else if (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS)
            target = start.lVal + (direction == NAVDIR_NEXT ? 1 : -1);
        if (target < 1 || target > LONG(listed.size()))
            return S_FALSE;
        return Element(window, listed[target - 1], end);
    });
}

// The windowless control under the point, else the child window, else the window itself.
HRESULT TAccessibleWindow::accHitTest(long x, long y, VARIANT* child) {
    child->vt = VT_EMPTY;
    return Guarded([&](TWinControl& window) -> HRESULT {
        if (!OwnsChildren(window))
            return FPlatform->accHitTest(x, y, child);
        POINT point{x, y};
        RECT client;
        ScreenToClient(FWindow, &point);
        GetClientRect(FWindow, &client);
        if (!PtInRect(&client, point))
            return S_FALSE;
        std::vector<TControl*> listed = ListedChildren(window);
        TControl* control = window.ControlAtPos(point, true);
        if (!ChildId(listed, control)) {
            HWND under = ChildWindowFromPointEx(FWindow, point, CWP_SKIPINVISIBLE);
            control = under && under != FWindow ? TWinControl::FindControl(under) : nullptr;
        }
        if (!ChildId(listed, control))
            return *child = Integer(CHILDID_SELF), S_OK;
        return Element(window, control, child);
    });
}

} // namespace

ComPtr<IAccessible> NewAccessibleWindow(HWND window, ComPtr<IAccessible> platform) {
    ComPtr<IAccessible> object;
    object.Attach(new TAccessibleWindow(window, std::move(platform)));
    return object;
}
