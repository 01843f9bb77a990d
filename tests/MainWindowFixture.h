#pragma once
#include "ProgramFixture.h"
#include "about/TForm3.h"
#include "main/TForm1.h"

inline void Press(TControl* button) { ClickWindowless(button); }

// The program's two windows, built in a scratch folder, with the stand-in archiver recording
// into that folder.
class MainWindow : public TProgramTest {
  protected:
    void SetUp() override {
        TProgramTest::SetUp();
        SetEnvironmentVariableA("TOLVO_ACE_LOG", (Scratch.Path + "\\ace.log").c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableA("TOLVO_ACE_LOG", nullptr);
        UnpackCommand.clear();
        TApplicationTest::TearDown();
    }
    // Waits until the stand-in archiver has written its whole record.
    bool ArchiverRan() const {
        for (int i = 0; i < 500; i++, Sleep(20)) {
            std::string record = Scratch.Read("ace.log");
            if (record.size() >= 4 && record.compare(record.size() - 4, 4, "end\n") == 0)
                return true;
        }
        return false;
    }
    TScratchFolder Scratch;
};
