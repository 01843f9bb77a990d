#pragma once
#include "FileCtrl/DirectoryListBox.h"
#include "framework/ComboBox.h"

enum TTextCase { tcLowerCase, tcUpperCase };

// The drive selector: one item per drive, with a picture of its kind and its letter followed by
// its volume label or network name. Choosing a drive moves the linked tree list to it.
class TDriveComboBox : public TCustomComboBox {
  public:
    explicit TDriveComboBox(TComponent* owner);
    const char* ClassName() const override { return "TDriveComboBox"; }

    TDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TDirectoryListBox* list);
    char DriveLetter = '\0';
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase value);
    TBitmap Floppy, Hard, Network, CDROM, Ram;
    TNotifyEvent OnChange;

    virtual void RefillDrives();
    // Selects the drive (0: none) and moves the linked tree list to it.
    void SelectDrive(char letter);
    // The volume label in brackets, in the letter's case; "[]" when the volume cannot be read.
    std::string VolumeText(char letter) const;
    // The network name behind the drive in the letter's case, else VolumeText.
    std::string RemoteText(char letter) const;
    void LoadPictures();
    void FitItemHeight();

    void WndProc(TMessage& message) override;

  protected:
    void Notification(TComponent* component, TOperation operation) override;
    void CreateWnd() override;
    void DrawItem(int index, const RECT& rect, UINT state) override;
    void Change() override;

  private:
    TDirectoryListBox* FDirList = nullptr;
    TTextCase FTextCase = tcLowerCase;
};

// Makes the drive selector known to window descriptions; RegisterFileControls calls it once.
void RegisterDriveSelector();
