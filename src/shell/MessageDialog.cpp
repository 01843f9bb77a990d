#include "MessageDialog.h"

#include "Application.h"

void ShowPlainMessage(const std::string& text) {
    HWND owner = Application ? Application->Handle() : nullptr;
    MessageBoxA(owner, text.c_str(), Application ? Application->Title().c_str() : "", MB_OK);
}
