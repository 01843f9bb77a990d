#include <gtest/gtest.h>

#include "framework/TextUtils.h"
#include "main/OpenDialog.h"

TEST(LineBreaks, LoneFeedsAndReturnsBecomePairs) {
    EXPECT_EQ(AdjustLineBreaks("a\nb\rc\r\nd", 1250), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(AdjustLineBreaks("\n\n\r\r", 1250), "\r\n\r\n\r\n\r\n");
    EXPECT_EQ(AdjustLineBreaks("\r\n\r\n", 1250), "\r\n\r\n");
    EXPECT_EQ(AdjustLineBreaks("", 1250), "");
    EXPECT_EQ(AdjustLineBreaks("za\xBF\xF3\xB3\xE6", 1250), "za\xBF\xF3\xB3\xE6");
}

TEST(LineBreaks, ADoubleByteCharacterIsCopiedWhole) {
    // In code page 932 0x83 leads a pair: the byte after it is never taken for a break.
    EXPECT_EQ(AdjustLineBreaks("\x83\n", 932), "\x83\n");
    EXPECT_EQ(AdjustLineBreaks("\x83\x41\n", 932), "\x83\x41\r\n");
    EXPECT_EQ(AdjustLineBreaks("x\x83", 932), "x\x83") << "a lead byte at the end stays";
    EXPECT_EQ(AdjustLineBreaks("\x83\r\n", 932), "\x83\r\r\n") << "the pair, then a lone LF";
    EXPECT_EQ(AdjustLineBreaks("\x83\x83\n", 932), "\x83\x83\r\n") << "a lead byte as trail";
    // In a single-byte code page the same bytes end in one plain break.
    EXPECT_EQ(AdjustLineBreaks("\x83\r\n", 1250), "\x83\r\n");
}

TEST(LineBreaks, MixedBreaksEachBecomeOnePair) {
    EXPECT_EQ(AdjustLineBreaks("\r\r\n\n\r", 1250), "\r\n\r\n\r\n\r\n");
    EXPECT_EQ(AdjustLineBreaks("\n\r", 1250), "\r\n\r\n") << "LF CR is two breaks";
}

TEST(OpenDialogFilter, BarsBecomeNulsAndTheTextEndsInTwoNuls) {
    std::string converted =
        ConvertFilter("Archiwa ACE (*ace)|*.ace|Wszystkie pliki (*.*)|*.*", 1250);
    EXPECT_EQ(converted,
              std::string("Archiwa ACE (*ace)\0*.ace\0Wszystkie pliki (*.*)\0*.*\0", 51));
    EXPECT_EQ(ConvertFilter("", 1250), "");
    // 0x83 0x7C is one character in code page 932: its trail byte is no separator.
    EXPECT_EQ(ConvertFilter("\x83|A|*.a", 932), std::string("\x83|A\0*.a\0", 8));
}

TEST(CodePageSpelling, OnlyCharactersWithACounterpartOfTheirOwnAreSpelled) {
    std::string narrow;
    EXPECT_TRUE(NarrowExactly(L"\u017B\u00F3\u0142w & b", 1250, narrow));
    EXPECT_EQ(narrow, "\xAF\xF3\xB3w & b");
    narrow = "kept";
    EXPECT_FALSE(NarrowExactly(L"\u0109.ace", 1250, narrow)) << "c with circumflex: not c";
    EXPECT_FALSE(NarrowExactly(L"a\uFF3C..\uFF3Carch", 1250, narrow)) << "not a backslash";
    EXPECT_FALSE(NarrowExactly(L"\u0416\u0443\u043A.ace", 1250, narrow)) << "not ???";
    EXPECT_EQ(narrow, "kept") << "left alone when the text cannot be spelled";
    // What the platform's 8-bit functions make of the same names.
    EXPECT_EQ(PlatformSpelling(L"\u0109.ace", 1250), "c.ace");
    EXPECT_EQ(PlatformSpelling(L"a\uFF3C..\uFF3Carch", 1250), "a\\..\\arch");
    EXPECT_EQ(PlatformSpelling(L"\u0416\u0443\u043A.ace", 1250), "???.ace");
    // A typed "?" is the character itself, but it is never part of a file's name.
    EXPECT_TRUE(NarrowExactly(L"C:\\a?b", 1250, narrow));
    EXPECT_FALSE(NarrowExactly(L"C:\\a?b", 1250, narrow, wcRefused));
    EXPECT_FALSE(NarrowExactly(L"C:\\a*", 1250, narrow, wcRefused));
    // Another code page spells other letters.
    EXPECT_TRUE(NarrowExactly(L"\u0416\u0443\u043A", 1251, narrow));
    EXPECT_EQ(narrow, "\xC6\xF3\xEA");
    EXPECT_TRUE(NarrowExactly(L"\u0109", CP_UTF8, narrow));
    EXPECT_EQ(narrow, "\xC4\x89");
    // A name may hold half of a surrogate pair, which UTF-8 cannot spell: it would become U+FFFD.
    std::wstring halfPair = std::wstring(L"a") + wchar_t(0xD800) + L".ace";
    EXPECT_FALSE(NarrowExactly(halfPair, CP_UTF8, narrow)) << "no UTF-8 spelling";
    EXPECT_FALSE(NarrowExactly(halfPair, 1250, narrow));
    EXPECT_EQ(Widen("\xAF\xF3\xB3w", 1250), L"\u017B\u00F3\u0142w");
}
