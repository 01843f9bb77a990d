#include "Memo.h"

#include "Exceptions.h"

#include <cstring>
#include "Resources.h"
#include "StringIds.h"
#include "TextUtils.h"

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 89);
    SetColor(clWindow);
    TabStop = true;
}

void TMemo::CreateParams(TCreateParams& params) const {
    TWinControl::CreateParams(params);
    params.BaseClass = "EDIT";
    params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (ReadOnly)
        params.Style |= ES_READONLY;
    if (!WordWrap)
        params.Style |= ES_AUTOHSCROLL;
    if (ScrollBars == ssVertical || ScrollBars == ssBoth)
        params.Style |= WS_VSCROLL;
    if ((ScrollBars == ssHorizontal || ScrollBars == ssBoth) && !WordWrap)
        params.Style |= WS_HSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TMemo::CreateWnd() {
    TWinControl::CreateWnd();
    // No limit of the program's own: the control's capacity is the only one.
    SendMessageA(Handle(), EM_LIMITTEXT, 0, 0);
}

std::string TMemoStrings::Text() const { return FMemo.Caption(); }

namespace {
// Holds the file open, unshared, for as long as it is read.
class TFileStream {
public:
    explicit TFileStream(const std::string& fileName)
        : FHandle(CreateFileA(fileName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (FHandle == INVALID_HANDLE_VALUE)
            throw EFOpenError(Format(LoadStr(SFOpenError).c_str(), fileName.c_str()));
    }
    ~TFileStream() { CloseHandle(FHandle); }
    std::string ReadAll() const {
        std::string bytes(GetFileSize(FHandle, nullptr), '\0');
        DWORD read = 0;
        ReadFile(FHandle, bytes.data(), DWORD(bytes.size()), &read, nullptr);
        bytes.resize(read);
        return bytes;
    }

private:
    HANDLE FHandle;
};

// Suspends a window's redrawing and repaints it when it ends, whatever happened meanwhile.
class TRedrawLock {
public:
    explicit TRedrawLock(HWND window) : FWindow(window) { SendMessageA(window, WM_SETREDRAW, FALSE, 0); }
    ~TRedrawLock() {
        SendMessageA(FWindow, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FWindow, nullptr, TRUE);
    }

private:
    HWND FWindow;
};
} // namespace

void TMemoStrings::LoadTextFile(const std::string& fileName) {
    TFileStream file(fileName);
    TRedrawLock redraw(FMemo.Handle());
    std::string text = AdjustLineBreaks(file.ReadAll(), GetACP());
    // The control's text ends at the first zero byte: compare what it would hold.
    text.resize(std::strlen(text.c_str()));
    if (text == Text())
        return;
    if (!SetWindowTextA(FMemo.Handle(), text.c_str()))
        throw EInvalidOperation(LoadStr(SMemoTooLarge));
    FMemo.Perform(CM_TEXTCHANGED);
}
