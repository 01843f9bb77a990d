// Reads the state of another program's windows, as a person would see it, for the end-to-end
// tests. Text is read through the Unicode messages, which cross process boundaries intact.
//
//   probe find TEXT [MS]      waits for a visible top-level window whose title contains TEXT
//   probe info HWND           prints the window's state as key=value lines
//   probe owned HWND          lists the top-level windows that HWND owns
//   probe close HWND          posts WM_CLOSE
//   probe command HWND ID     posts WM_SYSCOMMAND with ID (decimal)
//   probe gone HWND [MS]      waits until the window no longer exists
//   probe dialog [MS]         waits for a visible dialog box (the platform's or a message form)
//   probe item HWND ID        prints the text of a dialog's item (65535: a message box's text)
//   probe closebox HWND       prints the screen point of the window's close box
//   probe minbox HWND         prints the screen point of the window's minimise box
//   probe class NAME [MS]     waits for a visible top-level window of the class
//   probe children HWND       lists the child windows: handle, class and text
//   probe stack               lists the visible top-level windows, topmost first: handle, title
//   probe count HWND ID       prints the number of items of a dialog's combo box
//   probe items HWND FIRST N  prints a list box's item count and selected index, then the texts
//                             of N items from FIRST on (a negative FIRST counts from the end)
//   probe post HWND MSG W L   posts a message (numbers in decimal or 0x hexadecimal)
//   probe time EXE TEXT       starts EXE, waits until a window with TEXT shows, closes it,
//                             waits for the process to end; prints the milliseconds taken
//                             in all, then those until the window showed
//   probe launch EXE [ARG]    starts EXE as `time` does, with this program's standard output and
//                             the moment it was started (milliseconds on the system clock) in
//                             BENCH_STARTED; waits for it and ends with its exit code
//   probe ping HWND           sends the window an empty message and prints the milliseconds
//                             until it answered; fails when no answer came in 10 s
//   probe resources HWND      prints the GDI objects, USER objects and kernel handles of the
//                             window's process
//   probe windows HWND        lists the visible top-level windows of the window's process that
//                             cover some of the screen, topmost first: handle, class and
//                             screen rectangle
//   probe hit HWND X Y        prints the part of the window at the screen point (WM_NCHITTEST),
//                             whatever covers it there, and the point in its client area
//   probe foreground          prints the foreground window and its class
//   probe short PATH          prints the platform's short (8.3) form of the path
//   probe clip TEXT           puts the text on the clipboard, as a copy in another program does
//   probe settext HWND TEXT   sets the window's text in wide text, as an automation tool does
//   probe session             reads commands from standard input, one a line, and answers each
//                             with its output and a line "=" followed by its exit code
#include <windows.h>

#include <shellapi.h>

#include "../ProcessResources.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

static std::string Utf8(const std::wstring& text) {
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string utf8(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), length, nullptr,
                        nullptr);
    return utf8;
}

static std::string Title(HWND window) {
    wchar_t buffer[512] = L"";
    GetWindowTextW(window, buffer, 512);
    return Utf8(buffer);
}

static std::string ClassOf(HWND window) {
    wchar_t buffer[256] = L"";
    GetClassNameW(window, buffer, 256);
    return Utf8(buffer);
}

static HWND ParseHandle(const char* text) {
    return reinterpret_cast<HWND>(std::uintptr_t(std::strtoull(text, nullptr, 0)));
}

static BOOL CALLBACK AddWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

static std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(AddWindow, LPARAM(&windows));
    return windows;
}

// Waits for a visible top-level window that matches and prints its handle.
template <class Matches> static int WaitForWindow(Matches matches, DWORD timeout) {
    for (DWORD start = GetTickCount(); GetTickCount() - start <= timeout; Sleep(50))
        for (HWND window : TopLevelWindows())
            if (IsWindowVisible(window) && matches(window)) {
                std::printf("0x%08lx\n", (unsigned long)(UINT_PTR)window);
                return 0;
            }
    return 1;
}

static int Find(const std::string& text, DWORD timeout) {
    if (WaitForWindow([&](HWND w) { return Title(w).find(text) != std::string::npos; }, timeout))
        return std::fprintf(stderr, "probe: no window with \"%s\"\n", text.c_str()), 1;
    return 0;
}

static int Info(HWND window) {
    if (!IsWindow(window))
        return std::fprintf(stderr, "probe: no such window\n"), 1;
    LONG style = GetWindowLongW(window, GWL_STYLE), exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    HWND owner = GetWindow(window, GW_OWNER);
    RECT bounds, client;
    GetWindowRect(window, &bounds);
    GetClientRect(window, &client);
    std::printf("title=%s\nclass=%s\n", Title(window).c_str(), ClassOf(window).c_str());
    std::printf("foreground=%d\n", GetForegroundWindow() == window);
    std::printf("visible=%d\nenabled=%d\niconic=%d\nzoomed=%d\n", IsWindowVisible(window) != 0,
                IsWindowEnabled(window) != 0, IsIconic(window) != 0, IsZoomed(window) != 0);
    std::printf("topmost=%d\nappwindow=%d\ntoolwindow=%d\n", (exStyle & WS_EX_TOPMOST) != 0,
                (exStyle & WS_EX_APPWINDOW) != 0, (exStyle & WS_EX_TOOLWINDOW) != 0);
    std::printf("minimizebox=%d\nmaximizebox=%d\nsysmenu=%d\nthickframe=%d\n",
                (style & WS_MINIMIZEBOX) != 0, (style & WS_MAXIMIZEBOX) != 0,
                (style & WS_SYSMENU) != 0, (style & WS_THICKFRAME) != 0);
    std::printf("owner=0x%08lx\nownerclass=%s\n", (unsigned long)(UINT_PTR)owner,
                owner ? ClassOf(owner).c_str() : "");
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    std::printf("rect=%ld,%ld,%ld,%ld\nclient=%ld,%ld\nclientorigin=%ld,%ld\n", bounds.left,
                bounds.top, bounds.right, bounds.bottom, client.right, client.bottom, origin.x,
                origin.y);
    return 0;
}

static int FindClass(const std::string& name, DWORD timeout) {
    if (WaitForWindow([&](HWND w) { return ClassOf(w) == name; }, timeout))
        return std::fprintf(stderr, "probe: no window of class %s\n", name.c_str()), 1;
    return 0;
}

static int Dialog(DWORD timeout) {
    auto isDialog = [](HWND w) {
        return ClassOf(w) == "#32770" || ClassOf(w) == "TolvoTMessageForm";
    };
    if (WaitForWindow(isDialog, timeout))
        return std::fprintf(stderr, "probe: no dialog box\n"), 1;
    return 0;
}

static int Item(HWND dialog, int id) {
    wchar_t text[1024] = L"";
    GetDlgItemTextW(dialog, id, text, 1024);
    std::printf("%s\n", Utf8(text).c_str());
    return 0;
}

static int CaptionBox(HWND window, LRESULT part) {
    RECT bounds;
    GetWindowRect(window, &bounds);
    for (int y = bounds.top; y < bounds.top + 40; y++)
        for (int x = bounds.right - 1; x > bounds.right - 60; x--)
            if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == part) {
                std::printf("%d %d\n", x - 3, y + 3);
                return 0;
            }
    std::fprintf(stderr, "probe: no such box\n");
    return 1;
}

static BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    wchar_t text[1024] = L"";
    SendMessageW(child, WM_GETTEXT, 1024, LPARAM(text));
    std::printf("0x%08lx %s %s\n", (unsigned long)(UINT_PTR)child, ClassOf(child).c_str(),
                Utf8(text).c_str());
    return TRUE;
}

static int Owned(HWND owner) {
    for (HWND window : TopLevelWindows())
        if (GetWindow(window, GW_OWNER) == owner)
            std::printf("0x%08lx visible=%d %s\n", (unsigned long)(UINT_PTR)window,
                        IsWindowVisible(window) != 0, Title(window).c_str());
    return 0;
}

static int Stack() {
    for (HWND window : TopLevelWindows())
        if (IsWindowVisible(window))
            std::printf("0x%08lx %s\n", (unsigned long)(UINT_PTR)window, Title(window).c_str());
    return 0;
}

static int Gone(HWND window, DWORD timeout) {
    for (DWORD start = GetTickCount(); GetTickCount() - start <= timeout; Sleep(50))
        if (!IsWindow(window))
            return 0;
    std::fprintf(stderr, "probe: the window is still there\n");
    return 1;
}

// Starts the program, on this program's standard handles when it shares them.
static bool StartProgram(const char* program, std::string commandLine, bool sharesHandles,
                         PROCESS_INFORMATION& process) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (sharesHandles) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    if (CreateProcessA(program, commandLine.data(), nullptr, nullptr, sharesHandles, 0, nullptr,
                       nullptr, &startup, &process))
        return true;
    std::fprintf(stderr, "probe: cannot start %s\n", program);
    return false;
}

// Waits up to the timeout for the process to end and lets it go; its exit code.
static DWORD EndOf(PROCESS_INFORMATION& process, DWORD timeout) {
    DWORD code = 1;
    WaitForSingleObject(process.hProcess, timeout);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

static int Time(const char* program, const std::string& text) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    PROCESS_INFORMATION process{};
    if (!StartProgram(program, program, false, process))
        return 1;
    // Looked for every 5 ms: a tighter loop of questions to the server slows the start it times.
    HWND window = nullptr;
    while (!window && WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT)
        for (HWND candidate : TopLevelWindows())
            if (IsWindowVisible(candidate) && Title(candidate).find(text) != std::string::npos)
                window = candidate;
    LARGE_INTEGER shown;
    QueryPerformanceCounter(&shown);
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    EndOf(process, 30000);
    QueryPerformanceCounter(&end);
    if (!window)
        return std::fprintf(stderr, "probe: %s showed no window\n", program), 1;
    auto ms = [&](LARGE_INTEGER to) {
        return double(to.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
    };
    std::printf("%.1f %.1f\n", ms(end), ms(shown));
    return 0;
}

static int Launch(const char* program, const char* argument) {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    char started[32];
    std::snprintf(started, sizeof started, "%.3f",
                  double(ULARGE_INTEGER{{now.dwLowDateTime, now.dwHighDateTime}}.QuadPart) / 1e4);
    SetEnvironmentVariableA("BENCH_STARTED", started);
    PROCESS_INFORMATION process{};
    if (!StartProgram(program, std::string(program) + " " + argument, true, process))
        return 1;
    return int(EndOf(process, INFINITE));
}

static int Items(HWND list, int first, int count) {
    int total = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
    std::printf("count=%d\nselected=%d\n", total, int(SendMessageW(list, LB_GETCURSEL, 0, 0)));
    if (first < 0)
        first += total;
    for (int i = first < 0 ? 0 : first; i < first + count && i < total; i++) {
        wchar_t text[1024] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 1024)
            SendMessageW(list, LB_GETTEXT, i, LPARAM(text));
        std::printf("%d %s\n", i, Utf8(text).c_str());
    }
    return 0;
}

static int Ping(HWND window) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    DWORD_PTR result = 0;
    bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
    QueryPerformanceCounter(&end);
    std::printf("%.1f\n",
                double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
    if (!answered)
        return std::fprintf(stderr, "probe: no answer in 10 s\n"), 1;
    return 0;
}

static DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

static int Resources(HWND window) {
    if (!IsWindow(window))
        return std::fprintf(stderr, "probe: no such window\n"), 1;
    TProcessResources counts = CountProcessResources(ProcessOf(window));
    std::printf("gdi=%ld\nuser=%ld\nhandles=%ld\n", counts.Gdi, counts.User, counts.Handles);
    return counts.Gdi < 0 || counts.User < 0 || counts.Handles < 0;
}

static int Windows(HWND window) {
    if (!IsWindow(window))
        return std::fprintf(stderr, "probe: no such window\n"), 1;
    DWORD process = ProcessOf(window);
    for (HWND candidate : TopLevelWindows())
        if (RECT bounds; IsWindowVisible(candidate) && ProcessOf(candidate) == process &&
                         GetWindowRect(candidate, &bounds) && !IsRectEmpty(&bounds))
            std::printf("0x%08lx %s %ld %ld %ld %ld\n", (unsigned long)(UINT_PTR)candidate,
                        ClassOf(candidate).c_str(), bounds.left, bounds.top, bounds.right,
                        bounds.bottom);
    return 0;
}

static int Hit(HWND window, POINT point) {
    DWORD_PTR part = HTNOWHERE;
    if (!SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y), SMTO_NORMAL,
                             10000, &part))
        return std::fprintf(stderr, "probe: no answer\n"), 1;
    ScreenToClient(window, &point);
    std::printf("%ld %ld %ld\n", long(LRESULT(part)), point.x, point.y);
    return 0;
}

static int Foreground() {
    HWND window = GetForegroundWindow();
    std::printf("0x%08lx %s\n", (unsigned long)(UINT_PTR)window,
                window ? ClassOf(window).c_str() : "");
    return 0;
}

// Argument n as the shell gave it, with the letters that the code page cannot spell.
static std::wstring WideArgument(int n) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring argument = n < count ? arguments[n] : L"";
    LocalFree(arguments);
    return argument;
}

static int ShortPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = L"";
    DWORD length = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    if (!length || length >= MAX_PATH)
        return std::fprintf(stderr, "probe: no short form\n"), 1;
    std::printf("%s\n", Utf8(buffer).c_str());
    return 0;
}

static int Clip(const std::wstring& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr))
        return std::fprintf(stderr, "probe: the clipboard is busy\n"), 1;
    EmptyClipboard();
    bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return set ? 0 : 1;
}

// The manifest a program carries, read through the platform as the loader finds it: resource 1
// of type RT_MANIFEST, loaded as data without running anything of the program.
static int Manifest(const std::wstring& program) {
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HRSRC resource = module ? FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST) : nullptr;
    HGLOBAL data = resource ? LoadResource(module, resource) : nullptr;
    if (!data)
        return std::fprintf(stderr, "probe: no manifest\n"), FreeLibrary(module), 1;
    std::fwrite(LockResource(data), 1, SizeofResource(module, resource), stdout);
    std::printf("\n");
    FreeLibrary(module);
    return 0;
}

static LPARAM Number(const char* text) { return LPARAM(std::strtoul(text, nullptr, 0)); }

// Sets system colours, "INDEX 0xBBGGRR" pairs, as a control panel does: every program's windows
// are told.
static int SystemColors(int count, char** pairs) {
    std::vector<int> indexes;
    std::vector<COLORREF> colors;
    for (int i = 0; i + 1 < count; i += 2) {
        indexes.push_back(std::atoi(pairs[i]));
        colors.push_back(COLORREF(Number(pairs[i + 1])));
    }
    return SetSysColors(int(indexes.size()), indexes.data(), colors.data()) ? 0 : 1;
}

static int Run(int argc, char** argv);

// One command a line, its words separated by blanks; the answer ends with "=" and the exit code.
static int Session() {
    char line[4096];
    while (std::fgets(line, sizeof line, stdin)) {
        std::vector<char*> words{const_cast<char*>("probe")};
        for (char* word = std::strtok(line, " \t\r\n"); word;
             word = std::strtok(nullptr, " \t\r\n"))
            words.push_back(word);
        int code = Run(int(words.size()), words.data());
        std::fflush(stderr);
        std::printf("=%d\n", code);
        std::fflush(stdout);
    }
    return 0;
}

int main(int argc, char** argv) { return Run(argc, argv); }

static int Run(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    DWORD timeout = argc > 3 ? DWORD(std::atoi(argv[3])) : 10000;
    if (command == "find" && argc > 2)
        return Find(argv[2], timeout);
    if (command == "info" && argc > 2)
        return Info(ParseHandle(argv[2]));
    if (command == "owned" && argc > 2)
        return Owned(ParseHandle(argv[2]));
    if (command == "close" && argc > 2)
        return PostMessageW(ParseHandle(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == "command" && argc > 3)
        return PostMessageW(ParseHandle(argv[2]), WM_SYSCOMMAND, std::atoi(argv[3]), 0) ? 0 : 1;
    if (command == "post" && argc > 5)
        return PostMessageW(ParseHandle(argv[2]), UINT(Number(argv[3])), WPARAM(Number(argv[4])),
                            Number(argv[5]))
                   ? 0
                   : 1;
    if (command == "time" && argc > 3)
        return Time(argv[2], argv[3]);
    if (command == "launch" && argc > 2)
        return Launch(argv[2], argc > 3 ? argv[3] : "");
    if (command == "dialog")
        return Dialog(argc > 2 ? DWORD(std::atoi(argv[2])) : 10000);
    if (command == "item" && argc > 3)
        return Item(ParseHandle(argv[2]), std::atoi(argv[3]));
    if (command == "closebox" && argc > 2)
        return CaptionBox(ParseHandle(argv[2]), HTCLOSE);
    if (command == "minbox" && argc > 2)
        return CaptionBox(ParseHandle(argv[2]), HTREDUCE);
    if (command == "class" && argc > 2)
        return FindClass(argv[2], timeout);
    if (command == "count" && argc > 3)
        return std::printf("%ld\n",
                           long(SendDlgItemMessageW(ParseHandle(argv[2]), std::atoi(argv[3]),
                                                    CB_GETCOUNT, 0, 0))),
               0;
    if (command == "items" && argc > 4)
        return Items(ParseHandle(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    if (command == "children" && argc > 2)
        return EnumChildWindows(ParseHandle(argv[2]), PrintChild, 0), 0;
    if (command == "stack")
        return Stack();
    if (command == "gone" && argc > 2)
        return Gone(ParseHandle(argv[2]), timeout);
    if (command == "ping" && argc > 2)
        return Ping(ParseHandle(argv[2]));
    if (command == "resources" && argc > 2)
        return Resources(ParseHandle(argv[2]));
    if (command == "windows" && argc > 2)
        return Windows(ParseHandle(argv[2]));
    if (command == "hit" && argc > 4)
        return Hit(ParseHandle(argv[2]), POINT{std::atol(argv[3]), std::atol(argv[4])});
    if (command == "foreground")
        return Foreground();
    if (command == "session")
        return Session();
    if (command == "short" && argc > 2)
        return ShortPath(WideArgument(2));
    if (command == "clip" && argc > 2)
        return Clip(WideArgument(2));
    if (command == "settext" && argc > 3)
        return SendMessageW(ParseHandle(argv[2]), WM_SETTEXT, 0, LPARAM(WideArgument(3).c_str()))
                   ? 0
                   : 1;
    if (command == "manifest" && argc > 2)
        return Manifest(WideArgument(2));
    if (command == "colors" && argc > 3)
        return SystemColors(argc - 2, argv + 2);
    std::fprintf(stderr, "usage: probe find|info|owned|close|command|gone|post|time|dialog|item|"
                         "launch|items|closebox|minbox|class|children|count|stack|ping|resources|"
                         "windows|hit|foreground|session|short|clip|settext|manifest|colors ...\n");
    return 2;
}
