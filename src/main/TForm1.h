#pragma once
#include "framework/Form.h"

// The main window: the archive, the destination and the four command buttons.
class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* owner);
    const char* ClassName() const override { return "TForm1"; }
};

extern TForm1* Form1;
