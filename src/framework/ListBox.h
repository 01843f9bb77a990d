#pragma once
#include "Canvas.h"
#include "WinControl.h"

// The messages through which a list box or a combo box keeps its items.
struct TItemMessages {
    UINT Count, GetCurSel, SetCurSel, Reset, Add, SetData, GetTextLen, GetText, GetData;
};
extern const TItemMessages ListBoxMessages, ComboBoxMessages;

// The items of a list or combo box window, each a text with one value attached.
class TItemWindow {
  public:
    TItemWindow(HWND window, const TItemMessages& messages)
        : FWindow(window), FMessages(messages) {}
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

// What list and combo boxes share: items kept in the control's window, each a text with one
// value attached, a fixed item height, and owner drawing of each item.
class TItemControl : public TWinControl {
  public:
    TItemControl(TComponent* owner, const TItemMessages& messages);

    int ItemHeight() const { return FItemHeight; }
    // A different height re-creates the window.
    void SetItemHeight(int value);

    TItemWindow Items() const { return {Handle(), FMessages}; }
    int Count() const { return Items().Count(); }
    int ItemIndex() const { return Items().ItemIndex(); }
    void SetItemIndex(int index) { Items().SetItemIndex(index); }
    void Clear() { Items().Clear(); }
    int AddItem(const std::string& text, LPARAM data = 0) { return Items().Add(text, data); }
    std::string ItemText(int index) const { return Items().Text(index); }
    // The chosen item's text.
    std::string AccessibleValue() const override;
    LPARAM ItemData(int index) const { return Items().Data(index); }

    void WndProc(TMessage& message) override;

  protected:
    TCanvas& Canvas() { return FCanvas; }
    // Draws one item on Canvas(), whose font and colours are set for its state.
    virtual void DrawItem(int index, const RECT& rect, UINT state);

  private:
    void DrawOwnerItem(const DRAWITEMSTRUCT& request);

    const TItemMessages& FMessages;
    int FItemHeight = 16;
    TCanvas FCanvas;
};

// The platform's list control, owner-drawn with a fixed item height.
class TCustomListBox : public TItemControl {
  public:
    explicit TCustomListBox(TComponent* owner);
    const char* ClassName() const override { return "TCustomListBox"; }

    // Appends items without item data, in one run: room for all of them is made first, and
    // each goes straight to the platform's list, as the framework has nothing to do for them.
    void AddItems(const std::vector<std::string>& texts);

    void WndProc(TMessage& message) override;

  protected:
    void CreateParams(TCreateParams& params) const override;
    void CreateWnd() override;
    virtual void DblClick() {}
    virtual void KeyPress(char key) { (void)key; }
};
