// Readme loading cost: a 10 MB text (Polish lines, CR LF and lone LF endings) loaded into the
// about window's kind of memo, against reading the same file and handing its bytes unchanged to
// a plain multi-line edit control. Prints the medians of five runs each and their ratio.
#include "Timing.h"
#include "framework/Form.h"
#include "framework/Memo.h"

#include <cstdio>
#include <string>

static std::string WriteTestFile() {
    char folder[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "rdm", 0, name);
    std::string line = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 - linia tekstu do wy\x9Cwietlenia";
    std::string text;
    for (int i = 0; text.size() < 10 * 1024 * 1024; ++i)
        text += line + (i % 2 ? "\r\n" : "\n");
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

int main() {
    std::string path = WriteTestFile();
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    memo->SetBounds(0, 64, 369, 233);
    memo->ReadOnly = true;
    memo->ScrollBars = ssVertical;
    memo->Handle();
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_MULTILINE | WS_VSCROLL, 0, 0, 369,
                                233, form.Handle(), nullptr, nullptr, nullptr);
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    std::vector<double> loaded, bare;
    for (int run = 0; run < 5; ++run) {
        SetWindowTextA(memo->Handle(), "");
        loaded.push_back(Milliseconds([&] { memo->Lines().LoadTextFile(path); }));
        SetWindowTextA(edit, "");
        bare.push_back(Milliseconds([&] { BareLoad(edit, path); }));
    }
    DeleteFileA(path.c_str());
    double load = Median(loaded), reference = Median(bare);
    std::printf("10 MB readme into the memo: %.1f ms\nbare read and set-text: %.1f ms\nratio: %.2f\n",
                load, reference, load / reference);
    std::printf("figure|10 MB readme load (ms)|%.1f|%.1f (bare read + set-text)|%.2f|reported\n",
                load, reference, load / reference);
    return 0;
}
