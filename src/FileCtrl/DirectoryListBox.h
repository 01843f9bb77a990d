#pragma once
#include "FileCtrl/PathScan.h"
#include "framework/ListBox.h"
#include "framework/Picture.h"

#include <map>
#include <string>
#include <vector>

class TDriveComboBox;

// The directory tree list: the root of the shown directory's drive or share, each ancestor, the
// directory itself, then its subdirectories in sorted order. Opening an item (double-click or
// Enter) makes it the process's current directory and the shown one; a click or an arrow key
// only moves the highlight.
class TDirectoryListBox : public TCustomListBox {
  public:
    explicit TDirectoryListBox(TComponent* owner);
    const char* ClassName() const override { return "TDirectoryListBox"; }

    TDriveComboBox* LinkedSelector = nullptr;
    bool InDriveSwitch = false;
    bool NamesKeepCase = true;
    bool NamesCaseSensitive = false;
    TBitmap ClosedFolder, OpenFolder, CurrentFolder;
    std::string ActivePath;
    TNotifyEvent OnChange;

    // The picture of the item, which tells its kind; EListError for an index outside the list.
    const TBitmap* Picture(int index) const;
    // The full path of the item; empty past the end; EListError for a negative index.
    std::string ItemPath(int index) const;
    void OpenSelected();
    virtual void ChangeDirectory(const std::string& path);
    virtual void NotifyChange();
    virtual void LoadPictures();
    virtual void Rebuild();
    void SwitchDrive(char letter);
    // The first character of ActivePath: the drive letter, or a backslash on a share.
    char ActiveDrive() const;
    std::string ShownName(const std::string& text) const;
    // Whether the two paths name the same directory on this volume.
    bool IsSameDirectory(const std::string& a, const std::string& b) const;
    void FitItemHeight();

    void WndProc(TMessage& message) override;

  protected:
    void Notification(TComponent* component, TOperation operation) override;
    void CreateWnd() override;
    void DrawItem(int index, const RECT& rect, UINT state) override;
    void DblClick() override { OpenSelected(); }
    void KeyPress(char key) override;

  private:
    TTargetText ResolveTarget(const std::string& text, const std::string& saved) const;
    bool EnterFolder(const std::string& name) const;
    void FollowDrive(char drive);
    DWORD GoBack(const std::string& saved) const;
    std::string MovedTo() const;
    DWORD ReadVolumeFlags(const std::string& root);

    // The flags of the volumes shown since the user last switched drives, by root.
    std::map<std::string, DWORD> FVolumeFlags;

    // The subfolder items whose names the code page cannot spell exactly, in order.
    std::vector<int> FUnspellable;
};

// The subdirectories of a directory, neither hidden nor system, in the order a case-insensitive
// comparison in the user's locale gives; of names equal but for case the first enumerated is
// kept, unless a later one is spelled exactly and the first is not. Returns how many were found;
// unspellable, when given, receives the positions in names of those the code page cannot spell
// exactly.
int CollectSubfolders(const std::string& directory, std::vector<std::string>& names,
                      std::vector<size_t>* unspellable = nullptr);

// Makes the tree list and the drive selector known to window descriptions (once).
void RegisterFileControls();
