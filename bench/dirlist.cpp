// Directory list cost: for each folder given on the command line, the time from ChangeDirectory
// to the rebuilt list, against a bare FindFirstFileA/FindNextFileA enumeration of the same
// folder. Prints the medians of five runs each and their ratio.
#include "FileCtrl/DirectoryListBox.h"
#include "Timing.h"
#include "TimingMachine.h"
#include "framework/Form.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

static int BareEnumeration(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    int count = 0;
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do
        count++;
    while (FindNextFileA(search, &entry));
    FindClose(search);
    return count;
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
            list->Reserve(int(names.size()), 0);
            for (const std::string& name : names)
                list->AddItem(name);
        });
        std::printf(
            "%10d %12.1f %12.1f %8.2f   (%d items shown; collecting alone %.1f ms, "
            "adding them to the list control alone %.1f ms; per move: the enumeration "
            "%.1f ms, %d directory changes and reads %.1f ms, the volume's flags %.1f ms)\n",
            entries - 2, listMs, bareMs, listMs / bareMs, shown, collectMs, addMs,
            during.Enumeration / 5, during.DirectoryChangeCalls / 5, during.DirectoryChanges / 5,
            during.Drives / 5);
        std::printf(
            "figure|tree into %d subfolders (ms)|%.1f|%.1f (bare enumeration)|%.2f|<= 1.5\n",
            entries - 2, listMs, bareMs, listMs / bareMs);
    }
    return 0;
}
