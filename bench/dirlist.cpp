// Directory list cost: for each folder given on the command line, the time from ChangeDirectory
// to the rebuilt list, against a bare FindFirstFileA/FindNextFileA enumeration of the same
// folder. Prints the medians of five runs each and their ratio, and beside them the floor: the
// platform's own work a move cannot do without, each part done bare (the enumeration, the names
// put in the locale's order, and handed to a plain list control).
#include "FileCtrl/DirectoryListBox.h"
#include "Timing.h"
#include "TimingMachine.h"
#include "framework/Form.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

static int BareEnumeration(const std::string& folder, std::vector<std::string>* names = nullptr) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    int count = 0;
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        count++;
        if (names)
            names->push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return count;
}

// The names in the order of the user's locale, ignoring case: one sort key each, keys compared.
static void LocaleOrder(std::vector<std::string>& names) {
    std::vector<std::pair<std::string, size_t>> keyed;
    char key[2048];
    for (size_t i = 0; i < names.size(); i++) {
        int length = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE,
                                  names[i].data(), int(names[i].size()), key, sizeof key);
        keyed.emplace_back(std::string(key, length), i);
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string> sorted;
    for (auto& entry : keyed)
        sorted.push_back(std::move(names[entry.second]));
    names = std::move(sorted);
}

// The names handed to a list control of the platform's with the tree's styles, redraw off,
// each message straight to the control's own procedure.
static void FillPlainList(HWND list, const std::vector<std::string>& names) {
    WNDCLASSA listClass{};
    GetClassInfoA(nullptr, "LISTBOX", &listClass);
    auto send = [&](UINT msg, WPARAM wParam, LPARAM lParam) {
        CallWindowProcA(listClass.lpfnWndProc, list, msg, wParam, lParam);
    };
    send(WM_SETREDRAW, FALSE, 0);
    send(LB_RESETCONTENT, 0, 0);
    send(LB_INITSTORAGE, names.size(), 16 * names.size());
    for (const std::string& name : names)
        send(LB_ADDSTRING, 0, LPARAM(name.c_str()));
    send(WM_SETREDRAW, TRUE, 0);
}

struct TFloor {
    double Order = 0, PlainList = 0;
};

// The floor's parts besides the enumeration, medians of five runs.
static TFloor MeasureFloor(const std::string& folder, HWND plainList) {
    std::vector<std::string> found;
    BareEnumeration(folder, &found);
    std::vector<double> order, plain;
    for (int run = 0; run < 5; run++) {
        std::vector<std::string> names = found;
        order.push_back(Milliseconds([&] { LocaleOrder(names); }));
        plain.push_back(Milliseconds([&] { FillPlainList(plainList, names); }));
    }
    return {Median(order), Median(plain)};
}

int main(int argc, char** argv) {
    TTimingMachine machine(Machine());
    SetMachine(&machine);
    char start[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, start);
    TForm form(nullptr);
    auto* list = new TDirectoryListBox(&form);
    list->SetParent(&form);
    list->SetBounds(8, 8, 233, 129);
    list->Handle();
    HWND plainList = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                     WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                                         LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
                                     8, 8, 233, 129, form.Handle(), nullptr, nullptr, nullptr);
    std::printf("%10s %12s %12s %8s\n", "folders", "list ms", "bare ms", "ratio");
    for (int i = 1; i < argc; i++) {
        std::string folder = argv[i];
        std::vector<double> listTimes, bareTimes;
        int entries = 0;
        TTimingMachine during(machine); // the seam's part of the moves into the folder
        for (int run = 0; run < 5; run++) {
            list->ChangeDirectory(start);
            SetMachine(&during);
            listTimes.push_back(Milliseconds([&] { list->ChangeDirectory(folder); }));
            SetMachine(&machine);
            bareTimes.push_back(Milliseconds([&] { entries = BareEnumeration(folder); }));
        }
        double listMs = Median(listTimes), bareMs = Median(bareTimes);
        int shown = list->Count();
        std::vector<std::string> names;
        double collectMs = Milliseconds([&] { CollectSubfolders(folder, names); });
        // The other part of a move: the names handed to the list control, as a move does.
        double addMs = Milliseconds([&] {
            TRedrawLock redraw(list->Handle(), false);
            list->Clear();
            list->AddItems(names);
        });
        TFloor floor = MeasureFloor(folder, plainList);
        double floorMs = bareMs + floor.Order + floor.PlainList;
        std::printf(
            "%10d %12.1f %12.1f %8.2f   (%d items shown; collecting alone %.1f ms, "
            "adding them to the list control alone %.1f ms; per move: the enumeration "
            "%.1f ms, %d directory changes and reads %.1f ms, the volume's flags %.1f ms)\n",
            entries - 2, listMs, bareMs, listMs / bareMs, shown, collectMs, addMs,
            during.Enumeration / 5, during.DirectoryChangeCalls / 5, during.DirectoryChanges / 5,
            during.Drives / 5);
        std::printf("%10s %12.1f %12s %8.2f   (the floor, each part bare: the enumeration %.1f ms, "
                    "the locale's order %.1f ms, a plain list control %.1f ms; the move is %.2f "
                    "of it)\n",
                    "floor", floorMs, "", floorMs / bareMs, bareMs, floor.Order, floor.PlainList,
                    listMs / floorMs);
        std::printf(
            "figure|tree into %d subfolders (ms)|%.1f|%.1f (bare enumeration)|%.2f|<= 1.5\n",
            entries - 2, listMs, bareMs, listMs / bareMs);
        std::printf("figure|its floor: enumeration, order, plain list (ms)|%.1f|%.1f (bare "
                    "enumeration)|%.2f|-\n",
                    floorMs, bareMs, floorMs / bareMs);
    }
    return 0;
}
