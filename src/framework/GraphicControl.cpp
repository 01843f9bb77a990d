#include "GraphicControl.h"

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& message) {
    if (message.Msg == WM_PAINT && message.WParam) {
        FCanvas.SetHandle(HDC(message.WParam));
        FCanvas.Font.Assign(Font());
        Paint();
        FCanvas.SetHandle(nullptr);
        return;
    }
    TControl::WndProc(message);
}
