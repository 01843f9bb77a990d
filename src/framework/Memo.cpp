#include "Memo.h"

#include "Exceptions.h"
#include "Resources.h"
#include "StringIds.h"
#include "TextUtils.h"

#include <cstring>

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
// Room for a file's bytes, for a file the memo can show.
std::string Allocate(LONGLONG size) {
    if (size > MemoFileCapacity)
        throw EInvalidOperation(LoadStr(SMemoTooLarge));
    return std::string(size_t(size), '\0');
}

// Holds the file open, unshared, from the open to the end of the load.
class TFileStream {
public:
    explicit TFileStream(const std::string& fileName)
        : FHandle(CreateFileA(fileName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (FHandle == INVALID_HANDLE_VALUE)
            throw EFOpenError(Format(LoadStr(SFOpenError).c_str(), fileName.c_str()));
    }
    ~TFileStream() { CloseHandle(FHandle); }

    // The whole file in one piece, or as much of it as could be read.
    std::string ReadAll() const {
        LARGE_INTEGER size{};
        GetFileSizeEx(FHandle, &size);
        std::string bytes = Allocate(size.QuadPart);
        DWORD read = 0;
        ReadFile(FHandle, bytes.data(), DWORD(bytes.size()), &read, nullptr);
        bytes.resize(read);
        return bytes;
    }

private:
    HANDLE FHandle;
};
} // namespace

void TMemoStrings::LoadTextFile(const std::string& fileName) {
    TFileStream file(fileName);
    std::string bytes = file.ReadAll();
    TRedrawLock redraw(FMemo.Handle(), true);
    std::string text = AdjustLineBreaks(bytes, GetACP());
    // The control's text ends at the first zero byte: compare what it would hold, so that an
    // unchanged file keeps the scroll position and the selection.
    text.resize(std::strlen(text.c_str()));
    if (text == Text())
        return;
    if (!SetWindowTextA(FMemo.Handle(), text.c_str()))
        throw EInvalidOperation(LoadStr(SMemoTooLarge));
    FMemo.Perform(CM_TEXTCHANGED);
}
