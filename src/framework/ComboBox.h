#pragma once
#include "ListBox.h"

// The platform's combo box as a drop-down list without an edit field, owner-drawn with a fixed
// item height; the dropped list shows DropDownCount items before it scrolls.
class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* owner);
    const char* ClassName() const override { return "TCustomComboBox"; }

    int ItemHeight() const { return FItemHeight; }
    // A different height re-creates the window.
    void SetItemHeight(int value);
    int DropDownCount = 8;

    TItemWindow Items() const { return {Handle(), ComboBoxMessages}; }
    int Count() const { return Items().Count(); }
    int ItemIndex() const { return Items().ItemIndex(); }
    void SetItemIndex(int index) { Items().SetItemIndex(index); }
    void Clear() { Items().Clear(); }
    int AddItem(const std::string& text, LPARAM data) { return Items().Add(text, data); }
    std::string ItemText(int index) const { return Items().Text(index); }
    LPARAM ItemData(int index) const { return Items().Data(index); }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) const override;
    void CreateWnd() override;
    TCanvas& Canvas() { return FCanvas; }
    virtual void DrawItem(int index, const RECT& rect, UINT state);
    // The selection changed: a choice in the dropped list or an arrow key on the closed control.
    virtual void Change() {}

private:
    int FItemHeight = 16;
    TCanvas FCanvas;
};
