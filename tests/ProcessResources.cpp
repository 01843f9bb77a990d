// GetGuiResources and GetProcessHandleCount answer 0 under Wine, which does not implement them;
// a GUI process on Windows never has zero GDI objects, so a zero means the figure is read where
// Wine keeps it instead:
// - GDI objects: the process's GDI handle table, which the process's PEB points at (as on
//   Windows); an entry is in use while it has a type. Wine's entries are 24 bytes long.
// - USER objects: the windows whose thread belongs to the process (top-level, child and
//   message-only). Wine keeps menus and cursors in a table no other process can read; a leaked
//   icon or cursor still shows among the GDI objects, as its pictures are bitmaps.
// - Kernel handles: the system's handle list, which names each handle's process.
#include "ProcessResources.h"

#include <cstdint>
#include <vector>

namespace {

struct TWineGdiEntry {
    uint64_t Object;
    ULONG Owner;
    USHORT Unique;
    UCHAR Type;
    UCHAR Flags;
    uint64_t UserPointer;
};
static_assert(sizeof(TWineGdiEntry) == 24);
constexpr size_t GdiTableEntries = 0x10000;
constexpr size_t PebGdiTableOffset = sizeof(void*) == 4 ? 0x94 : 0xF8;

struct TBasicInformation {
    LONG ExitStatus;
    void* PebBaseAddress;
    ULONG_PTR Reserved[4];
};

struct TSystemHandle {
    ULONG ProcessId;
    UCHAR ObjectType, Flags;
    USHORT Value;
    void* Object;
    ACCESS_MASK Access;
};

template <class F> F NtFunction(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

long CountGdiTable(HANDLE process) {
    using TQuery = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
    auto query = NtFunction<TQuery>("NtQueryInformationProcess");
    TBasicInformation basic{};
    void* table = nullptr;
    SIZE_T read = 0;
    if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0 ||
        !ReadProcessMemory(process, static_cast<char*>(basic.PebBaseAddress) + PebGdiTableOffset,
                           &table, sizeof table, &read) ||
        !table)
        return -1;
    std::vector<TWineGdiEntry> entries(GdiTableEntries);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof entries[0],
                           &read))
        return -1;
    long used = 0;
    for (const TWineGdiEntry& entry : entries)
        used += entry.Type != 0;
    return used;
}

struct TWindowCount {
    DWORD ProcessId;
    long Count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM state) {
    auto& count = *reinterpret_cast<TWindowCount*>(state);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    count.Count += owner == count.ProcessId;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM state) {
    CountChild(window, state);
    EnumChildWindows(window, CountChild, state);
    return TRUE;
}

long CountWindows(DWORD processId) {
    TWindowCount count{processId, 0};
    EnumWindows(CountTopLevel, LPARAM(&count));
    for (HWND window = nullptr;
         (window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr;)
        CountTopLevel(window, LPARAM(&count));
    return count.Count;
}

long CountSystemHandles(DWORD processId) {
    using TQuery = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    auto query = NtFunction<TQuery>("NtQuerySystemInformation");
    constexpr ULONG SystemHandleInformation = 16;
    constexpr LONG InfoLengthMismatch = LONG(0xC0000004);
    std::vector<char> buffer(1 << 16);
    LONG status;
    while (query && (status = query(SystemHandleInformation, buffer.data(), ULONG(buffer.size()),
                                    nullptr)) == InfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (!query || status != 0)
        return -1;
    ULONG total = *reinterpret_cast<ULONG*>(buffer.data());
    auto* handles = reinterpret_cast<TSystemHandle*>(buffer.data() + sizeof(ULONG_PTR));
    long owned = 0;
    for (ULONG i = 0; i < total; i++)
        owned += handles[i].ProcessId == processId;
    return owned;
}

} // namespace

TProcessResources CountProcessResources(DWORD processId) {
    TProcessResources counts;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return {-1, -1, -1};
    DWORD handles = 0;
    counts.Gdi = long(GetGuiResources(process, GR_GDIOBJECTS));
    counts.User = long(GetGuiResources(process, GR_USEROBJECTS));
    if (!counts.Gdi)
        counts.Gdi = CountGdiTable(process);
    if (!counts.User)
        counts.User = CountWindows(processId);
    counts.Handles = GetProcessHandleCount(process, &handles) && handles
                         ? long(handles)
                         : CountSystemHandles(processId);
    CloseHandle(process);
    return counts;
}
