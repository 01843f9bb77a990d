#include "ListBox.h"

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    TabStop = true;
}

void TCustomListBox::CreateParams(TCreateParams& params) const {
    TWinControl::CreateParams(params);
    params.BaseClass = "LISTBOX";
    params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                    WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, FItemHeight);
}

void TCustomListBox::SetItemHeight(int value) {
    if (value <= 0 || value == FItemHeight)
        return;
    FItemHeight = value;
    RecreateWnd();
}

int TCustomListBox::Count() const { return int(SendMessageA(Handle(), LB_GETCOUNT, 0, 0)); }

int TCustomListBox::ItemIndex() const { return int(SendMessageA(Handle(), LB_GETCURSEL, 0, 0)); }

void TCustomListBox::SetItemIndex(int index) { SendMessageA(Handle(), LB_SETCURSEL, index, 0); }

void TCustomListBox::Clear() { SendMessageA(Handle(), LB_RESETCONTENT, 0, 0); }

void TCustomListBox::Reserve(int count, size_t textBytes) {
    SendMessageA(Handle(), LB_INITSTORAGE, count, LPARAM(textBytes));
}

int TCustomListBox::AddItem(const std::string& text, LPARAM data) {
    int index = int(SendMessageA(Handle(), LB_ADDSTRING, 0, LPARAM(text.c_str())));
    if (data)
        SendMessageA(Handle(), LB_SETITEMDATA, index, data);
    return index;
}

std::string TCustomListBox::ItemText(int index) const {
    LRESULT length = SendMessageA(Handle(), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return "";
    std::string text(length + 1, '\0');
    text.resize(SendMessageA(Handle(), LB_GETTEXT, index, LPARAM(text.data())));
    return text;
}

LPARAM TCustomListBox::ItemData(int index) const {
    return SendMessageA(Handle(), LB_GETITEMDATA, index, 0);
}

void TCustomListBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_DRAWITEM:
        DrawOwnerItem(FCanvas, *this, *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam),
                      [this](int index, const RECT& rect, UINT state) {
                          DrawItem(index, rect, state);
                      });
        message.Result = 1;
        return;
    case CN_COMMAND:
        if (HIWORD(message.WParam) == LBN_DBLCLK)
            DblClick();
        return;
    case WM_CHAR:
        TWinControl::WndProc(message);
        KeyPress(char(message.WParam));
        return;
    }
    TWinControl::WndProc(message);
}

void DrawOwnerItem(TCanvas& canvas, const TWinControl& control, const DRAWITEMSTRUCT& request,
                   const std::function<void(int, const RECT&, UINT)>& draw) {
    canvas.SetHandle(request.hDC);
    canvas.Font.Assign(control.Font());
    canvas.BrushColor = control.Color();
    if (request.itemState & ODS_SELECTED) {
        canvas.BrushColor = clHighlight;
        canvas.Font.SetColor(clHighlightText);
    }
    if (int(request.itemID) >= 0)
        draw(int(request.itemID), request.rcItem, request.itemState);
    else
        canvas.FillRect(request.rcItem);
    if (request.itemState & ODS_FOCUS)
        DrawFocusRect(request.hDC, &request.rcItem);
    canvas.SetHandle(nullptr);
}

void TCustomListBox::DrawItem(int index, const RECT& rect, UINT) {
    FCanvas.FillRect(rect);
    FCanvas.TextOut(rect.left + 2, rect.top, ItemText(index));
}
