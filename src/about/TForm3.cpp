#include "TForm3.h"

#include "framework/Machine.h"

TForm3* Form3 = nullptr;

const char* const AuthorMailAddress = "autor@tolvo.example";
const char* const AuthorWebHost = "www.tolvo.example";

TForm3::TForm3(TComponent* owner) : TForm(owner) {
    RegisterHandler("RxSpeedButton1Click", [this](TObject* s) { RxSpeedButton1Click(s); });
    RegisterHandler("RxSpeedButton2Click", [this](TObject* s) { RxSpeedButton2Click(s); });
    RegisterHandler("RxSpeedButton3Click", [this](TObject* s) { RxSpeedButton3Click(s); });
    ReadDescription("TFORM3");
    Bind(Image1, "Image1");
    Bind(Label1, "Label1");
    Bind(Label2, "Label2");
    Bind(Label3, "Label3");
    Bind(Bevel1, "Bevel1");
    Bind(RxSpeedButton1, "RxSpeedButton1");
    Bind(RxSpeedButton2, "RxSpeedButton2");
    Bind(RxSpeedButton3, "RxSpeedButton3");
    Bind(Memo1, "Memo1");
}

// "OK": the window only hides; it lives until the program ends.
void TForm3::RxSpeedButton1Click(TObject*) { Hide(); }

// "mail do autora": whatever the shell makes of it, even nothing, is not the program's to report.
void TForm3::RxSpeedButton2Click(TObject*) {
    Machine().OpenUrl(Handle(), std::string("mailto:") + AuthorMailAddress);
}

// "strona WWW autora"
void TForm3::RxSpeedButton3Click(TObject*) {
    Machine().OpenUrl(Handle(), std::string("http://") + AuthorWebHost);
}

bool TForm3::IsShortCut(WPARAM key, LPARAM keyData) { return ClickForKey(KeyButton(key), keyData); }

TRxSpeedButton* TForm3::KeyButton(WPARAM key) const {
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0)
        return nullptr;
    bool alt = GetKeyState(VK_MENU) < 0;
    if (!alt && (key == VK_ESCAPE || key == VK_RETURN))
        return RxSpeedButton1;
    if (alt && key == 'M')
        return RxSpeedButton2;
    if (alt && key == 'W')
        return RxSpeedButton3;
    return nullptr;
}
