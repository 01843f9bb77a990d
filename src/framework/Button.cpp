#include "Button.h"

#include "Form.h"

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 75, 25);
    TabStop = true;
}

void TButton::CreateParams(TCreateParams& params) const {
    TWinControl::CreateParams(params);
    params.BaseClass = "BUTTON";
    params.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
    if (ModalResult)
        for (TWinControl* parent = Parent(); parent; parent = parent->Parent())
            if (auto form = dynamic_cast<TForm*>(parent)) {
                form->ModalResult = ModalResult;
                break;
            }
    TWinControl::Click();
}

bool IsAccel(char character, const std::string& caption) {
    size_t marker = 0;
    while ((marker = caption.find('&', marker)) != std::string::npos &&
           marker + 1 < caption.size()) {
        if (caption[marker + 1] != '&') {
            char pair[2] = {character, caption[marker + 1]};
            CharLowerBuffA(pair, 2);
            return pair[0] == pair[1];
        }
        marker += 2;
    }
    return false;
}

void TButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (HIWORD(message.WParam) == BN_CLICKED)
            Click();
        return;
    case CN_KEYDOWN:
        if (message.WParam == VK_RETURN && Focused() && !ModifierHeld()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    case CM_DIALOGKEY:
        if ((message.WParam == VK_RETURN && Default) || (message.WParam == VK_ESCAPE && Cancel)) {
            Click();
            message.Result = 1;
        }
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(char(message.WParam), Caption()) && Enabled()) {
            Click();
            message.Result = 1;
        }
        return;
    }
    TWinControl::WndProc(message);
}
