#include "TForm3.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* owner) : TForm(owner) {
    ReadDescription("TFORM3");
    Bind(Memo1, "Memo1");
}
