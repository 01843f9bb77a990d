#pragma once
// The few Win32 types and the one function the fuzzed text code needs, for the native fuzzing
// build only: the program itself is always built against the real header.
#include <cstdint>

using BYTE = std::uint8_t;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using BOOL = int;

// The lead bytes of the double-byte code pages as the platform reports them (CPINFO.LeadByte):
// Japanese 932, and Chinese and Korean 936, 949 and 950; every other code page has none.
inline BOOL IsDBCSLeadByteEx(UINT codePage, BYTE byte) {
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    }
    return false;
}
