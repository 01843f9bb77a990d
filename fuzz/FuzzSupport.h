#pragma once
// What the fuzz targets share: the code page an input is read in, and a check that stops the
// run, so that libFuzzer keeps the input, when a property of the code under test fails.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// The users' single-byte code page, or one of two double-byte ones, chosen by a byte.
inline UINT CodePageOf(std::uint8_t selector) {
    static const UINT pages[] = {1250, 932, 936};
    return pages[selector % 3];
}

// The input after its first byte, cut at every zero byte into fields.
inline std::vector<std::string> Fields(const std::uint8_t* data, size_t size) {
    std::vector<std::string> fields(1);
    for (size_t i = 1; i < size; i++)
        if (data[i] == 0)
            fields.emplace_back();
        else
            fields.back() += char(data[i]);
    return fields;
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
