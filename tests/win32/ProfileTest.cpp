#include "TestFiles.h"

#include "support/tsProfile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <optional>

namespace {

constexpr wchar_t kViewLower[] = L"{be098140-a513-11d0-a3a4-00c04fd706ec}";

// Our keys among others of the same names, with the spacing and blank lines people
// leave when they edit the file by hand.
constexpr wchar_t kSample[] = L"; Настройки папки\r\n"
                              L"[.ShellClassInfo]\r\n"
                              L"IconResource=C:\\Windows\\system32\\imageres.dll,-3\r\n"
                              L"\r\n"
                              L"[Other]\r\n"
                              L"IconArea_Image=other.bmp\r\n"
                              L"IconArea_Text=0x00000001\r\n"
                              L"[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
                              L"Attributes=1\r\n"
                              L"; картинка и цвета\r\n"
                              L"IconArea_Image=C:\\Фото\\Лес зимой.jpg\r\n"
                              L"  IconArea_Text   =   0x00FF8000   \r\n"
                              L"\tIconArea_TextBackground\t=\t255\t\r\n"
                              L"Empty=\r\n"
                              L"Blank =   \r\n"
                              L"\r\n"
                              L"  [After]  \r\n"
                              L"Text=0x00000002\r\n"
                              L"[Папка]\r\n"
                              L"Подпись=Дача, лето\r\n";

// The readers' results; nullopt when the call failed.
std::optional<std::wstring> readString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                                       unsigned options = 0)
{
    std::wstring result = L"<unset>";
    if (!tsReadStringFromINI(section, key, L"<default>", path, options, result))
        return std::nullopt;
    return result;
}

std::optional<std::int32_t> readLong(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                                     unsigned options = 0)
{
    std::int32_t result = -55;
    if (!tsReadLongFromINI(section, key, -99, path, options, result))
        return std::nullopt;
    return result;
}

std::optional<bool> keyExists(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                              unsigned options = 0, bool requireValue = false)
{
    bool result = false;
    if (!tsIsINIKeyExist2(section, key, path, options, requireValue, result))
        return std::nullopt;
    return result;
}

class ProfileFile : public testing::TestWithParam<Encoding> {
protected:
    void write(const std::wstring& text) { writeFile(path, encode(GetParam(), text)); }

    TempFolder folder;
    const std::wstring path = folder.at(L"settings.ini");
};

} // namespace

TEST_P(ProfileFile, ReadsItsKeyAmongOtherSectionsAndKeys)
{
    write(kSample);
    EXPECT_EQ(readString(path, kView, L"IconArea_Image"), L"C:\\Фото\\Лес зимой.jpg");
    EXPECT_EQ(readString(path, L"Other", L"IconArea_Image"), L"other.bmp");
    EXPECT_EQ(readLong(path, kView, L"IconArea_Text"), 0xFF8000);
    EXPECT_EQ(readLong(path, kView, L"IconArea_TextBackground"), 255);
    EXPECT_EQ(readLong(path, L"Other", L"IconArea_Text"), 1);
    EXPECT_EQ(readLong(path, L"After", L"Text"), 2);
    EXPECT_EQ(readString(path, L"Папка", L"Подпись"), L"Дача, лето");
    // Keys of other sections do not leak into ours, nor ours into theirs.
    EXPECT_EQ(readString(path, kView, L"IconResource"), L"<default>");
    EXPECT_EQ(readString(path, L".ShellClassInfo", L"Attributes"), L"<default>");
    EXPECT_EQ(keyExists(path, kView, L"Text"), false);
    EXPECT_EQ(keyExists(path, kView, L"IconArea_Text"), true);
}

// Key names are matched by the readers themselves, Cyrillic ones too; section names
// by the system, which under Wine folds only ASCII letters.
TEST_P(ProfileFile, NamesMatchInAnyLetterCase)
{
    write(kSample);
    EXPECT_EQ(readString(path, kViewLower, L"ICONAREA_IMAGE"), L"C:\\Фото\\Лес зимой.jpg");
    EXPECT_EQ(readLong(path, kViewLower, L"iconarea_text"), 0xFF8000);
    EXPECT_EQ(readLong(path, L"AFTER", L"text"), 2);
    EXPECT_EQ(readString(path, L"Папка", L"ПОДПИСЬ"), L"Дача, лето");
    EXPECT_EQ(keyExists(path, L".shellclassinfo", L"ICONRESOURCE"), true);
}

TEST_P(ProfileFile, AbsentKeySectionOrFileGivesTheDefault)
{
    write(kSample);
    EXPECT_EQ(readString(path, kView, L"Missing"), L"<default>");
    EXPECT_EQ(readLong(path, kView, L"Missing"), -99);
    EXPECT_EQ(keyExists(path, kView, L"Missing"), false);
    EXPECT_EQ(readString(path, L"NoSuchSection", L"Attributes"), L"<default>");
    EXPECT_EQ(readLong(path, L"NoSuchSection", L"Attributes"), -99);

    const std::wstring missing = folder.at(L"missing.ini");
    EXPECT_EQ(readString(missing, kView, L"IconArea_Image"), L"<default>");
    EXPECT_EQ(readLong(missing, kView, L"IconArea_Text"), -99);
    EXPECT_EQ(keyExists(missing, kView, L"IconArea_Text"), false);
    EXPECT_FALSE(pathExists(missing));
}

TEST_P(ProfileFile, PresentButEmptyKey)
{
    write(kSample);
    for (const wchar_t* key : {L"Empty", L"Blank"}) {
        SCOPED_TRACE(utf8(key));
        EXPECT_EQ(readString(path, kView, key), L"");
        EXPECT_EQ(keyExists(path, kView, key), true);
        EXPECT_EQ(keyExists(path, kView, key, 0, true), false);
        EXPECT_EQ(readLong(path, kView, key), std::nullopt);
    }
    EXPECT_EQ(keyExists(path, kView, L"Attributes", 0, true), true);
    EXPECT_EQ(keyExists(path, kView, L"Missing", 0, true), false);
}

TEST_P(ProfileFile, ExpandEnvironmentOptionExpandsVariablesInValues)
{
    SetEnvironmentVariableW(L"QUENMARK_TEST_NUMBER", L"0x10");
    write(L"[S]\r\nIcon=%QUENMARK_TEST_NUMBER%\\x.ico\r\nNumber=%QUENMARK_TEST_NUMBER%\r\n"
          L"Unknown=%QUENMARK_NO_SUCH_VARIABLE%\r\n");
    EXPECT_EQ(readString(path, L"S", L"Icon", IniExpandEnvironment), L"0x10\\x.ico");
    EXPECT_EQ(readString(path, L"S", L"Icon"), L"%QUENMARK_TEST_NUMBER%\\x.ico");
    EXPECT_EQ(readLong(path, L"S", L"Number", IniExpandEnvironment), 16);
    EXPECT_EQ(readLong(path, L"S", L"Number"), std::nullopt);
    EXPECT_EQ(readString(path, L"S", L"Unknown", IniExpandEnvironment), L"%QUENMARK_NO_SUCH_VARIABLE%");
    EXPECT_EQ(readString(path, L"S", L"Missing", IniExpandEnvironment), L"<default>");
    SetEnvironmentVariableW(L"QUENMARK_TEST_NUMBER", nullptr);
}

TEST_P(ProfileFile, NumbersInHexAndDecimal)
{
    struct Case {
        const wchar_t* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {L"0", 0},
        {L"16777215", 0xFFFFFF},
        {L"007", 7},
        {L"-1", -1},
        {L"+12", 12},
        {L"2147483647", INT32_MAX},
        {L"-2147483648", INT32_MIN},
        {L"0xff", 0xFF},
        {L"0X00FF8000", 0xFF8000},
        {L"0x00abcDEF", 0xABCDEF},
        {L"0x8000000F", static_cast<std::int32_t>(0x8000000Fu)},
        {L"0xFFFFFFFF", -1},
    };
    std::wstring text = L"[Numbers]\r\n";
    for (std::size_t i = 0; i < std::size(cases); ++i)
        text += L"N" + std::to_wstring(i) + L" = " + cases[i].text + L"\r\n";
    write(text);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(utf8(cases[i].text));
        EXPECT_EQ(readLong(path, L"Numbers", L"N" + std::to_wstring(i)), cases[i].value);
    }
}

TEST_P(ProfileFile, ValuesThatAreNotNumbersFailToRead)
{
    const wchar_t* const texts[] = {L"2147483648", L"-2147483649", L"4294967296", L"0x100000000", L"0x", L"0xG1",
                                    L"12abc",      L"abc",         L"1 2",        L"1.5",         L"-",  L"Синий"};
    std::wstring text = L"[Numbers]\r\n";
    for (std::size_t i = 0; i < std::size(texts); ++i)
        text += L"N" + std::to_wstring(i) + L"=" + texts[i] + L"\r\n";
    write(text);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        SCOPED_TRACE(utf8(texts[i]));
        EXPECT_EQ(readLong(path, L"Numbers", L"N" + std::to_wstring(i)), std::nullopt);
        EXPECT_EQ(readString(path, L"Numbers", L"N" + std::to_wstring(i)), texts[i]);
    }
}

// The readers start with a small buffer; answers about its size must come back whole.
TEST_P(ProfileFile, LongValuesAndLongKeyListsReadWhole)
{
    const std::size_t lengths[] = {200, 252, 253, 254, 255, 256, 257, 508, 509, 510, 511, 512, 513, 3000};
    std::wstring text = L"[Long]\r\n";
    for (const std::size_t length : lengths)
        text += L"Value" + std::to_wstring(length) + L"=" + std::wstring(length - 1, L'ж') + L"!\r\n";
    text += L"[Many]\r\n";
    for (int i = 0; i < 60; ++i)
        text += L"ARatherLongKeyNameNumber" + std::to_wstring(i) + L"=" + std::to_wstring(i) + L"\r\n";
    write(text);

    for (const std::size_t length : lengths) {
        SCOPED_TRACE(length);
        EXPECT_EQ(readString(path, L"Long", L"Value" + std::to_wstring(length)), std::wstring(length - 1, L'ж') + L"!");
    }
    EXPECT_EQ(readLong(path, L"Many", L"ARatherLongKeyNameNumber59"), 59);
    EXPECT_EQ(keyExists(path, L"Many", L"arATHERlongKEYnameNUMBER59"), true);
}

TEST_P(ProfileFile, WritesDeletesKeysAndSections)
{
    write(kSample);
    const std::wstring text = L"IconArea_Text", blue = L"0x00FF0000";
    const std::wstring signature = L"Подпись", winter = L"Зима", newKey = L"Новый", newValue = L"Значение";
    const std::wstring empty = L"Empty";
    ASSERT_TRUE(tsWriteINI(kViewLower, &text, &blue, path));
    ASSERT_TRUE(tsWriteINI(L"Папка", &signature, &winter, path));
    ASSERT_TRUE(tsWriteINI(L"Новый раздел", &newKey, &newValue, path));
    ASSERT_TRUE(tsWriteINI(kView, &empty, nullptr, path));
    ASSERT_TRUE(tsWriteINI(L"other", nullptr, nullptr, path));

    const IniFile file = IniFile::read(path);
    EXPECT_EQ(file.encoding(), GetParam());
    const std::wstring ours = L"[{BE098140-A513-11D0-A3A4-00C04FD706EC}] ";
    EXPECT_TRUE(holdsExactly(file,
                             {
                                 L"[] ; Настройки папки",
                                 L"[.ShellClassInfo] IconResource=C:\\Windows\\system32\\imageres.dll,-3",
                                 ours + L"Attributes=1",
                                 ours + L"; картинка и цвета",
                                 ours + L"IconArea_Image=C:\\Фото\\Лес зимой.jpg",
                                 ours + L"IconArea_Text=0x00FF0000",
                                 ours + L"IconArea_TextBackground=255",
                                 ours + L"Blank=",
                                 L"[After] Text=0x00000002",
                                 L"[Папка] Подпись=Зима",
                                 L"[Новый раздел] Новый=Значение",
                             }));
    EXPECT_EQ(readString(path, L"Новый раздел", L"Новый"), L"Значение");
}

// A "?" in place of the character would name another section or key.
TEST_P(ProfileFile, TextTheCodePageLacksIsRefusedAndTheFileLeftAlone)
{
    write(kSample);
    const std::string before = readFile(path);
    const std::wstring key = L"IconArea_Text", value = L"0x000000FF";
    const std::wstring badKey = L"Ключ\u4E2D", badValue = L"C:\\\u0105.jpg";
    EXPECT_EQ(tsWriteINI(kView, &key, &badValue, path).error(), TsStatus::kNoUnicodeMapping);
    EXPECT_EQ(tsWriteINI(kView, &badKey, &value, path).error(), TsStatus::kNoUnicodeMapping);
    EXPECT_EQ(tsWriteINI(L"Раздел\u4E2D", &key, &value, path).error(), TsStatus::kNoUnicodeMapping);
    EXPECT_EQ(tsWriteINI(L"Раздел\u4E2D", nullptr, nullptr, path).error(), TsStatus::kNoUnicodeMapping);
    EXPECT_EQ(tsWriteINI(kView, &badKey, nullptr, path).error(), TsStatus::kNoUnicodeMapping);
    EXPECT_EQ(readFile(path), before);
}

INSTANTIATE_TEST_SUITE_P(Encodings, ProfileFile, testing::Values(Encoding::Ansi, Encoding::Utf16), encodingName);

TEST(ProfileWrite, IntoAMissingFolderFails)
{
    const TempFolder folder;
    const std::wstring key = L"Attributes", value = L"1";
    EXPECT_FALSE(tsWriteINI(kView, &key, &value, folder.at(L"missing\\Desktop.INI")));
    EXPECT_TRUE(folderEntries(folder.path()).empty());
}
