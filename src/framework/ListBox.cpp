#include "ListBox.h"

const TItemMessages ListBoxMessages{LB_GETCOUNT,     LB_GETCURSEL, LB_SETCURSEL,
                                    LB_RESETCONTENT, LB_ADDSTRING, LB_SETITEMDATA,
                                    LB_GETTEXTLEN,   LB_GETTEXT,   LB_GETITEMDATA};
const TItemMessages ComboBoxMessages{CB_GETCOUNT,     CB_GETCURSEL, CB_SETCURSEL,
                                     CB_RESETCONTENT, CB_ADDSTRING, CB_SETITEMDATA,
                                     CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETITEMDATA};

int TItemWindow::Count() const { return int(SendMessageA(FWindow, FMessages.Count, 0, 0)); }

int TItemWindow::ItemIndex() const { return int(SendMessageA(FWindow, FMessages.GetCurSel, 0, 0)); }

void TItemWindow::SetItemIndex(int index) const {
    SendMessageA(FWindow, FMessages.SetCurSel, index, 0);
}

void TItemWindow::Clear() const { SendMessageA(FWindow, FMessages.Reset, 0, 0); }

int TItemWindow::Add(const std::string& text, LPARAM data) const {
    int index = int(SendMessageA(FWindow, FMessages.Add, 0, LPARAM(text.c_str())));
    if (data)
        SendMessageA(FWindow, FMessages.SetData, index, data);
    return index;
}

std::string TItemWindow::Text(int index) const {
    LRESULT length = SendMessageA(FWindow, FMessages.GetTextLen, index, 0);
    if (length < 0)
        return "";
    std::string text(length + 1, '\0');
    text.resize(SendMessageA(FWindow, FMessages.GetText, index, LPARAM(text.data())));
    return text;
}

LPARAM TItemWindow::Data(int index) const {
    return SendMessageA(FWindow, FMessages.GetData, index, 0);
}

TItemControl::TItemControl(TComponent* owner, const TItemMessages& messages)
    : TWinControl(owner), FMessages(messages) {
    SetColor(clWindow);
    TabStop = true;
}

void TItemControl::SetItemHeight(int value) {
    if (value <= 0 || value == FItemHeight)
        return;
    FItemHeight = value;
    RecreateWnd();
}

void TItemControl::WndProc(TMessage& message) {
    if (message.Msg == CN_DRAWITEM) {
        DrawOwnerItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = 1;
        return;
    }
    TWinControl::WndProc(message);
}

// The canvas takes the control's font and colours, the highlight ones for a selected item; a
// request for no item (an empty list, nothing selected) only fills the rectangle; a focused item
// gets the focus rectangle.
void TItemControl::DrawOwnerItem(const DRAWITEMSTRUCT& request) {
    FCanvas.SetHandle(request.hDC);
    FCanvas.Font.Assign(Font());
    FCanvas.Font.SetColor(ReadableTextColor(Font().Color(), Color()));
    FCanvas.BrushColor = Color();
    if (request.itemState & ODS_SELECTED) {
        FCanvas.BrushColor = clHighlight;
        FCanvas.Font.SetColor(clHighlightText);
    }
    if (int(request.itemID) >= 0)
        DrawItem(int(request.itemID), request.rcItem, request.itemState);
    else
        FCanvas.FillRect(request.rcItem);
    if (request.itemState & ODS_FOCUS)
        DrawFocusRect(request.hDC, &request.rcItem);
    FCanvas.SetHandle(nullptr);
}

void TItemControl::DrawItem(int index, const RECT& rect, UINT) {
    FCanvas.FillRect(rect);
    FCanvas.TextOut(rect.left + 2, rect.top, ItemText(index));
}

TCustomListBox::TCustomListBox(TComponent* owner) : TItemControl(owner, ListBoxMessages) {
    SetBounds(0, 0, 121, 97);
}

void TCustomListBox::CreateParams(TCreateParams& params) const {
    TWinControl::CreateParams(params);
    params.BaseClass = "LISTBOX";
    params.Style |=
        LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, ItemHeight());
}

void TCustomListBox::AddItems(const std::vector<std::string>& texts) {
    size_t bytes = 0;
    for (const std::string& text : texts)
        bytes += text.size() + 1;
    CallDefault(LB_INITSTORAGE, texts.size(), LPARAM(bytes));
    for (const std::string& text : texts)
        CallDefault(LB_ADDSTRING, 0, LPARAM(text.c_str()));
}

void TCustomListBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (HIWORD(message.WParam) == LBN_DBLCLK)
            DblClick();
        return;
    case WM_CHAR:
        TItemControl::WndProc(message);
        KeyPress(char(message.WParam));
        return;
    }
    TItemControl::WndProc(message);
}

std::string TItemControl::AccessibleValue() const {
    int index = ItemIndex();
    return index >= 0 ? ItemText(index) : "";
}
