#pragma once
#include <string>
#include <windows.h>

// Makes every line break a carriage return plus line feed: a lone line feed or a lone carriage
// return becomes the pair. A double-byte character of the code page is copied as a unit, so a
// trail byte of value 10 or 13 is never taken for a break.
std::string AdjustLineBreaks(const std::string& text, UINT codePage);

// The text in the code page, when every character has its own counterpart there: false when a
// character would be lost to the default character or replaced by a look-alike (best fit),
// either of which could name another file. A wildcard is never part of a name: where the text
// is to be a name (wcRefused), a "?" or "*" in the result counts as lost too.
enum TWildcards { wcAllowed, wcRefused };
bool NarrowExactly(const std::wstring& text, UINT codePage, std::string& narrow,
                   TWildcards wildcards = wcAllowed);
// The text as the platform's 8-bit functions spell it: look-alikes and "?" where the code page
// has no counterpart.
std::string PlatformSpelling(const std::wstring& text, UINT codePage);
std::wstring Widen(const std::string& text, UINT codePage);

// An ASCII letter in the other case; every other character as it is (drive letters, device
// names: never a letter of the code page's upper half).
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// The caption as it reads, without the marker of its accelerator ("&&" reads as one "&").
std::string WithoutAccelerator(const std::string& caption);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
