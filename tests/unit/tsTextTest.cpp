#include "support/tsText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace std::string_literals;

namespace {

std::wstring trimmed(const std::wstring& text, unsigned options = kTrimCommandLine)
{
    std::wstring result = L"untouched";
    EXPECT_TRUE(tsTrimEx2(text, options, result));
    return result;
}

std::wstring hex(std::int32_t value)
{
    std::wstring result;
    EXPECT_TRUE(tsHexEx4(value, result));
    return result;
}

} // namespace

TEST(TsTrimCommandLine, BlanksAroundGo)
{
    EXPECT_EQ(trimmed(L"  D:\\Photos  "), L"D:\\Photos");
    EXPECT_EQ(trimmed(L"\tD:\\Photos\t"), L"D:\\Photos");
    EXPECT_EQ(trimmed(L"\r\nD:\\Photos\r\n"), L"D:\\Photos");
    EXPECT_EQ(trimmed(L"\0D:\\Photos\0"s), L"D:\\Photos");
    EXPECT_EQ(trimmed(L" \t\0\r\n D:\\Photos \n\0\t "s), L"D:\\Photos");
    EXPECT_EQ(trimmed(L" \t\r\n"), L"");
    EXPECT_EQ(trimmed(L""), L"");
}

TEST(TsTrimCommandLine, InnerBlanksStay)
{
    EXPECT_EQ(trimmed(L" D:\\My  Photos\\2024\tsea "), L"D:\\My  Photos\\2024\tsea");
    EXPECT_EQ(trimmed(L"D:\\a\0b"s), L"D:\\a\0b"s);
}

TEST(TsTrimCommandLine, OnePairOfQuotesGoesAfterTheBlanks)
{
    EXPECT_EQ(trimmed(L"\"D:\\My Photos\""), L"D:\\My Photos");
    EXPECT_EQ(trimmed(L" \t\"D:\\My Photos\"\r\n"), L"D:\\My Photos");
    // Blanks inside the quotes belong to the name.
    EXPECT_EQ(trimmed(L"\" D:\\My Photos \""), L" D:\\My Photos ");
    EXPECT_EQ(trimmed(L"\"\""), L"");
}

TEST(TsTrimCommandLine, OnlyOnePairOfQuotes)
{
    EXPECT_EQ(trimmed(L"\"\"D:\\Photos\"\""), L"\"D:\\Photos\"");
    EXPECT_EQ(trimmed(L"\" \"D:\\Photos\" \""), L" \"D:\\Photos\" ");
}

TEST(TsTrimCommandLine, UnbalancedQuotesStay)
{
    EXPECT_EQ(trimmed(L"\"D:\\Photos"), L"\"D:\\Photos");
    EXPECT_EQ(trimmed(L"D:\\Photos\""), L"D:\\Photos\"");
    EXPECT_EQ(trimmed(L" \" "), L"\"");
    EXPECT_EQ(trimmed(L"\"D:\\a\" \"D:\\b"), L"\"D:\\a\" \"D:\\b");
}

TEST(TsTrimCommandLine, RarerBlanksAndSingleQuotesStay)
{
    for (const std::wstring kept :
         {L"\fD:\\Photos\f", L"\vD:\\Photos\v", L"\u00A0D:\\Photos\u00A0", L"\u3000D:\\Photos\u3000", L"'D:\\Photos'"})
        EXPECT_EQ(trimmed(kept), kept);
    EXPECT_EQ(trimmed(L" \f\"D:\\Photos\"\f "), L"\f\"D:\\Photos\"\f");
}

TEST(TsTrimEx2, EachOptionTrimsOnlyItsOwnCharacters)
{
    EXPECT_EQ(trimmed(L" \tx\t ", TrimSpace), L"\tx\t");
    EXPECT_EQ(trimmed(L"\t x \t", TrimTab), L" x ");
    EXPECT_EQ(trimmed(L"\r\n x\n", TrimLineBreaks), L" x");
    EXPECT_EQ(trimmed(L"\0 x\0"s, TrimNul), L" x");
    EXPECT_EQ(trimmed(L" \"x\" ", TrimDoubleQuotes), L" \"x\" ");
    EXPECT_EQ(trimmed(L"\f\vx\f", TrimFormFeed), L"\vx");
    EXPECT_EQ(trimmed(L"\v\fx\v", TrimVerticalTab), L"\fx");
    EXPECT_EQ(trimmed(L"\u00A0x\u00A0", TrimNoBreakSpace), L"x");
    EXPECT_EQ(trimmed(L"\u3000x\u3000", TrimIdeographicSpace), L"x");
    EXPECT_EQ(trimmed(L"'x'", TrimSingleQuotes), L"x");
    EXPECT_EQ(trimmed(L" x ", 0), L" x ");
}

TEST(TsHexEx4, EightUpperCaseDigits)
{
    EXPECT_EQ(hex(0), L"0x00000000");
    EXPECT_EQ(hex(0x00FF8000), L"0x00FF8000");
    EXPECT_EQ(hex(0x00abcdef), L"0x00ABCDEF");
    EXPECT_EQ(hex(0x00FFFFFF), L"0x00FFFFFF");
    EXPECT_EQ(hex(-1), L"0xFFFFFFFF");
    EXPECT_EQ(hex(INT32_MIN), L"0x80000000");
    EXPECT_EQ(hex(INT32_MAX), L"0x7FFFFFFF");
}

TEST(TsParseLong, ReadsBackWhatTsHexEx4Writes)
{
    for (const std::int32_t value :
         {0, 1, 0x00FF8000, 0x00FFFFFF, 0x01000000, -1, INT32_MIN, INT32_MAX, static_cast<std::int32_t>(0x8000000Fu)}) {
        std::int32_t read = 12345;
        EXPECT_TRUE(tsParseLong(hex(value), read)) << hex(value);
        EXPECT_EQ(read, value) << hex(value);
    }
}

TEST(TsParseLong, HexDigitsAreTheRawBits)
{
    std::int32_t read = 0;
    ASSERT_TRUE(tsParseLong(L"0x8000000F", read));
    EXPECT_EQ(read, -2147483633);
    ASSERT_TRUE(tsParseLong(L"0xffffffff", read));
    EXPECT_EQ(read, -1);
    ASSERT_TRUE(tsParseLong(L"0X1a", read));
    EXPECT_EQ(read, 26);
    ASSERT_TRUE(tsParseLong(L"0x0", read));
    EXPECT_EQ(read, 0);
}

TEST(TsParseLong, DecimalWithSignOverTheWholeRange)
{
    const std::pair<std::wstring, std::int32_t> cases[] = {
        {L"0", 0},
        {L"16777215", 0xFFFFFF},
        {L"+42", 42},
        {L"-1", -1},
        {L"007", 7},
        {L"-0", 0},
        {L"2147483647", INT32_MAX},
        {L"-2147483648", INT32_MIN},
    };
    for (const auto& [text, value] : cases) {
        std::int32_t read = 12345;
        EXPECT_TRUE(tsParseLong(text, read)) << testing::PrintToString(text);
        EXPECT_EQ(read, value) << testing::PrintToString(text);
    }
}

TEST(TsParseLong, AnythingElseFailsAndLeavesTheResult)
{
    for (const std::wstring text :
         {L"", L"0x", L"0x123456789", L"0x000000001", L"0x12G", L"0x-1", L"12a", L" 12", L"12 ", L"1e3", L"-", L"+",
          L"--1", L"1.5", L"2147483648", L"-2147483649", L"99999999999", L"\u0661\u0662"}) {
        std::int32_t read = 12345;
        EXPECT_FALSE(tsParseLong(text, read)) << testing::PrintToString(text);
        EXPECT_EQ(read, 12345) << testing::PrintToString(text);
    }
}
