#include "Program.h"

#include "FileCtrl/DirectoryListBox.h"
#include "RXCtrls/RxSpeedButton.h"
#include "about/TForm3.h"
#include "main/OpenDialog.h"
#include "main/TForm1.h"

void RegisterProgramClasses() {
    RegisterRxControls();
    RegisterOpenDialog();
    RegisterFileControls();
}

void CreateProgramWindows(TApplication& application) {
    application.SetTitle("Tolvo");
    RegisterProgramClasses();
    application.AddForm(Form1);
    application.AddForm(Form3);
}
