#pragma once
#include "Canvas.h"
#include "WinControl.h"

#include <functional>

// Serves the owner-draw request (CN_DRAWITEM) of a list or combo box: the canvas takes the
// control's font and colours, the highlight ones for a selected item; draw paints the item, and
// a request for no item (an empty list, nothing selected) only fills the rectangle; a focused
// item gets the focus rectangle.
void DrawOwnerItem(TMessage& message, TCanvas& canvas, const TWinControl& control,
                   const std::function<void(int index, const RECT& rect, UINT state)>& draw);

// The messages through which a list box or a combo box keeps its items.
struct TItemMessages {
    UINT Count, GetCurSel, SetCurSel, Reset, Add, SetData, GetTextLen, GetText, GetData;
};
extern const TItemMessages ListBoxMessages, ComboBoxMessages;

// The items of a list or combo box window, each a text with one value attached.
class TItemWindow {
public:
    TItemWindow(HWND window, const TItemMessages& messages) : FWindow(window), FMessages(messages) {}
    int Count() const;
    int ItemIndex() const;
    void SetItemIndex(int index) const;
    void Clear() const;
    // Adds an item; its value starts as 0 and is set only when data differs.
    int Add(const std::string& text, LPARAM data) const;
    std::string Text(int index) const;
    // The value attached to the item; -1 (LB_ERR, CB_ERR) for an index outside the list.
    LPARAM Data(int index) const;

private:
    HWND FWindow;
    const TItemMessages& FMessages;
};

// The platform's list control, owner-drawn with a fixed item height; each item is a text with
// one value attached. The items live in the control's window.
class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* owner);
    const char* ClassName() const override { return "TCustomListBox"; }

    int ItemHeight() const { return FItemHeight; }
    // A different height re-creates the window.
    void SetItemHeight(int value);

    TItemWindow Items() const { return {Handle(), ListBoxMessages}; }
    int Count() const { return Items().Count(); }
    int ItemIndex() const { return Items().ItemIndex(); }
    void SetItemIndex(int index) { Items().SetItemIndex(index); }
    void Clear() { Items().Clear(); }
    // Makes room for that many more items before a long run of AddItem.
    void Reserve(int count, size_t textBytes);
    int AddItem(const std::string& text, LPARAM data = 0) { return Items().Add(text, data); }
    std::string ItemText(int index) const { return Items().Text(index); }
    LPARAM ItemData(int index) const { return Items().Data(index); }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) const override;
    void CreateWnd() override;
    TCanvas& Canvas() { return FCanvas; }
    // Draws one item on Canvas(), whose font and colours are set for its state.
    virtual void DrawItem(int index, const RECT& rect, UINT state);
    virtual void DblClick() {}
    virtual void KeyPress(char key) { (void)key; }

private:
    int FItemHeight = 16;
    TCanvas FCanvas;
};
