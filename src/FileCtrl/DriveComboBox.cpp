#include "DriveComboBox.h"

#include "framework/CleanUp.h"
#include "framework/DescReader.h"
#include "framework/Exceptions.h"
#include "framework/Machine.h"
#include "framework/TextUtils.h"

// A label or network name in the case of the letter it belongs to, as a file name.
static std::string InCaseOf(char letter, std::string text) {
    if (BYTE(letter) < BYTE('a'))
        CharUpperBuffA(text.data(), DWORD(text.size()));
    else
        CharLowerBuffA(text.data(), DWORD(text.size()));
    return text;
}

TDriveComboBox::TDriveComboBox(TComponent* owner) : TCustomComboBox(owner) {
    LoadPictures();
    std::string current = Machine().CurrentDirectory();
    DriveLetter = current.empty() || current[0] == '\\' ? '\0' : current[0];
    FitItemHeight();
}

void TDriveComboBox::LoadPictures() {
    Floppy.LoadFromResourceName("FLOPPY");
    Hard.LoadFromResourceName("HARD");
    Network.LoadFromResourceName("NETWORK");
    CDROM.LoadFromResourceName("CDROM");
    Ram.LoadFromResourceName("RAM");
}

void TDriveComboBox::FitItemHeight() {
    int height = FontLineHeight(Font());
    SetItemHeight(height < Floppy.Height() ? Floppy.Height() : height);
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
    if (FDirList) {
        FDirList->LinkedSelector = nullptr;
        RemoveFreeNotification(FDirList);
    }
    FDirList = list;
    if (FDirList) {
        FDirList->LinkedSelector = this;
        FreeNotification(FDirList);
    }
}

void TDriveComboBox::Notification(TComponent* component, TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation == opRemove && component == FDirList)
        FDirList = nullptr;
}

void TDriveComboBox::SetTextCase(TTextCase value) {
    FTextCase = value;
    char remembered = DriveLetter;
    RefillDrives();
    SelectDrive(remembered);
}

void TDriveComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    RefillDrives();
    SelectDrive(DriveLetter);
}

void TDriveComboBox::WndProc(TMessage& message) {
    TCustomComboBox::WndProc(message);
    if (message.Msg == CM_FONTCHANGED)
        FitItemHeight();
}

void TDriveComboBox::RefillDrives() {
    Clear();
    DWORD drives = Machine().LogicalDrives();
    for (int n = 0; n < 26; n++) {
        if (!(drives & (1u << n)))
            continue;
        char letter = char('a' + n);
        UINT kind = Machine().DriveType(std::string(1, letter) + ":\\");
        if (FTextCase == tcUpperCase)
            letter = AsciiUpper(letter);
        std::string drive = std::string(1, letter) + ":";
        switch (kind) {
        case DRIVE_REMOVABLE:
            AddItem(drive, LPARAM(&Floppy));
            break;
        case DRIVE_FIXED:
            AddItem(drive + " " + VolumeText(letter), LPARAM(&Hard));
            break;
        case DRIVE_REMOTE:
            AddItem(drive + " " + RemoteText(letter), LPARAM(&Network));
            break;
        case DRIVE_CDROM:
            AddItem(drive + " " + VolumeText(letter), LPARAM(&CDROM));
            break;
        case DRIVE_RAMDISK:
            AddItem(drive + " " + VolumeText(letter), LPARAM(&Ram));
            break;
        }
    }
}

std::string TDriveComboBox::VolumeText(char letter) const {
    // No system prompt for a drive without a medium; the previous mode comes back whatever
    // happens.
    UINT previousMode = Machine().SetErrorMode(SEM_FAILCRITICALERRORS);
    TCleanUp restoreMode([previousMode] { Machine().SetErrorMode(previousMode); });
    std::string label;
    if (!Machine().VolumeLabel(std::string(1, letter) + ":\\", label))
        label.clear();
    return "[" + InCaseOf(letter, label) + "]";
}

std::string TDriveComboBox::RemoteText(char letter) const {
    std::string remote;
    if (!Machine().RemoteName(std::string(1, AsciiUpper(letter)) + ":", remote))
        return VolumeText(letter);
    return InCaseOf(letter, remote);
}

void TDriveComboBox::SelectDrive(char letter) {
    if (ItemIndex() >= 0 && AsciiUpper(letter) == AsciiUpper(DriveLetter))
        return;
    if (!letter) {
        DriveLetter = '\0';
        SetItemIndex(-1);
    } else {
        DriveLetter = FTextCase == tcUpperCase ? AsciiUpper(letter) : AsciiLower(letter);
        for (int i = 0; i < Count(); i++) {
            std::string text = ItemText(i);
            if (text.size() >= 2 && AsciiUpper(text[0]) == AsciiUpper(letter) && text[1] == ':') {
                SetItemIndex(i);
                break;
            }
        }
    }
    if (FDirList)
        FDirList->SwitchDrive(DriveLetter);
    if (OnChange)
        OnChange(this);
}

void TDriveComboBox::Change() {
    Click();
    if (int index = ItemIndex(); index >= 0)
        SelectDrive(ItemText(index)[0]);
}

void TDriveComboBox::DrawItem(int index, const RECT& rect, UINT) {
    TCanvas& canvas = Canvas();
    canvas.FillRect(rect);
    const auto* picture = reinterpret_cast<const TBitmap*>(ItemData(index));
    int width = 16;
    if (picture && LPARAM(picture) != CB_ERR) {
        width = picture->Width();
        picture->DrawTransparent(canvas.Handle(), rect.left + 2,
                                 (rect.top + rect.bottom - picture->Height()) / 2);
    }
    RECT text = rect;
    text.left += width + 6;
    std::string caption = ItemText(index);
    TSelection font(canvas.Handle(), canvas.Font.Handle());
    SetTextColor(canvas.Handle(), ColorToRGB(canvas.Font.Color()));
    SetBkMode(canvas.Handle(), TRANSPARENT);
    DrawTextA(canvas.Handle(), caption.c_str(), -1, &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void RegisterDriveSelector() {
    using P = const TDescProperty&;
    using R = TDescReader&;
    RegisterComponentClass<TDriveComboBox>("TDriveComboBox", "TCustomComboBox")
        .Property<TDriveComboBox>("DirList",
                                  [](TDriveComboBox& c, P p, R r) {
                                      r.Reference(p, [&c](TComponent* list) {
                                          c.SetDirList(dynamic_cast<TDirectoryListBox*>(list));
                                      });
                                  })
        .Property<TDriveComboBox>("TextCase", [](TDriveComboBox& c, P p, R r) {
            c.SetTextCase(TTextCase(r.Enum(p, {"tcLowerCase", "tcUpperCase"})));
        });
}
