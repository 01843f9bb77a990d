#include "Resources.h"

#include "Exceptions.h"
#include "Picture.h"

std::string LoadTextResource(const std::string& name) {
    HRSRC found = FindResourceA(MainInstance(), name.c_str(), LPCSTR(RT_RCDATA));
    HGLOBAL loaded = found ? LoadResource(MainInstance(), found) : nullptr;
    if (!loaded)
        throw EResNotFound(Format("Resource %s not found", name.c_str()));
    const char* bytes = static_cast<const char*>(LockResource(loaded));
    return Utf8ToAnsi(std::string(bytes, SizeofResource(MainInstance(), found)));
}

std::string Utf8ToAnsi(const std::string& text, UINT codePage) {
    if (text.empty())
        return text;
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(wideLength, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), wideLength);
    int length =
        WideCharToMultiByte(codePage, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(length, '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), wideLength, ansi.data(), length, nullptr,
                        nullptr);
    return ansi;
}

std::string LoadStr(UINT id) {
    char buffer[1024];
    int length = LoadStringA(MainInstance(), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

std::string ProgramFolder() {
    char path[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.erase(folder.find_last_of('\\') + 1);
}
