// The floor for the start-up benchmark: the least a plain Win32 program does to show the same
// main window as the program. The same platform windows with the same styles, places, sizes,
// fonts and texts; the side picture with the command captions drawn on it; the current
// directory's folders and the drives with their labels, each item drawn with its picture.
// Started with the argument "steps" it prints how long each of its steps took and ends as soon
// as its window is painted and closed, for the start-up breakdown.
#include "Timing.h"
#include "WindowSteps.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

HINSTANCE Instance;

enum TPicture { ClosedFolder, OpenFolder, CurrentFolder, Floppy, Hard, Network, CDROM, Ram, Side };
const char* const PictureNames[] = {"CLOSEDFOLDER", "OPENFOLDER", "CURRENTFOLDER", "FLOPPY", "HARD",
                                    "NETWORK",      "CDROM",      "RAM",           "SIDE"};
HBITMAP Pictures[std::size(PictureNames)];

enum TFont { SansSerif, SmallTahoma, Tahoma, WesternTahoma };
struct TFontLook {
    const char* Face;
    int Height;
    BYTE Charset;
};
constexpr TFontLook FontLooks[] = {{"MS Sans Serif", -11, DEFAULT_CHARSET},
                                   {"Tahoma", -9, EASTEUROPE_CHARSET},
                                   {"Tahoma", -11, EASTEUROPE_CHARSET},
                                   {"Tahoma", -11, ANSI_CHARSET}};
HFONT Fonts[std::size(FontLooks)];

// The command captions over the side picture, each centred in its button's place.
struct TCaption {
    const char* Text;
    int Top;
    TFont Font;
};
constexpr TCaption Captions[] = {{"Otwórz", 5, WesternTahoma},
                                 {"Rozpakuj", 64, WesternTahoma},
                                 {"O programie", 181, WesternTahoma},
                                 {"Wyjdź", 208, Tahoma}};
constexpr RECT SidePlace{257, 0, 332, 257};
constexpr int CaptionLeft = 261, CaptionWidth = 65, CaptionHeight = 25;

// The folders' items are as high as their pictures and a line; the drives' as their font's line.
constexpr int FolderItemHeight = 16, DriveItemHeight = 13;

// Time spent in the queries the breakdown counts apart: the current directory and its
// enumeration; the drives and their volumes.
double DirectoryTime = 0, DriveTime = 0;
// The items of the current directory's path, from the root; its subfolders follow them.
int PathItems = 0;

// A memory context with the picture selected, to copy it from.
struct TPictureContext {
    TPictureContext(HDC dc, HBITMAP picture)
        : Handle(CreateCompatibleDC(dc)), Previous(SelectObject(Handle, picture)) {}
    ~TPictureContext() {
        SelectObject(Handle, Previous);
        DeleteDC(Handle);
    }
    HDC Handle;
    HGDIOBJ Previous;
};

// The picture, centred in the item's height at x, its fuchsia background left out: a mask of
// the background, then the picture laid over what is there with exclusive or, and, exclusive or.
void DrawPicture(HDC dc, HBITMAP picture, int x, const RECT& item) {
    BITMAP size;
    GetObjectA(picture, sizeof size, &size);
    int width = size.bmWidth, height = size.bmHeight, y = (item.top + item.bottom - height) / 2;
    HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, nullptr);
    {
        TPictureContext source(dc, picture), mask(dc, maskBitmap);
        SetBkColor(source.Handle, RGB(255, 0, 255));
        BitBlt(mask.Handle, 0, 0, width, height, source.Handle, 0, 0, SRCCOPY);
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc, RGB(0, 0, 0));
        BitBlt(dc, x, y, width, height, source.Handle, 0, 0, SRCINVERT);
        BitBlt(dc, x, y, width, height, mask.Handle, 0, 0, SRCAND);
        BitBlt(dc, x, y, width, height, source.Handle, 0, 0, SRCINVERT);
    }
    DeleteObject(maskBitmap);
}

// An item of the folder tree or of the drive list: its picture, then its text (a folder's on the
// item's top line, a drive's centred). A folder is indented by its level: the path's folders one
// level each, the subfolders one below the last.
void DrawItem(const DRAWITEMSTRUCT& item) {
    bool selected = item.itemState & ODS_SELECTED;
    RECT area = item.rcItem;
    FillRect(item.hDC, &area, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (int(item.itemID) >= 0) {
        bool tree = item.CtlType == ODT_LISTBOX;
        char text[MAX_PATH];
        SendMessageA(item.hwndItem, tree ? LB_GETTEXT : CB_GETLBTEXT, item.itemID, LPARAM(text));
        HBITMAP picture = item.itemData ? HBITMAP(item.itemData) : Pictures[ClosedFolder];
        area.left += tree ? 4 * std::min(int(item.itemID), PathItems) + 2 : 2;
        DrawPicture(item.hDC, picture, area.left, area);
        area.left += 20;
        SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        SetBkMode(item.hDC, TRANSPARENT);
        DrawTextA(item.hDC, text, -1, &area,
                  DT_SINGLELINE | DT_NOPREFIX | (tree ? DT_TOP : DT_VCENTER));
    }
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

// The platform's own procedure of the group boxes.
WNDPROC GroupBoxProc;

// A group box fills its inside, which the form leaves to its children, and draws the items of
// the lists it holds.
LRESULT CALLBACK GroupBox(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        RECT inside;
        GetClientRect(box, &inside);
        FillRect(HDC(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    if (msg == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return CallWindowProcA(GroupBoxProc, box, msg, wParam, lParam);
}

// The side picture and the captions over it; the class's brush has erased the rest.
void PaintForm(HWND form) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(form, &paint);
    {
        TPictureContext side(dc, Pictures[Side]);
        BitBlt(dc, SidePlace.left, SidePlace.top, SidePlace.right - SidePlace.left,
               SidePlace.bottom - SidePlace.top, side.Handle, 0, 0, SRCCOPY);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    for (const TCaption& caption : Captions) {
        RECT place{CaptionLeft, caption.Top, CaptionLeft + CaptionWidth,
                   caption.Top + CaptionHeight};
        SelectObject(dc, Fonts[caption.Font]);
        DrawTextA(dc, caption.Text, -1, &place, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, font);
    EndPaint(form, &paint);
}

LRESULT CALLBACK FormProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PaintForm(form);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(form, msg, wParam, lParam);
}

constexpr DWORD FormStyle =
    WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_CAPTION | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX;

// The form, centred on the screen, and the fonts of its parts.
HWND MakeForm() {
    WNDCLASSA formClass{};
    formClass.style = CS_DBLCLKS;
    formClass.lpfnWndProc = FormProc;
    formClass.hInstance = Instance;
    formClass.hCursor = LoadCursorA(nullptr, LPCSTR(IDC_ARROW));
    formClass.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    formClass.lpszClassName = "SameWindowFloor";
    RegisterClassA(&formClass);
    RECT frame{0, 0, 333, 257};
    AdjustWindowRectEx(&frame, FormStyle, FALSE, WS_EX_ACCEPTFILES);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HWND form = CreateWindowExA(WS_EX_ACCEPTFILES, "SameWindowFloor", "Same window floor",
                                FormStyle, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                nullptr, nullptr, Instance, nullptr);
    for (size_t i = 0; i < std::size(FontLooks); i++)
        Fonts[i] = CreateFontA(FontLooks[i].Height, 0, 0, 0, FW_NORMAL, 0, 0, 0,
                               FontLooks[i].Charset, 0, 0, 0, 0, FontLooks[i].Face);
    return form;
}

// The form's icon, and the pictures as device-independent bitmaps, which load and copy fastest.
void LoadPictures(HWND form) {
    SendMessageA(form, WM_SETICON, ICON_BIG, LPARAM(LoadIconA(Instance, "MAINICON")));
    for (size_t i = 0; i < std::size(PictureNames); i++)
        Pictures[i] =
            HBITMAP(LoadImageA(Instance, PictureNames[i], IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// Where a child window lies in its parent.
struct TPlace {
    int Left, Top, Width, Height;
};

HWND MakeChild(const char* className, const char* text, DWORD style, DWORD exStyle, TPlace place,
               HWND parent, TFont font) {
    HWND child = CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, place.Left,
        place.Top, place.Width, place.Height, parent, nullptr, Instance, nullptr);
    SendMessageA(child, WM_SETFONT, WPARAM(Fonts[font]), 0);
    return child;
}

HWND MakeGroupBox(HWND form, const char* caption, TPlace place) {
    HWND box =
        MakeChild("BUTTON", caption, BS_GROUPBOX | WS_CLIPCHILDREN, 0, place, form, SansSerif);
    GroupBoxProc = WNDPROC(SetWindowLongPtrA(box, GWLP_WNDPROC, LONG_PTR(GroupBox)));
    return box;
}

// Adds an item with its picture; none for a subfolder, whose picture is the closed folder.
void AddItem(HWND window, UINT add, const std::string& text, HBITMAP picture = nullptr) {
    LRESULT index = SendMessageA(window, add, 0, LPARAM(text.c_str()));
    if (picture)
        SendMessageA(window, add == LB_ADDSTRING ? LB_SETITEMDATA : CB_SETITEMDATA, index,
                     LPARAM(picture));
}

// The subfolders of the directory that are neither hidden nor system, as they are found.
std::vector<std::string> Subfolders(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    std::string pattern = directory + (directory.back() == '\\' ? "*.*" : "\\*.*");
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    const DWORD passedOver = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        bool folder = (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | passedOver)) ==
                      FILE_ATTRIBUTE_DIRECTORY;
        if (folder && std::strcmp(entry.cFileName, ".") && std::strcmp(entry.cFileName, ".."))
            names.push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

// The tree: the path's folders from the root (which keeps its backslash), the current one last
// and selected, then its subfolders in the locale's order, case ignored.
void FillTree(HWND tree, const std::string& path) {
    SendMessageA(tree, LB_SETITEMHEIGHT, 0, FolderItemHeight);
    size_t start = 0;
    for (size_t end = path.find('\\'); end != std::string::npos && end + 1 < path.size();
         end = path.find('\\', start)) {
        AddItem(tree, LB_ADDSTRING, path.substr(start, end - start + (start == 0)),
                Pictures[OpenFolder]);
        start = end + 1;
    }
    AddItem(tree, LB_ADDSTRING, path.substr(start), Pictures[CurrentFolder]);
    PathItems = int(SendMessageA(tree, LB_GETCOUNT, 0, 0));
    SendMessageA(tree, LB_SETCURSEL, PathItems - 1, 0);
    std::vector<std::string> names = Timed(DirectoryTime, [&] { return Subfolders(path); });
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    for (const std::string& name : names)
        AddItem(tree, LB_ADDSTRING, name);
}

// A drive's item: the picture of its kind (the pictures follow the order of the kinds), its
// letter, and but for a removable drive the volume's label in brackets, in the letter's case.
void AddDrive(HWND drives, char letter) {
    std::string root = std::string(1, letter) + ":\\";
    UINT kind = Timed(DriveTime, [&] { return GetDriveTypeA(root.c_str()); });
    if (kind < DRIVE_REMOVABLE || kind > DRIVE_RAMDISK)
        return;
    std::string text = root.substr(0, 2);
    if (kind != DRIVE_REMOVABLE) {
        char label[MAX_PATH] = "";
        Timed(DriveTime, [&] {
            return GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr,
                                         nullptr, nullptr, 0);
        });
        text += " [" + std::string(CharLowerA(label)) + "]";
    }
    AddItem(drives, CB_ADDSTRING, text, Pictures[Floppy + (kind - DRIVE_REMOVABLE)]);
}

// The drive list, as high as it is dropped (its closed height, eight items and the list's
// frame), with every drive and the current directory's drive selected.
void MakeDriveList(HWND parent, const std::string& path) {
    HWND drives =
        MakeChild("COMBOBOX", "",
                  WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                  0, {8, 182, 233, 19}, parent, WesternTahoma);
    SendMessageA(drives, CB_SETITEMHEIGHT, WPARAM(-1), DriveItemHeight);
    SendMessageA(drives, CB_SETITEMHEIGHT, 0, DriveItemHeight);
    RECT closed;
    GetWindowRect(drives, &closed);
    SetWindowPos(drives, nullptr, 0, 0, 233, closed.bottom - closed.top + 8 * DriveItemHeight + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UINT errorMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    DWORD present = Timed(DriveTime, GetLogicalDrives);
    for (int n = 0; n < 26; n++)
        if (present & (1u << n))
            AddDrive(drives, char('a' + n));
    SetErrorMode(errorMode);
    SendMessageA(drives, CB_SELECTSTRING, WPARAM(-1), LPARAM(path.substr(0, 2).c_str()));
}

// The form's windows inside it: the group boxes and the three controls the second one holds.
void MakeParts(HWND form) {
    MakeGroupBox(form, "Archiwum", {0, 0, 249, 41});
    HWND destination = MakeGroupBox(form, "Katalog docelowy", {0, 48, 249, 209});
    MakeChild("EDIT", "docelowy folder (format DOS - bez znaków spec.)",
              WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, {8, 20, 233, 19}, destination,
              SmallTahoma);
    HWND tree = MakeChild("LISTBOX", "",
                          WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                              LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                          WS_EX_CLIENTEDGE, {8, 48, 233, 129}, destination, Tahoma);
    char path[MAX_PATH] = "";
    Timed(DirectoryTime, [&] { return GetCurrentDirectoryA(MAX_PATH, path); });
    FillTree(tree, path);
    MakeDriveList(destination, path);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    double entered = ClockMilliseconds();
    Instance = instance;
    TWindowNotes windows([] { return DirectoryTime + DriveTime; });
    HWND form = MakeForm();
    double formMade = ClockMilliseconds();
    LoadPictures(form);
    double pictured = ClockMilliseconds();
    MakeParts(form);
    double built = ClockMilliseconds(), apart = DirectoryTime + DriveTime;
    windows.Stop();
    return ShowAndRun(form, show, commandLine, entered, built, [&] {
        PrintStep(FirstWindowStep, formMade - entered);
        PrintStep(PicturesStep, pictured - formMade);
        windows.PrintSteps(1, built, apart);
        PrintStep(TreeFolderStep, DirectoryTime);
        PrintStep(DriveQueriesStep, DriveTime);
    });
}
