#pragma once
#include "RXCtrls/RxSpeedButton.h"
#include "framework/Bevel.h"
#include "framework/Form.h"
#include "framework/Image.h"
#include "framework/Label.h"
#include "framework/Memo.h"

// The about window: the program's icon, name, version and author, the readme, and the
// author's links.
class TForm3 : public TForm {
  public:
    explicit TForm3(TComponent* owner);
    const char* ClassName() const override { return "TForm3"; }

    TImage* Image1;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TBevel* Bevel1;
    TRxSpeedButton* RxSpeedButton1;
    TRxSpeedButton* RxSpeedButton2;
    TRxSpeedButton* RxSpeedButton3;
    TMemo* Memo1;

    void RxSpeedButton1Click(TObject* sender);
    void RxSpeedButton2Click(TObject* sender);
    void RxSpeedButton3Click(TObject* sender);

    // Escape and Enter: "OK"; Alt+M: "mail do autora"; Alt+W: "strona WWW autora".
    bool IsShortCut(WPARAM key, LPARAM keyData) override;

  private:
    TRxSpeedButton* KeyButton(WPARAM key) const;
};

extern TForm3* Form3;

// Where the author's links lead.
extern const char* const AuthorMailAddress;
extern const char* const AuthorWebHost;
