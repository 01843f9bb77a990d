#include "TForm1.h"

#include "about/Readme.h"
#include "about/TForm3.h"
#include "framework/Machine.h"
#include "main/UnpackCommand.h"
#include "shell/Application.h"
#include "shell/MessageDialog.h"

TForm1* Form1 = nullptr;
std::string UnpackCommand;

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    RegisterRxControls();
    RegisterOpenDialog();
    RegisterFileControls();
    RegisterHandler("RxSpeedButton1Click", [this](TObject* s) { RxSpeedButton1Click(s); });
    RegisterHandler("RxSpeedButton2Click", [this](TObject* s) { RxSpeedButton2Click(s); });
    RegisterHandler("RxSpeedButton3Click", [this](TObject* s) { RxSpeedButton3Click(s); });
    RegisterHandler("RxSpeedButton4Click", [this](TObject* s) { RxSpeedButton4Click(s); });
    RegisterHandler("DirectoryListBox1Change", [this](TObject* s) { DirectoryListBox1Change(s); });
    ReadDescription("TFORM1");
    Bind(Image1, "Image1");
    Bind(RxSpeedButton1, "RxSpeedButton1");
    Bind(RxSpeedButton2, "RxSpeedButton2");
    Bind(RxSpeedButton3, "RxSpeedButton3");
    Bind(RxSpeedButton4, "RxSpeedButton4");
    Bind(GroupBox1, "GroupBox1");
    Bind(Label2, "Label2");
    Bind(GroupBox2, "GroupBox2");
    Bind(Edit1, "Edit1");
    Bind(DirectoryListBox1, "DirectoryListBox1");
    Bind(DriveComboBox1, "DriveComboBox1");
    Bind(OpenDialog1, "OpenDialog1");
}

// "Otwórz": the label shows the stored archive path, whatever the user chose in the dialog.
void TForm1::RxSpeedButton1Click(TObject*) {
    OpenDialog1->RunDialog();
    Label2->SetCaption(OpenDialog1->FileName);
}

// "Rozpakuj": the archiver is started first; the warning about the destination comes after and
// is about the folder the archiver receives. A device is never a folder to unpack into: for one
// the warning is all that happens.
void TForm1::RxSpeedButton2Click(TObject*) {
    UnpackCommand = BuildUnpackCommand(OpenDialog1->FileName, Edit1->Text());
    std::string destination = ArgumentAsReceived(Edit1->Text());
    if (!NamesDevice(destination, Machine().CodePage()))
        StartArchiver(UnpackCommand);
    if (!IsExistingDirectory(destination))
        ShowPlainMessage("Wskazany katalog docelowy nie istnieje!");
}

// "Wyjdź"
void TForm1::RxSpeedButton3Click(TObject*) { Application->RequestExit(); }

// "O programie": the readme is read anew at every click; a failed load leaves the window as it was.
// A window already shown only takes the new text: it is neither activated nor moved.
void TForm1::RxSpeedButton4Click(TObject*) {
    LoadReadme(Form3->Memo1->Lines());
    Form3->Show();
}

// The keyboard's way to the command buttons, which take no focus: Enter in the destination field
// is "Rozpakuj", Ctrl+O "Otwórz" and F1 "O programie" (the readme is the program's help). A held
// key acts once, at its first press: a repeated Enter must not start a second archiver. While a
// dialog has the window locked, a key still queued for it does nothing.
bool TForm1::IsShortCut(WPARAM key, LPARAM keyData) {
    TRxSpeedButton* button = KeyButton(key);
    if (!button)
        return false;
    bool repeated = HIWORD(keyData) & KF_REPEAT;
    if (!repeated && IsWindowEnabled(Handle()))
        button->Click();
    return true;
}

TRxSpeedButton* TForm1::KeyButton(WPARAM key) const {
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0)
        return nullptr;
    bool control = GetKeyState(VK_CONTROL) < 0;
    if (key == VK_RETURN && !control && Edit1->Focused())
        return RxSpeedButton2;
    if (key == 'O' && control)
        return RxSpeedButton1;
    if (key == VK_F1 && !control)
        return RxSpeedButton4;
    return nullptr;
}

// The tree list moved: the destination field shows the full path of the shown directory.
void TForm1::DirectoryListBox1Change(TObject*) {
    Edit1->SetText(DirectoryListBox1->ItemPath(DirectoryListBox1->ItemIndex()));
}
