#include "support/tsText.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace std::string_literals;

TEST(TsTrimEx2, CommandLineLosesBlanksThenOnePairOfQuotes)
{
    const std::wstring cases[][2] = {
        {L" \t\0\r\n D:\\Photos \n\0\t "s, L"D:\\Photos"},
        {L" \t\r\n", L""},
        {L" D:\\My  Photos\tsea\0x "s, L"D:\\My  Photos\tsea\0x"s},
        {L" \t\"D:\\My Photos\"\r\n", L"D:\\My Photos"},
        {L"\" D:\\My Photos \"", L" D:\\My Photos "},
        {L"\"\"D:\\Photos\"\"", L"\"D:\\Photos\""},
        {L" \"D:\\Photos ", L"\"D:\\Photos"},
        // The rarer blanks and single quotes may be part of a folder's name.
        {L" \f\v\u00A0\u3000'D:\\Photos' ", L"\f\v\u00A0\u3000'D:\\Photos'"},
    };
    for (const auto& [text, trimmed] : cases) {
        std::wstring result;
        EXPECT_TRUE(tsTrimEx2(text, kTrimCommandLine, result));
        EXPECT_EQ(result, trimmed) << testing::PrintToString(text);
    }
}

// Colours are read back from what tsHexEx4 wrote, or from a decimal a user typed.
TEST(TsParseLong, ReadsHexAsRawBitsAndSignedDecimal)
{
    const std::pair<std::wstring, std::int32_t> cases[] = {
        {L"0xFFFFFFFF", -1}, {L"0x80000000", INT32_MIN},  {L"0x7FFFFFFF", INT32_MAX}, {L"0X1a", 26}, {L"+42", 42},
        {L"007", 7},         {L"-2147483648", INT32_MIN}, {L"0x000000000FF", 255},
    };
    for (const auto& [text, value] : cases) {
        std::int32_t read = 12345;
        EXPECT_TRUE(tsParseLong(text, read)) << testing::PrintToString(text);
        EXPECT_EQ(read, value) << testing::PrintToString(text);
    }
    for (const std::wstring text : {L"", L"0x", L"0x123456789", L"0x12G", L"12a", L" 12", L"-", L"--1", L"1.5",
                                    L"2147483648", L"-2147483649", L"99999999999", L"\u0661\u0662"}) {
        std::int32_t read = 12345;
        EXPECT_FALSE(tsParseLong(text, read)) << testing::PrintToString(text);
        EXPECT_EQ(read, 12345) << testing::PrintToString(text);
    }
}
