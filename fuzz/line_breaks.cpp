// The line-break adjustment of loaded texts: the first byte chooses the code page, the rest is
// the text. Every break comes out as one CR LF pair, nothing else changes, a double-byte
// character stays whole, and adjusting again changes nothing.
#include "FuzzSupport.h"
#include "framework/TextUtils.h"

#include <algorithm>

static std::string WithoutBreaks(std::string text) {
    text.erase(
        std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }),
        text.end());
    return text;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    UINT codePage = CodePageOf(data[0]);
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string adjusted = AdjustLineBreaks(text, codePage);
    FUZZ_CHECK(adjusted.size() <= 2 * text.size());
    // Only breaks change: every other byte, a trail byte of 10 or 13 included, stays.
    FUZZ_CHECK(WithoutBreaks(adjusted) == WithoutBreaks(text));
    // Walked character by character, every CR is followed by an LF and there is no other LF.
    for (size_t i = 0; i < adjusted.size(); i++) {
        if (IsDBCSLeadByteEx(codePage, BYTE(adjusted[i])) && i + 1 < adjusted.size()) {
            i++;
        } else if (adjusted[i] == '\r') {
            FUZZ_CHECK(i + 1 < adjusted.size() && adjusted[i + 1] == '\n');
            i++;
        } else {
            FUZZ_CHECK(adjusted[i] != '\n');
        }
    }
    FUZZ_CHECK(AdjustLineBreaks(adjusted, codePage) == adjusted);
    return 0;
}
