#include "TextUtils.h"

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
