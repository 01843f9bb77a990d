#include "ComboBox.h"

TCustomComboBox::TCustomComboBox(TComponent* owner) : TItemControl(owner, ComboBoxMessages) {
    SetBounds(0, 0, 145, 21);
}

void TCustomComboBox::CreateParams(TCreateParams& params) const {
    TWinControl::CreateParams(params);
    params.BaseClass = "COMBOBOX";
    params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
}

void TCustomComboBox::CreateWnd() {
    TWinControl::CreateWnd();
    HWND window = Handle();
    SendMessageA(window, CB_SETITEMHEIGHT, WPARAM(-1), ItemHeight());
    SendMessageA(window, CB_SETITEMHEIGHT, 0, ItemHeight());
    // The height a combo box is given is its dropped height: its closed height, which follows
    // from the selection field, then the items and the list's frame.
    RECT closed;
    GetWindowRect(window, &closed);
    SetWindowPos(window, nullptr, 0, 0, Width(),
                 closed.bottom - closed.top + DropDownCount * ItemHeight() + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == CBN_SELCHANGE)
            Change();
        return;
    }
    TItemControl::WndProc(message);
}
