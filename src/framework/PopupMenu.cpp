#include "PopupMenu.h"

#include "AppLink.h"
#include "Exceptions.h"

void TPopupMenu::Popup(int x, int y) {
    HMENU menu = CreatePopupMenu();
    if (!menu)
        RaiseOutOfResources();
    for (size_t i = 0; i < Items.size(); ++i)
        AppendMenuA(menu, MF_STRING, i + 1, Items[i].Caption.c_str());
    HWND owner = AppLink() ? AppLink()->OwnerWindow() : nullptr;
    UINT chosen = UINT(TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y,
        0, owner, nullptr));
    DestroyMenu(menu);
    if (chosen && Items[chosen - 1].OnClick)
        Items[chosen - 1].OnClick(this);
}
