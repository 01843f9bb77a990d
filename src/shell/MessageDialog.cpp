#include "MessageDialog.h"

#include "Application.h"

int AppMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    HWND active = GetActiveWindow();
    TTaskWindowLock lock;
    lock.Apply();
    int result = MessageBoxA(Application ? Application->Handle() : nullptr, text.c_str(),
                             caption.c_str(), flags & 0xFFFF);
    lock.Release();
    if (active && IsWindow(active))
        SetActiveWindow(active);
    return result;
}

void ShowPlainMessage(const std::string& text) {
    AppMessageBox(text, Application ? Application->Title() : "", MB_OK);
}
