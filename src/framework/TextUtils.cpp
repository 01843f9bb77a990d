#include "TextUtils.h"

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
