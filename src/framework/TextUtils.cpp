#include "TextUtils.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

std::string AdjustLineBreaks(const std::string& text, UINT codePage) {
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size(); i++) {
        char c = text[i];
        if (IsDBCSLeadByteEx(codePage, BYTE(c)) && i + 1 < text.size()) {
            result += c;
            result += text[++i];
        } else if (c == '\r') {
            result += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                i++;
        } else if (c == '\n') {
            result += "\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

static std::string Narrow(const std::wstring& text, UINT codePage, DWORD flags, BOOL* lost) {
    int length = WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), nullptr, 0,
                                     nullptr, lost);
    std::string narrow(length, '\0');
    WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), narrow.data(), length,
                        nullptr, lost);
    return narrow;
}

bool NarrowExactly(const std::wstring& text, UINT codePage, std::string& narrow,
                   TWildcards wildcards) {
    // Plain ASCII, most names, is the same in every code page.
    if (std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; })) {
        if (wildcards == wcRefused && text.find_first_of(L"?*") != std::wstring::npos)
            return false;
        narrow.assign(text.begin(), text.end());
        return true;
    }
    BOOL lost = FALSE;
    // UTF-8 takes neither the flag nor the question, and spells every character but half of a
    // surrogate pair, which it turns into U+FFFD: the way back finds that.
    bool utf8 = codePage == CP_UTF8;
    std::string converted =
        Narrow(text, codePage, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, utf8 ? nullptr : &lost);
    if (lost || Widen(converted, codePage) != text)
        return false;
    if (wildcards == wcRefused && converted.find_first_of("?*") != std::string::npos)
        return false;
    narrow = converted;
    return true;
}

std::string PlatformSpelling(const std::wstring& text, UINT codePage) {
    return Narrow(text, codePage, 0, nullptr);
}

std::wstring Widen(const std::string& text, UINT codePage) {
    int length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string WithoutAccelerator(const std::string& caption) {
    std::string text;
    for (size_t i = 0; i < caption.size(); i++) {
        if (caption[i] == '&' && i + 1 < caption.size())
            i++; // the marked character, or the second "&" of a pair
        text += caption[i];
    }
    return text;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? length : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), length + 1, format, args);
    va_end(args);
    return text;
}
