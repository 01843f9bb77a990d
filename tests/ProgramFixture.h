#pragma once
#include "TestSupport.h"
#include "about/TForm3.h"
#include "main/Program.h"
#include "main/TForm1.h"

// The program's two windows made as the program makes them, under its title; the main window
// shown when asked.
class TProgramTest : public TApplicationTest {
  protected:
    void SetUp() override {
        TApplicationTest::SetUp();
        CreateProgramWindows(*App);
        if (ShowMainWindow)
            Form1->Show();
    }
    bool ShowMainWindow = true;
};
