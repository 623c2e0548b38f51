#include "app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandArguments, TextAfterTheProgramName)
{
    const std::wstring cases[][2] = {
        {L"Quenmark.exe D:\\Photos", L" D:\\Photos"},
        {L"Quenmark.exe\tD:\\x", L"\tD:\\x"},
        {L"\"C:\\Program Files\\Quenmark.exe\"D:\\x", L"D:\\x"},
        {L"Quenmark.exe", L""},
        // An unclosed quote takes the whole line as the program's name.
        {L"\"C:\\Quenmark.exe D:\\x", L""},
    };
    for (const auto& [line, arguments] : cases)
        EXPECT_EQ(commandArguments(line), arguments) << testing::PrintToString(line);
}
