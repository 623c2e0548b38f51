#include "TestFiles.h"

#include "support/tsAnsi.h"

#include <gtest/gtest.h>

#include <windows.h>

// Every other test here builds its files and expectations in code page 1251.
TEST(Environment, AnsiCodePageIsCyrillic)
{
    ASSERT_EQ(GetACP(), 1251u);
}

TEST(AnsiText, CyrillicRoundTrips)
{
    const std::wstring text = L"Съешь же ещё этих мягких французских булок, да выпей же чаю. ЁЖ №5 — «Ф»";
    std::string ansi;
    ASSERT_TRUE(tsToAnsi(text, ansi));
    EXPECT_EQ(ansi, ansiBytes(text));
    EXPECT_EQ(ansi.substr(0, 2), "\xD1\xFA"); // "Съ": one byte per letter
    std::wstring back;
    ASSERT_TRUE(tsFromAnsi(ansi, back));
    EXPECT_EQ(back, text);
}

TEST(AnsiText, EveryCharacterOfTheCodePageRoundTrips)
{
    std::string all;
    for (int byte = 1; byte <= 0xFF; ++byte) {
        if (byte != 0x98) // the one byte 1251 leaves unassigned
            all += static_cast<char>(byte);
    }
    std::wstring wide;
    ASSERT_TRUE(tsFromAnsi(all, wide));
    EXPECT_EQ(wide.size(), all.size());
    std::string back;
    ASSERT_TRUE(tsToAnsi(wide, back));
    EXPECT_EQ(back, all);
}

TEST(AnsiText, EmptyAndEmbeddedNulTexts)
{
    std::string ansi = "left over";
    ASSERT_TRUE(tsToAnsi(L"", ansi));
    EXPECT_EQ(ansi, "");
    std::wstring wide = L"left over";
    ASSERT_TRUE(tsFromAnsi("", wide));
    EXPECT_EQ(wide, L"");

    ASSERT_TRUE(tsToAnsi(std::wstring(L"а\0б", 3), ansi));
    EXPECT_EQ(ansi, std::string("\xE0\0\xE1", 3));
}

// A lossy conversion would give "?" or a look-alike ("a" for "ą") and so name another
// file or write another value.
TEST(AnsiText, CharacterMissingFromTheCodePageIsRefused)
{
    struct Case {
        std::wstring text;
        char lookalike;
    };
    for (const Case& c : {Case {L"\u0105", 'a'}, Case {L"\u00E9", 'e'}, Case {L"\u00C5", 'A'}, Case {L"\u4E2D", '?'},
                          Case {L"Папка \u0105", 'a'}, Case {L"smile \U0001F600", '?'}, Case {L"\u2603 снег", '?'}}) {
        SCOPED_TRACE(utf8(c.text));
        std::string ansi = "-";
        const TsStatus status = tsToAnsi(c.text, ansi);
        EXPECT_FALSE(status);
        EXPECT_EQ(status.error(), TsStatus::kNoUnicodeMapping);
        EXPECT_EQ(ansi.find('?'), std::string::npos);
        EXPECT_EQ(ansi.find(c.lookalike), std::string::npos);
    }
}
