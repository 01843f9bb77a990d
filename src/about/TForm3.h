#pragma once
#include "framework/Form.h"
#include "framework/Memo.h"

// The about window: the program's name, the readme and the author's links.
class TForm3 : public TForm {
public:
    explicit TForm3(TComponent* owner);
    const char* ClassName() const override { return "TForm3"; }

    TMemo* Memo1;
};

extern TForm3* Form3;
