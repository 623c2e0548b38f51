#include "app/CommandLine.h"
#include "app/FolderCommand.h"
#include "app/FolderListText.h"
#include "resources/Messages.h"
#include "support/tsPath.h"
#include "support/tsText.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace std::string_literals;

TEST(TsPath, PartsOfAPathAndJoiningAFileName)
{
    struct {
        std::wstring path, fileName, folder;
        bool relative;
    } const cases[] = {
        {L"D:\\Pictures\\sea.jpg", L"sea.jpg", L"D:\\Pictures", false},
        {L"D:/Pictures/sea.jpg", L"sea.jpg", L"D:/Pictures", false},
        {L"D:\\Pictures\\", L"", L"D:\\Pictures", false},
        {L"D:\\sea.jpg", L"sea.jpg", L"D:\\", false},
        {L"D:sea.jpg", L"sea.jpg", L"D:", false},
        {L"\\sea.jpg", L"sea.jpg", L"\\", false},
        {L"\\\\server\\share\\sea.jpg", L"sea.jpg", L"\\\\server\\share", false},
        {L"Pictures\\sea.jpg", L"sea.jpg", L"Pictures", true},
        {L"sea.jpg", L"sea.jpg", L"", true},
        // A colon after anything but a letter is part of a name.
        {L"1:sea.jpg", L"1:sea.jpg", L"", true},
        // Found by fuzzing: split as a drive, this did not join back to the same name.
        {L"\\\\:", L":", L"\\", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        std::wstring fileName, folder;
        bool relative = !c.relative;
        EXPECT_TRUE(tsGetFileName(c.path, fileName) && tsGetFilePath(c.path, folder)
                    && tsIsRelativePath(c.path, relative));
        EXPECT_EQ(std::tuple(fileName, folder, relative), std::tuple(c.fileName, c.folder, c.relative));
    }
    // Without a file name the joined path would name the folder itself, without a
    // folder no folder at all.
    std::wstring joined = L"untouched";
    EXPECT_EQ(tsBuildFileName(L"C:\\Photos", L"", joined).error(), TsStatus::kInvalidName);
    EXPECT_EQ(tsBuildFileName(L"", L"Desktop.INI", joined).error(), TsStatus::kInvalidName);
    EXPECT_EQ(joined, L"untouched");
}

// The folder is the whole command line after the program's name (quoted, or up to the
// first blank), less its blanks and then one pair of quotes.
TEST(CommandLine, FolderIsTheTrimmedTextAfterTheProgramName)
{
    const std::wstring cases[][2] = {
        {L"Quenmark.exe \t\0\r\n D:\\Photos \n\0\t "s, L"D:\\Photos"},
        {L"Quenmark.exe\tD:\\x", L"D:\\x"},
        {L"\"C:\\Program Files\\Quenmark.exe\"D:\\x", L"D:\\x"},
        {L"Quenmark.exe", L""},
        {L"Quenmark.exe \t\r\n", L""},
        // An unclosed quote takes the whole line as the program's name.
        {L"\"C:\\Quenmark.exe D:\\x", L""},
        {L"q D:\\My  Photos\tsea\0x "s, L"D:\\My  Photos\tsea\0x"s},
        {L"q \t\"D:\\My Photos\"\r\n", L"D:\\My Photos"},
        {L"q \" D:\\My Photos \"", L" D:\\My Photos "},
        {L"q \"\"D:\\Photos\"\"", L"\"D:\\Photos\""},
        {L"q  \"D:\\Photos ", L"\"D:\\Photos"},
        // The rarer blanks and single quotes may be part of a folder's name.
        {L"q  \f\v\u00A0\u3000'D:\\Photos' ", L"\f\v\u00A0\u3000'D:\\Photos'"},
        // As the shell fills in the folders' command: a backslash before the closing
        // quote escapes nothing.
        {L"\"C:\\Q.exe\" \"C:\\Папка с пробелами\\\"", L"C:\\Папка с пробелами\\"},
        {L"\"C:\\Q.exe\" \"\\\\server\\share\\Фото\"", L"\\\\server\\share\\Фото"},
    };
    for (const auto& [line, folder] : cases) {
        std::wstring trimmed;
        EXPECT_TRUE(tsTrimEx2(commandArguments(line), kTrimCommandLine, trimmed));
        EXPECT_EQ(trimmed, folder) << testing::PrintToString(line);
    }
}

// Several folders on a command line, each quoted; any other text keeps naming one
// folder whole (a single quoted folder, a word beside one, a folder that is not there).
TEST(CommandLine, TakesSeveralQuotedFoldersOnly)
{
    const auto isFolder = [](const std::wstring& path) { return path != L"D:\\нет"; };
    const std::vector<std::wstring> two = {L"D:\\Фото\\2004", L"D:\\Фото 2005\\"};
    EXPECT_EQ(severalFolders(L" \"D:\\Фото\\2004\"\t \"D:\\Фото 2005\\\" ", isFolder), two);
    for (const wchar_t* one : {L"\"D:\\Фото\\2004\"", L"\"D:\\a\" \"D:\\нет\"", L"\"D:\\a\" D:\\b",
                               L"\"D:\\a\"\"D:\\b\"", L"\"D:\\a\" \"D:\\b", L"D:\\a \"D:\\b\"", L""})
        EXPECT_EQ(severalFolders(one, isFolder), std::vector<std::wstring> {}) << testing::PrintToString(one);
}

// What the folders' command's keys hold: the class of its drop target, served by the
// quoted exe; on a folder and on its background the verb, the exe's first icon, and
// the exe and the shell's folder argument, each quoted so that blanks stay inside it;
// on a folder also the drop target, for a selection of any size.
TEST(FolderCommand, StartsTheQuotedExeOnTheQuotedFolder)
{
    const std::wstring exe = L"C:\\Program Files\\Квен марк\\Quenmark.exe";
    std::vector<std::wstring> texts;
    for (const RegistryText& value : folderCommandTexts(exe))
        texts.push_back((value.name ? value.name : L"") + (L"=" + value.text));
    const std::wstring verb = L"=Оформить в Quenmark…", icon = L"Icon=" + exe + L",0";
    EXPECT_EQ(texts,
              (std::vector<std::wstring> {L"=Quenmark", L"=\"" + exe + L"\"", verb, icon, L"MultiSelectModel=Player",
                                          L"Clsid={B67171CC-AA96-4199-A1DF-D0DA4EF561F2}", L"=\"" + exe + L"\" \"%1\"",
                                          verb, icon, L"=\"" + exe + L"\" \"%V\""}));
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
    for (const std::int32_t value : {0, 7, -1, 2147483647, INT32_MIN}) {
        std::int32_t read = 12345;
        EXPECT_TRUE(tsParseLong(tsDecimal(value), read) && read == value) << value;
    }
    EXPECT_EQ(tsDecimal(INT64_MIN), L"-9223372036854775808");
}

// Windows' interface language picks the program's: any Russian, by its primary
// language, is Russian; every other one English.
TEST(InterfaceLanguage, RussianOnlyOnARussianInterface)
{
    for (const LANGID russian : {0x0419, 0x0819})
        EXPECT_EQ(languageFor(russian), Language::Russian) << russian;
    for (const LANGID other : {0x0409, 0x0809, 0x0422, 0x0423, 0x0407, 0x0000, 0x007F})
        EXPECT_EQ(languageFor(other), Language::English) << other;
}

namespace {
// The tests run in Russian, the language a start without a choice speaks.
struct InEnglish {
    InEnglish() { setInterfaceLanguage(Language::English); }
    ~InEnglish() { setInterfaceLanguage(Language::Russian); }
};
} // namespace

TEST(FoldersText, EnglishCountsAndMessagesPutTheirValuesInPlace)
{
    InEnglish english;
    const std::pair<std::size_t, std::wstring> counts[] = {
        {0, L"0 folders"}, {1, L"1 folder"}, {2, L"2 folders"}, {11, L"11 folders"}, {21, L"21 folders"}};
    for (const auto& [count, text] : counts)
        EXPECT_EQ(foldersCount(count), text);
    EXPECT_EQ(batchAccount(97, 100, 3), L"Done: 97 of 100. Failed: 3.");
    EXPECT_EQ(previewPictureTooLarge(9000, 4000, L"D:\\%2.jpg"),
              L"The picture is too large to preview: 9000 × 4000 pixels (over 24 megapixels, over 96 MB of "
              L"memory): D:\\%2.jpg");
    EXPECT_EQ(fillIn(L"%2, %1%", {L"a", L"b"}), L"b, a%");
    EXPECT_EQ(std::wstring(kDone), L"Done!");
    EXPECT_EQ(std::wstring(kDone.in(Language::Russian)), L"Готово!");
}

TEST(FoldersText, CountTakesTheRightRussianFormAndTheBoxNamesTheFirstFolders)
{
    const std::pair<std::size_t, std::wstring> counts[] = {{1, L"1 папка"},     {2, L"2 папки"},    {4, L"4 папки"},
                                                           {5, L"5 папок"},     {11, L"11 папок"},  {12, L"12 папок"},
                                                           {14, L"14 папок"},   {21, L"21 папка"},  {22, L"22 папки"},
                                                           {111, L"111 папок"}, {101, L"101 папка"}};
    for (const auto& [count, text] : counts)
        EXPECT_EQ(foldersCount(count), text);
    FolderList list;
    EXPECT_EQ(list.add({L"D:\\Фото\\2004", L"d:\\Фото\\2004", L"D:\\Фото\\2005"}), 2u);
    EXPECT_EQ(foldersBoxText(list), L"2 папки: D:\\Фото\\2004; D:\\Фото\\2005");
    list.add({std::wstring(300, L'x')});
    EXPECT_EQ(foldersBoxText(list), L"3 папки: D:\\Фото\\2004; D:\\Фото\\2005; …");
}

// The account says once how many of the folders done a sync client keeps without their
// Desktop.INI, and which clients.
TEST(FoldersText, AccountNamesTheSyncClientsOnce)
{
    using State = FolderOutcome::State;
    FolderList list;
    list.add({L"C:\\А", L"C:\\Б", L"C:\\В", L"C:\\Г"}, true);
    list[0].outcome = {.state = State::Done, .cloud = CloudClient::Mega};
    list[1].outcome = {.state = State::Done};
    list[2].outcome = {.state = State::Done, .cloud = CloudClient::OneDrive};
    list[3].outcome = {.state = State::Done, .cloud = CloudClient::OneDrive};
    const std::wstring why =
        L": файл Desktop.INI там не синхронизируется, поэтому оформление останется только на этом компьютере.";
    EXPECT_EQ(batchDone(list, {0, 1, 2, 3}, true), L"Готово!\r\n\r\n3 папки — в OneDrive и MEGA" + why);
    list[0].outcome = {.state = State::Failed,
                       .why = CommandOutcome {CommandOutcome::Kind::DiskFull, L"C:\\А\\Desktop.INI"}};
    EXPECT_EQ(batchReport(list, {0, 1, 2, 3}),
              L"Готово: 3 из 4. Не удалось: 1.\r\n\r\nC:\\А\r\nC:\\А\\Desktop.INI " + std::wstring(kDiskFull)
                  + L"\r\n\r\n2 папки — в OneDrive" + why);
    EXPECT_EQ(batchDone(list, {1}, false), L"Готово!\r\n\r\n" + std::wstring(kNotUndoable));
}
