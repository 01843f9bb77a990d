#include "DirectoryListBox.h"

#include "FileCtrl/DriveComboBox.h"
#include "FileCtrl/PathScan.h"
#include "framework/DescReader.h"
#include "framework/Exceptions.h"
#include "framework/Machine.h"
#include "framework/TextUtils.h"

#include <algorithm>
#include <cstring>

// Changes the process's current directory or raises the directory-change error.
static void ChangeTo(const std::string& path) {
    if (DWORD code = Machine().ChangeDirectory(path))
        throw EInOutError(code);
}

static UINT CodePage() { return Machine().CodePage(); }

TDirectoryListBox::TDirectoryListBox(TComponent* owner) : TCustomListBox(owner) {
    SetWidth(145);
    LoadPictures();
    ActivePath = Machine().CurrentDirectory();
    FitItemHeight();
}

void TDirectoryListBox::LoadPictures() {
    ClosedFolder.LoadFromResourceName("CLOSEDFOLDER");
    OpenFolder.LoadFromResourceName("OPENFOLDER");
    CurrentFolder.LoadFromResourceName("CURRENTFOLDER");
}

void TDirectoryListBox::FitItemHeight() {
    int height = FontLineHeight(Font());
    if (height < OpenFolder.Height() + 1)
        height = OpenFolder.Height() + 1;
    SetItemHeight(height);
}

void TDirectoryListBox::Notification(TComponent* component, TOperation operation) {
    TCustomListBox::Notification(component, operation);
    if (operation == opRemove && component == LinkedSelector)
        LinkedSelector = nullptr;
}

void TDirectoryListBox::WndProc(TMessage& message) {
    TCustomListBox::WndProc(message);
    if (message.Msg == CM_FONTCHANGED)
        FitItemHeight();
}

void TDirectoryListBox::CreateWnd() {
    TCustomListBox::CreateWnd();
    Rebuild();
}

void TDirectoryListBox::KeyPress(char key) {
    if (key == '\r')
        OpenSelected();
}

namespace {
bool EndsWithBackslash(const std::string& text, UINT codePage) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < text.size(); i = NextChar(text, i, codePage))
        last = i;
    return last != std::string::npos && text[last] == '\\';
}
} // namespace

void TDirectoryListBox::Rebuild() {
    TRedrawLock redraw(Handle(), false);
    Clear();
    UINT codePage = CodePage();
    std::string root = DrivePart(ActivePath, codePage) + "\\";
    auto known = FVolumeFlags.find(root);
    DWORD flags = known != FVolumeFlags.end() ? known->second : ReadVolumeFlags(root);
    NamesKeepCase = (flags & (FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES)) != 0;
    NamesCaseSensitive = (flags & FILE_CASE_SENSITIVE_SEARCH) != 0;
    // An item's value names its picture; subfolders, by far the most items, keep the value 0
    // and are added in one run.
    auto add = [this](const std::string& text, const TBitmap& picture) {
        AddItem(text, LPARAM(&picture));
    };
    std::string rest = ActivePath;
    bool first = true;
    if (root.size() >= 2 && root[1] == '\\') {
        add(root, OpenFolder);
        rest = ActivePath.size() > root.size() ? ActivePath.substr(root.size()) : "";
        first = false;
    }
    if (!rest.empty()) {
        if (!EndsWithBackslash(rest, codePage))
            for (size_t at; (at = FindChar(rest, '\\', 0, codePage)) != std::string::npos;) {
                add(rest.substr(0, at) + (first ? "\\" : ""), OpenFolder);
                rest.erase(0, at + 1);
                first = false;
            }
        add(rest, CurrentFolder);
    }
    int selected = Count() - 1;
    std::vector<std::string> names;
    std::vector<size_t> unspellable;
    CollectSubfolders(ActivePath, names, &unspellable);
    int firstSubfolder = Count();
    AddItems(names);
    FUnspellable.clear();
    for (size_t at : unspellable)
        FUnspellable.push_back(firstSubfolder + int(at));
    SetItemIndex(selected);
}

// A volume's flags are read when its root is first shown and kept, also while moves pass to other
// drives and back, until the user switches drives. A volume that cannot be asked keeps case and
// does not tell it apart.
DWORD TDirectoryListBox::ReadVolumeFlags(const std::string& root) {
    DWORD flags = FS_CASE_IS_PRESERVED;
    if (!Machine().VolumeFlags(root, flags))
        flags = FS_CASE_IS_PRESERVED;
    return FVolumeFlags[root] = flags;
}

// The case-insensitive sort key of a name in the user's locale.
static std::string SortKey(const std::string& name) {
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    char buffer[512];
    int length = LCMapStringA(LOCALE_USER_DEFAULT, flags, name.data(), int(name.size()), buffer,
                              sizeof buffer);
    if (length > 0)
        return std::string(buffer, length);
    std::string key(
        LCMapStringA(LOCALE_USER_DEFAULT, flags, name.data(), int(name.size()), nullptr, 0), '\0');
    LCMapStringA(LOCALE_USER_DEFAULT, flags, name.data(), int(name.size()), key.data(),
                 int(key.size()));
    return key;
}

int CollectSubfolders(const std::string& directory, std::vector<std::string>& names,
                      std::vector<size_t>* unspellable) {
    std::vector<std::string> found;
    std::vector<bool> inexact;
    const DWORD passedOver = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 8 /* volume label */;
    auto visit = [&](DWORD attributes, const char* name, bool exact) {
        if ((attributes & passedOver) || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) {
            found.emplace_back(name);
            inexact.push_back(!exact);
        }
    };
    Machine().Enumerate(JoinPath(directory, "*.*", CodePage()), visit);
    // The order is the one CompareStringA gives with the ignore-case flag, and of names equal
    // under it the first found is kept: as placing each name by binary search and dropping an
    // equal one would. Each name's sort key is made once; comparing keys byte by byte gives the
    // same order as comparing the names, at a fraction of the cost. A name spelled exactly goes
    // before an equal one that only looks like it, so that the one listed is the one opened.
    struct TKeyed {
        std::string Key;
        bool Inexact;
        size_t Index;
    };
    std::vector<TKeyed> keyed;
    keyed.reserve(found.size());
    for (size_t i = 0; i < found.size(); i++)
        keyed.push_back({SortKey(found[i]), inexact[i], i});
    std::stable_sort(keyed.begin(), keyed.end(), [](const TKeyed& a, const TKeyed& b) {
        int order = a.Key.compare(b.Key);
        return order < 0 || (order == 0 && a.Inexact < b.Inexact);
    });
    keyed.erase(std::unique(keyed.begin(), keyed.end(),
                            [](const TKeyed& a, const TKeyed& b) { return a.Key == b.Key; }),
                keyed.end());
    std::vector<std::string> sorted;
    sorted.reserve(keyed.size());
    if (unspellable)
        unspellable->clear();
    for (const TKeyed& entry : keyed) {
        if (unspellable && entry.Inexact)
            unspellable->push_back(sorted.size());
        sorted.push_back(std::move(found[entry.Index]));
    }
    int count = int(found.size());
    names = std::move(sorted);
    return count;
}

const TBitmap* TDirectoryListBox::Picture(int index) const {
    LPARAM data = ItemData(index);
    if (data == LB_ERR)
        throw EListError(Format("List index out of bounds (%d)", index));
    return data ? reinterpret_cast<const TBitmap*>(data) : &ClosedFolder;
}

std::string TDirectoryListBox::ItemPath(int index) const {
    if (index >= Count())
        return "";
    const TBitmap* picture = Picture(index);
    UINT codePage = CodePage();
    std::string drive = DrivePart(ActivePath, codePage);
    if (index == 0)
        return drive + "\\";
    if (picture == &ClosedFolder)
        return JoinPath(ActivePath, ItemText(index), codePage);
    if (picture == &CurrentFolder)
        return ActivePath;
    std::string tail = ActivePath.substr(drive.size());
    int separators = 0;
    size_t at = 0;
    for (; at < tail.size(); at = NextChar(tail, at, codePage))
        if (tail[at] == '\\' && ++separators == index + 1)
            break;
    return drive + tail.substr(0, at);
}

// A subfolder whose name the code page cannot spell exactly is opened by no 8-bit path: its
// spelling names another folder or none. It fails as a name with wildcards does.
void TDirectoryListBox::OpenSelected() {
    if (std::binary_search(FUnspellable.begin(), FUnspellable.end(), ItemIndex()))
        throw EInOutError(ERROR_INVALID_NAME);
    ChangeDirectory(ItemPath(ItemIndex()));
}

// The target is resolved by entering it, and the move stays there: the list is read from the
// current directory it left. Any failure on the way puts the current directory back, and the
// selector follows only a move that succeeded.
void TDirectoryListBox::ChangeDirectory(const std::string& path) {
    if (path.empty() || IsSameDirectory(path, ActivePath))
        return;
    std::string saved = Machine().CurrentDirectory();
    try {
        TTargetText target = ResolveTarget(path, saved);
        // A pattern left over is how the platform spells a name the code page cannot: there is
        // no directory to move to. A plain file left over (a folder replaced by a file behind the
        // list) is passed by: the directory around it is entered and read anew.
        if (target.Name.find_first_of("*?") != std::string::npos)
            throw EInOutError(ERROR_INVALID_NAME);
        std::string moved = MovedTo();
        if (ActiveDrive() != target.Drive)
            FollowDrive(target.Drive);
        ActivePath = moved;
    } catch (...) {
        if (DWORD code = GoBack(saved))
            throw EInOutError(code);
        throw;
    }
    Rebuild();
    NotifyChange();
}

// Shows the drive in the linked selector, which leaves the list alone meanwhile.
void TDirectoryListBox::FollowDrive(char drive) {
    if (!LinkedSelector)
        return;
    InDriveSwitch = true;
    try {
        LinkedSelector->SelectDrive(drive);
    } catch (...) {
        InDriveSwitch = false;
        throw;
    }
    InDriveSwitch = false;
}

// Enters the directory the text names, relative to the current directory saved, and leaves the
// current directory there; the name is cleared once it has been entered as a folder.
TTargetText TDirectoryListBox::ResolveTarget(const std::string& text,
                                             const std::string& saved) const {
    UINT codePage = CodePage();
    TTargetText target = SplitTarget(text, saved, codePage);
    const std::string& directory = target.Directory;
    std::string& name = target.Name;
    bool plainName = !name.empty() && name.find_first_of("*?") == std::string::npos;
    // A directory part from the root needs only the root: the directory the drive keeps as its
    // current one may have been removed. Such a target, the one every opened item names, is
    // first entered in one step; the steps below tell what stands in its way when that fails.
    bool fromRoot = !directory.empty() && directory[0] == '\\';
    if (fromRoot && plainName &&
        Machine().ChangeDirectory(target.Root + EnteredDirectory(directory, name)) == 0) {
        name.clear();
        return target;
    }
    ChangeTo(fromRoot ? target.Root + "\\" : target.Root);
    if (!directory.empty())
        ChangeTo(directory);
    if (plainName && EnterFolder(name))
        name.clear();
    return target;
}

// Enters the folder of that name in the current directory: true when entered, false when the
// name is a plain file (the current directory stays beside it); the directory-change error
// otherwise.
bool TDirectoryListBox::EnterFolder(const std::string& name) const {
    DWORD code = Machine().ChangeDirectory(name);
    if (code == 0)
        return true;
    DWORD attributes = Machine().FileAttributes(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    throw EInOutError(code);
}

// Puts the current directory back where it was before a target was looked at, or, when that
// cannot be entered any more, in the shown directory, so that nothing the program resolves
// afterwards lands in a folder the list does not show. 0, or the error of entering the shown
// directory when neither can be entered.
DWORD TDirectoryListBox::GoBack(const std::string& saved) const {
    if (Machine().ChangeDirectory(saved) == 0)
        return 0;
    return Machine().ChangeDirectory(ActivePath);
}

void TDirectoryListBox::SwitchDrive(char letter) {
    // A move that passes to another drive has entered its target already and reads the list
    // itself: the selector only shows the drive.
    if (InDriveSwitch || AsciiUpper(letter) == AsciiUpper(ActiveDrive()))
        return;
    FVolumeFlags.clear();
    if (letter) {
        ChangeTo(std::string(1, letter) + ":");
        ActivePath = MovedTo();
    }
    Rebuild();
    NotifyChange();
}

// The current directory after a move. The platform adds a backslash of its own to the current
// directory, so it holds no more than MAX_PATH - 2 characters; some platforms enter a longer one
// all the same and then fail to report it, or fail to start a program from it. Such a move fails
// and goes back to the list's own directory.
std::string TDirectoryListBox::MovedTo() const {
    std::string current = Machine().CurrentDirectory();
    if (current.empty() || current.size() > MAX_PATH - 2) {
        Machine().ChangeDirectory(ActivePath);
        throw EInOutError(ERROR_FILENAME_EXCED_RANGE);
    }
    return current;
}

void TDirectoryListBox::NotifyChange() {
    if (OnChange)
        OnChange(this);
}

char TDirectoryListBox::ActiveDrive() const { return ActivePath.empty() ? '\0' : ActivePath[0]; }

std::string TDirectoryListBox::ShownName(const std::string& text) const {
    if (NamesKeepCase)
        return text;
    std::string lower = text;
    CharLowerBuffA(lower.data(), DWORD(lower.size()));
    return lower;
}

bool TDirectoryListBox::IsSameDirectory(const std::string& a, const std::string& b) const {
    std::string left = a, right = b;
    if (!NamesCaseSensitive) {
        CharLowerBuffA(left.data(), DWORD(left.size()));
        CharLowerBuffA(right.data(), DWORD(right.size()));
    }
    return CompareStringA(LOCALE_USER_DEFAULT, 0, left.data(), int(left.size()), right.data(),
                          int(right.size())) == CSTR_EQUAL;
}

void TDirectoryListBox::DrawItem(int index, const RECT& rect, UINT) {
    TCanvas& canvas = Canvas();
    canvas.FillRect(rect);
    const TBitmap* picture = Picture(index);
    int indent = 4 * index + 2;
    if (picture == &ClosedFolder)
        indent = 4 * (PathDepth(ActivePath, CodePage()) + 1) + 2;
    int width = 16;
    if (picture) {
        width = picture->Width();
        picture->DrawTransparent(canvas.Handle(), rect.left + indent,
                                 (rect.top + rect.bottom - picture->Height()) / 2);
    }
    canvas.TextOut(rect.left + width + indent + 4, rect.top, ShownName(ItemText(index)));
}

void RegisterFileControls() {
    RegisterOnce([] {
        using P = const TDescProperty&;
        using R = TDescReader&;
        RegisterComponentClass<TDirectoryListBox>("TDirectoryListBox", "TCustomListBox")
            .Property<TDirectoryListBox>(
                "OnChange", [](TDirectoryListBox& c, P p, R r) { c.OnChange = r.Event(p); });
        RegisterDriveSelector();
    });
}
