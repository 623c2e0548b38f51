#include "app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandArguments, TextAfterTheProgramName)
{
    EXPECT_EQ(commandArguments(L"Quenmark.exe D:\\Photos"), L" D:\\Photos");
    EXPECT_EQ(commandArguments(L"\"C:\\Program Files\\Quenmark.exe\" \"D:\\My Photos\""), L" \"D:\\My Photos\"");
    EXPECT_EQ(commandArguments(L"\"C:\\Program Files\\Quenmark.exe\"D:\\x"), L"D:\\x");
    EXPECT_EQ(commandArguments(L"Quenmark.exe\tD:\\x"), L"\tD:\\x");
}

TEST(CommandArguments, NoArguments)
{
    EXPECT_EQ(commandArguments(L"Quenmark.exe"), L"");
    EXPECT_EQ(commandArguments(L"\"C:\\Quenmark.exe\""), L"");
    EXPECT_EQ(commandArguments(L""), L"");
    // An unclosed quote takes the whole line as the program's name.
    EXPECT_EQ(commandArguments(L"\"C:\\Quenmark.exe D:\\x"), L"");
}
