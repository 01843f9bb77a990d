#pragma once
#include <string>
#include <windows.h>

// Makes every line break a carriage return plus line feed: a lone line feed or a lone carriage
// return becomes the pair. A double-byte character of the code page is copied as a unit, so a
// trail byte of value 10 or 13 is never taken for a break.
std::string AdjustLineBreaks(const std::string& text, UINT codePage);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
