// Walks another program's accessible objects from outside, as a screen reader does, for the
// end-to-end tests. Every object is printed as one line, its parts separated by "|":
//
//   role|name|value|state (hexadecimal)|default action|left,top,width,height
//
//   walker tree HWND      the window's client object and everything below it, indented by depth;
//                         a child window is entered through its own client object
//   walker point X Y      the object at the screen point (AccessibleObjectFromPoint)
//   walker do X Y         runs the default action of the object at the screen point and prints
//                         the result code in hexadecimal (0 for success)
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// The interface is named by __uuidof, never by IID_IAccessible: the platform's import library of
// oleacc exports that name too, and a 64-bit link takes its import thunk (code) for the GUID.

static std::string Utf8(const wchar_t* text) {
    if (!text)
        return "";
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(length > 0 ? length - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

static VARIANT ChildId(LONG id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// A text property: the text, or nothing when the object has none.
template <class Getter> static std::string Text(Getter get) {
    BSTR text = nullptr;
    if (FAILED(get(&text)))
        return "";
    std::string result = Utf8(text);
    SysFreeString(text);
    return result;
}

static LONG Role(IAccessible* object, VARIANT child) {
    VARIANT role;
    VariantInit(&role);
    if (FAILED(object->get_accRole(child, &role)) || role.vt != VT_I4)
        return 0;
    return role.lVal;
}

static std::string Describe(IAccessible* object, VARIANT child) {
    wchar_t roleText[128] = L"";
    GetRoleTextW(DWORD(Role(object, child)), roleText, 128);
    VARIANT state;
    VariantInit(&state);
    if (FAILED(object->get_accState(child, &state)) || state.vt != VT_I4)
        state.lVal = 0;
    LONG left = 0, top = 0, width = 0, height = 0;
    object->accLocation(&left, &top, &width, &height, child);
    char place[64];
    std::snprintf(place, sizeof place, "%ld,%ld,%ld,%ld", left, top, width, height);
    char stateText[16];
    std::snprintf(stateText, sizeof stateText, "%lx", state.lVal);
    return Utf8(roleText) + "|" + Text([&](BSTR* t) { return object->get_accName(child, t); }) +
           "|" + Text([&](BSTR* t) { return object->get_accValue(child, t); }) + "|" + stateText +
           "|" + Text([&](BSTR* t) { return object->get_accDefaultAction(child, t); }) + "|" +
           place;
}

static void Walk(IAccessible* object, int depth);

// A child that is an object of its own: a child window is entered through its client object.
// (Wine's window objects tell nothing, not even their role: what stands for a window is entered.)
static void WalkObject(IDispatch* dispatch, int depth) {
    IAccessible* child = nullptr;
    if (FAILED(dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&child))))
        return;
    HWND window = nullptr;
    LONG role = Role(child, ChildId(CHILDID_SELF));
    if ((role == ROLE_SYSTEM_WINDOW || role == 0) &&
        SUCCEEDED(WindowFromAccessibleObject(child, &window)) && window) {
        child->Release();
        if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&child))))
            return;
    }
    Walk(child, depth);
    child->Release();
}

static void Walk(IAccessible* object, int depth) {
    std::printf("%*s%s\n", depth * 2, "", Describe(object, ChildId(CHILDID_SELF)).c_str());
    LONG count = 0;
    object->get_accChildCount(&count);
    for (LONG id = 1; id <= count; id++) {
        IDispatch* dispatch = nullptr;
        if (object->get_accChild(ChildId(id), &dispatch) == S_OK && dispatch) {
            WalkObject(dispatch, depth + 1);
            dispatch->Release();
        } else {
            std::printf("%*s%s\n", (depth + 1) * 2, "", Describe(object, ChildId(id)).c_str());
        }
    }
}

static int Tree(HWND window) {
    IAccessible* object = nullptr;
    HRESULT result = AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&object));
    if (FAILED(result) || !object)
        return std::printf("no accessible object: %lx\n", result), 1;
    Walk(object, 0);
    object->Release();
    return 0;
}

static int AtPoint(POINT point, bool act) {
    IAccessible* object = nullptr;
    VARIANT child;
    VariantInit(&child);
    HRESULT result = AccessibleObjectFromPoint(point, &object, &child);
    if (FAILED(result) || !object)
        return std::printf("no accessible object: %lx\n", result), 1;
    if (act)
        std::printf("%lx\n", object->accDoDefaultAction(child));
    else
        std::printf("%s\n", Describe(object, child).c_str());
    object->Release();
    return 0;
}

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string command = argc > 1 ? argv[1] : "";
    int code = 2;
    if (command == "tree" && argc > 2)
        code = Tree(HWND(UINT_PTR(std::strtoull(argv[2], nullptr, 0))));
    else if ((command == "point" || command == "do") && argc > 3)
        code = AtPoint({std::atoi(argv[2]), std::atoi(argv[3])}, command == "do");
    else
        std::fprintf(stderr, "usage: walker tree HWND | point X Y | do X Y\n");
    std::fflush(stdout);
    CoUninitialize();
    return code;
}
