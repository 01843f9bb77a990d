#pragma once
#include "FileCtrl/DriveComboBox.h"
#include "RXCtrls/RxSpeedButton.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/GroupBox.h"
#include "framework/Image.h"
#include "framework/Label.h"
#include "main/OpenDialog.h"

#include <string>
#include <vector>

// The main window: the archive, the destination and the four command buttons.
class TForm1 : public TForm {
  public:
    explicit TForm1(TComponent* owner);
    const char* ClassName() const override { return "TForm1"; }

    TImage* Image1;
    TRxSpeedButton* RxSpeedButton1;
    TRxSpeedButton* RxSpeedButton2;
    TRxSpeedButton* RxSpeedButton3;
    TRxSpeedButton* RxSpeedButton4;
    TGroupBox* GroupBox1;
    TLabel* Label2;
    TGroupBox* GroupBox2;
    TEdit* Edit1;
    TDirectoryListBox* DirectoryListBox1;
    TDriveComboBox* DriveComboBox1;
    TOpenDialog* OpenDialog1;

    void RxSpeedButton1Click(TObject* sender);
    void RxSpeedButton2Click(TObject* sender);
    void RxSpeedButton3Click(TObject* sender);
    void RxSpeedButton4Click(TObject* sender);
    void DirectoryListBox1Change(TObject* sender);

    // Files and folders dropped on the window, in the order the drop gives them: the first file
    // becomes the archive as if chosen in the open dialog; with folders only, the tree list
    // moves to the first. A missing file or one whose name the code page cannot spell is
    // reported and changes nothing.
    void TakeDropped(const std::vector<std::wstring>& items);
    // The arguments the program was started with (its own name left out), kept until the window
    // is shown (the loop shows it before it takes the message posted here) and then taken as
    // TakeArguments says. The item they name is made full at once, against the folder the
    // program was started in.
    void TakeArgumentsWhenShown(const std::vector<std::wstring>& arguments);

    bool IsShortCut(WPARAM key, LPARAM keyData) override;

  protected:
    void CreateParams(TCreateParams& params) const override;
    void WndProc(TMessage& message) override;

  private:
    TRxSpeedButton* KeyButton(WPARAM key) const;
    void TakeArguments();

    std::vector<std::wstring> FArguments; // as given, until they are taken
    std::wstring FArgumentItem;           // the item they name, in full
};

extern TForm1* Form1;

// The last unpack command line ("the command string"); empty until the first "Rozpakuj".
extern std::string UnpackCommand;
