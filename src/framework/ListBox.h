#pragma once
#include "Canvas.h"
#include "WinControl.h"

#include <functional>

// Serves an owner-draw request of a list or combo box: the canvas takes the control's font and
// colours, the highlight ones for a selected item; draw paints the item, and a request for no
// item (an empty list, nothing selected) only fills the rectangle; a focused item gets the
// focus rectangle.
void DrawOwnerItem(TCanvas& canvas, const TWinControl& control, const DRAWITEMSTRUCT& request,
                   const std::function<void(int index, const RECT& rect, UINT state)>& draw);

// The platform's list control, owner-drawn with a fixed item height; each item is a text with
// one value attached. The items live in the control's window.
class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* owner);
    const char* ClassName() const override { return "TCustomListBox"; }

    int ItemHeight() const { return FItemHeight; }
    // A different height re-creates the window.
    void SetItemHeight(int value);

    int Count() const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    void Clear();
    // Makes room for that many more items before a long run of AddItem.
    void Reserve(int count, size_t textBytes);
    // Adds an item; its value starts as 0 and is set only when data differs.
    int AddItem(const std::string& text, LPARAM data = 0);
    std::string ItemText(int index) const;
    // The value attached to the item; -1 (LB_ERR) for an index outside the list.
    LPARAM ItemData(int index) const;

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
