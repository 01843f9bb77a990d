// Readme loading cost for the slowest files the memo still loads, of its whole capacity: one
// Polish line wrapped all the way, and one-letter lines (lone LF endings), each loaded into the
// about window's kind of memo, against reading the same file and handing its bytes unchanged to
// a plain multi-line edit control. Prints the medians of five runs each and their ratio.
#include "Timing.h"
#include "framework/Form.h"
#include "framework/Memo.h"

#include <cstdio>
#include <string>

static std::string WriteTestFile(const std::string& unit) {
    char folder[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "rdm", 0, name);
    std::string text;
    while (text.size() + unit.size() <= size_t(MemoFileCapacity))
        text += unit;
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
    return name;
}

static void BareLoad(HWND edit, const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    CloseHandle(file);
    SetWindowTextA(edit, bytes.c_str());
}

static void Measure(TMemo& memo, HWND edit, const char* what, const std::string& unit) {
    std::string path = WriteTestFile(unit);
    std::vector<double> loaded, bare;
    for (int run = 0; run < 5; ++run) {
        SetWindowTextA(memo.Handle(), "");
        loaded.push_back(Milliseconds([&] { memo.Lines().LoadTextFile(path); }));
        SetWindowTextA(edit, "");
        bare.push_back(Milliseconds([&] { BareLoad(edit, path); }));
    }
    DeleteFileA(path.c_str());
    double load = Median(loaded), reference = Median(bare);
    std::printf("%s into the memo: %.1f ms\nbare read and set-text: %.1f ms\nratio: %.2f\n", what,
                load, reference, load / reference);
    std::printf("figure|%s load (ms)|%.1f|%.1f (bare read + set-text)|%.2f|< 5000 ms\n", what, load,
                reference, load / reference);
}

int main() {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    memo->SetBounds(0, 64, 369, 233);
    memo->ReadOnly = true;
    memo->ScrollBars = ssVertical;
    memo->Handle();
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_MULTILINE | WS_VSCROLL, 0, 0, 369, 233,
                                form.Handle(), nullptr, nullptr, nullptr);
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    Measure(*memo, edit, "32 KB readme, one line",
            "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 - linia tekstu do wy\x9Cwietlenia ");
    Measure(*memo, edit, "32 KB readme, one-letter lines", "x\n");
    return 0;
}
