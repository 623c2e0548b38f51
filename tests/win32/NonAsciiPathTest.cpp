#include "TestFiles.h"

#include "folderview/PictureCopy.h"
#include "folderview/SettingsLoader.h"
#include "folderview/SettingsSaver.h"
#include "folderview/Win32FolderFiles.h"
#include "support/tsProfile.h"

#include <gtest/gtest.h>

#include <cstdint>

// Paths beyond ASCII. Cyrillic ones reach the file system through code page 1251;
// others are refused before any file is touched, since "?" in place of a character
// would name another file. Wine makes such names only when the Unix locale that the
// runner asks for (ru_RU.UTF-8) is installed; the first test tells when it is not.

TEST(Environment, FileNamesHoldCyrillicAndOtherScripts)
{
    const TempFolder folder;
    for (const std::wstring name : {L"Папка", L"\u4E2D"}) {
        SCOPED_TRACE(utf8(name));
        EXPECT_TRUE(CreateDirectoryW(folder.at(name).c_str(), nullptr))
            << "error " << GetLastError()
            << ": Wine makes such names only under an installed Unix locale; is ru_RU.UTF-8 generated?";
    }
}

TEST(CyrillicPaths, ProfileFileIsReadAndWritten)
{
    const TempFolder root;
    const std::wstring folder = root.at(L"Фото с дачи");
    makeFolder(folder);
    const std::wstring path = folder + L"\\Настройки.ini";
    writeFile(path, ansiBytes(L"[Раздел]\r\nКлюч=Значение\r\n"));

    std::wstring text;
    ASSERT_TRUE(tsReadStringFromINI(L"Раздел", L"Ключ", L"", path, 0, text));
    EXPECT_EQ(text, L"Значение");
    const std::wstring key = L"Новый", value = L"Да";
    ASSERT_TRUE(tsWriteINI(L"Раздел", &key, &value, path));
    EXPECT_TRUE(holdsExactly(IniFile::read(path), {L"[Раздел] Ключ=Значение", L"[Раздел] Новый=Да"}));
    EXPECT_EQ(folderEntries(folder), std::vector<std::wstring> {L"Настройки.ini"});
}

TEST(CyrillicPaths, ApplyLoadAndRemove)
{
    const TempFolder root;
    const std::wstring folder = root.at(L"Фото с дачи");
    makeFolder(folder);
    Win32FolderFiles files;
    std::wstring path;

    ASSERT_TRUE(
        saveFolderLook(files, look(folder, kTicked, 0xFF8000, kUnticked, 0), L"C:\\Фото\\Лес.jpg", false, path));
    EXPECT_EQ(path, folder + L"\\Desktop.INI");
    EXPECT_EQ(folderEntries(folder), std::vector<std::wstring> {L"Desktop.INI"});
    EXPECT_EQ(attributesOf(path) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    FolderLookState loaded = look(folder, kUnticked, 0, kTicked, 0x10);
    ASSERT_TRUE(loadFolderLook(files, loaded));
    EXPECT_EQ(loaded.picture, L"C:\\Фото\\Лес.jpg");
    EXPECT_EQ(loaded.textColorOn, kTicked);
    EXPECT_EQ(loaded.textColor, 0xFF8000);
    EXPECT_EQ(loaded.backColorOn, kUnticked);

    ASSERT_TRUE(saveFolderLook(files, loaded, L"", true, path));
    EXPECT_TRUE(holdsExactly(IniFile::read(path), {L"[.ShellClassInfo] ConfirmFileOp=0"}));
    ASSERT_TRUE(loadFolderLook(files, loaded));
    EXPECT_EQ(loaded.picture, L"");
    EXPECT_EQ(loaded.textColorOn, kUnticked);
}

TEST(CyrillicPaths, PictureIsCopiedIntoTheFolder)
{
    const TempFolder root;
    const std::wstring sources = root.at(L"Источник"), folder = root.at(L"Папка с фото");
    makeFolder(sources);
    makeFolder(folder);
    makeFolder(folder + L"\\Картинки");
    writeFile(sources + L"\\Лес зимой.jpg", "winter forest");
    writeFile(folder + L"\\Картинки\\Поле.jpg", "field");
    Win32FolderFiles files;
    std::wstring target, savedName;

    ASSERT_TRUE(copyPictureIntoFolder(files, folder, sources + L"\\Лес зимой.jpg", target, savedName));
    EXPECT_EQ(target, folder + L"\\Лес зимой.jpg");
    EXPECT_EQ(savedName, L"Лес зимой.jpg");
    EXPECT_EQ(readFile(target), "winter forest");
    EXPECT_NE(attributesOf(target) & FILE_ATTRIBUTE_HIDDEN, 0u);

    ASSERT_TRUE(copyPictureIntoFolder(files, folder, L"Картинки\\Поле.jpg", target, savedName));
    EXPECT_EQ(savedName, L"Поле.jpg");
    EXPECT_EQ(readFile(folder + L"\\Поле.jpg"), "field");
    EXPECT_EQ(folderEntries(folder), (std::vector<std::wstring> {L"Картинки", L"Лес зимой.jpg", L"Поле.jpg"}));
}

TEST(PathsOutsideTheCodePage, ProfileCallsRefuseTheFile)
{
    const TempFolder folder;
    const std::wstring path = folder.at(L"\u4E2D.ini");
    const std::string before = ansiBytes(L"[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
                                         L"IconArea_Image=Лес.jpg\r\nIconArea_Text=0x00000001\r\n");
    writeFile(path, before);
    const std::wstring key = L"IconArea_Text", value = L"0x000000FF";

    EXPECT_EQ(tsWriteINI(kView, &key, &value, path).error(), TsStatus::kNoUnicodeMapping);
    EXPECT_EQ(tsWriteINI(kView, &key, nullptr, path).error(), TsStatus::kNoUnicodeMapping);
    EXPECT_EQ(tsWriteINI(kView, nullptr, nullptr, path).error(), TsStatus::kNoUnicodeMapping);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::wstring> {L"\u4E2D.ini"});

    std::wstring text;
    EXPECT_EQ(tsReadStringFromINI(kView, L"IconArea_Image", L"", path, 0, text).error(), TsStatus::kNoUnicodeMapping);
    std::int32_t number = 0;
    EXPECT_EQ(tsReadLongFromINI(kView, L"IconArea_Text", 0, path, 0, number).error(), TsStatus::kNoUnicodeMapping);
    bool exists = false;
    EXPECT_EQ(tsIsINIKeyExist2(kView, L"IconArea_Text", path, 0, false, exists).error(), TsStatus::kNoUnicodeMapping);
}

TEST(PathsOutsideTheCodePage, LoadFailsAndChangesNothing)
{
    const TempFolder root;
    const std::wstring folder = root.at(L"Фото \u4E2D");
    makeFolder(folder);
    writeFile(folder + L"\\Desktop.INI",
              ansiBytes(L"[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
                        L"IconArea_Image=Лес.jpg\r\nIconArea_Text=0x00000001\r\n"));
    Win32FolderFiles files;
    FolderLookState state = look(folder, kGreyed, 0x111111, kUnticked, 0x222222);
    state.picture = L"Прежняя.bmp";
    state.copyPicture = kTicked;

    EXPECT_EQ(loadFolderLook(files, state).error(), TsStatus::kNoUnicodeMapping);
    EXPECT_EQ(state.folder, folder);
    EXPECT_EQ(state.picture, L"Прежняя.bmp");
    EXPECT_EQ(state.copyPicture, kTicked);
    EXPECT_EQ(state.textColorOn, kGreyed);
    EXPECT_EQ(state.textColor, 0x111111);
    EXPECT_EQ(state.backColorOn, kUnticked);
    EXPECT_EQ(state.backColor, 0x222222);
}

TEST(PathsOutsideTheCodePage, SaveWritesNothing)
{
    const TempFolder root;
    const std::wstring folder = root.at(L"Фото \u4E2D");
    makeFolder(folder);
    const std::string before = ansiBytes(L"[.ShellClassInfo]\r\nInfoTip=Фото\r\n");
    writeFile(folder + L"\\Desktop.INI", before);
    Win32FolderFiles files;
    std::wstring path;

    EXPECT_FALSE(saveFolderLook(files, look(folder, kTicked, 0x10, kTicked, 0x20), L"Лес.jpg", false, path));
    saveFolderLook(files, look(folder, kTicked, 0x10, kTicked, 0x20), L"", true, path);
    EXPECT_EQ(folderEntries(root.path()), std::vector<std::wstring> {L"Фото \u4E2D"});
    EXPECT_EQ(folderEntries(folder), std::vector<std::wstring> {L"Desktop.INI"});
    EXPECT_EQ(readFile(folder + L"\\Desktop.INI"), before);
    EXPECT_EQ(attributesOf(folder + L"\\Desktop.INI") & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);
}

TEST(PathsOutsideTheCodePage, PictureCopyFailsAndCreatesNothing)
{
    const TempFolder root;
    const std::wstring sources = root.at(L"Source"), folder = root.at(L"Folder"), other = root.at(L"Папка \u4E2D");
    makeFolder(sources);
    makeFolder(folder);
    makeFolder(other);
    writeFile(sources + L"\\\u4E2D.jpg", "picture");
    writeFile(sources + L"\\Forest.jpg", "forest");
    Win32FolderFiles files;
    std::wstring target, savedName;

    EXPECT_EQ(copyPictureIntoFolder(files, folder, sources + L"\\\u4E2D.jpg", target, savedName).error(),
              TsStatus::kNoUnicodeMapping);
    EXPECT_EQ(copyPictureIntoFolder(files, other, sources + L"\\Forest.jpg", target, savedName).error(),
              TsStatus::kNoUnicodeMapping);
    EXPECT_TRUE(folderEntries(folder).empty());
    EXPECT_TRUE(folderEntries(other).empty());
    EXPECT_EQ(folderEntries(sources), (std::vector<std::wstring> {L"Forest.jpg", L"\u4E2D.jpg"}));
}
