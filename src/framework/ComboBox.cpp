#include "ComboBox.h"

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 145, 21);
    SetColor(clWindow);
    TabStop = true;
}

void TCustomComboBox::CreateParams(TCreateParams& params) const {
    TWinControl::CreateParams(params);
    params.BaseClass = "COMBOBOX";
    params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
}

void TCustomComboBox::CreateWnd() {
    TWinControl::CreateWnd();
    HWND window = Handle();
    SendMessageA(window, CB_SETITEMHEIGHT, WPARAM(-1), FItemHeight);
    SendMessageA(window, CB_SETITEMHEIGHT, 0, FItemHeight);
    // The height a combo box is given is its dropped height: its closed height, which follows
    // from the selection field, then the items and the list's frame.
    RECT closed;
    GetWindowRect(window, &closed);
    SetWindowPos(window, nullptr, 0, 0, Width(),
                 closed.bottom - closed.top + DropDownCount * FItemHeight + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::SetItemHeight(int value) {
    if (value <= 0 || value == FItemHeight)
        return;
    FItemHeight = value;
    RecreateWnd();
}

void TCustomComboBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_DRAWITEM:
        DrawOwnerItem(message, FCanvas, *this, [this](int index, const RECT& rect, UINT state) {
            DrawItem(index, rect, state);
        });
        return;
    case CN_COMMAND:
        if (HIWORD(message.WParam) == CBN_SELCHANGE)
            Change();
        return;
    }
    TWinControl::WndProc(message);
}

void TCustomComboBox::DrawItem(int index, const RECT& rect, UINT) {
    FCanvas.FillRect(rect);
    FCanvas.TextOut(rect.left + 2, rect.top, ItemText(index));
}
