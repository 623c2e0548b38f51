#include "TestFiles.h"

#include "folderview/PictureCopy.h"
#include "folderview/Win32FolderFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

constexpr DWORD kProtection = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

// Pictures in one folder, copied into a subfolder.
class CopyPictureIntoFolder : public testing::Test {
protected:
    CopyPictureIntoFolder() { makeFolder(folder); }
    TsStatus copy(const std::wstring& picture, const std::wstring& into)
    {
        return copyPictureIntoFolder(files, into, picture, target, savedName);
    }

    TempFolder root {L" Источник"};
    const std::wstring folder = root.at(L"Папка с фото");
    const std::wstring copied = folder + L"\\Лес зимой.jpg";
    Win32FolderFiles files;
    std::wstring target, savedName;
};

} // namespace

// The copy ends up hidden and nothing else, so that the next copy can replace it.
TEST_F(CopyPictureIntoFolder, ReplacesAProtectedEarlierCopyAndHidesIt)
{
    const std::wstring picture = root.at(L"Лес зимой.jpg");
    writeFile(picture, "the new picture, longer than the old one");
    writeFile(copied, "old");
    ASSERT_TRUE(SetFileAttributesW(copied.c_str(), kProtection));

    ASSERT_TRUE(copy(picture, folder));
    EXPECT_EQ(target, copied);
    EXPECT_EQ(savedName, L"Лес зимой.jpg");
    EXPECT_EQ(readFile(copied), "the new picture, longer than the old one");
    EXPECT_EQ(attributesOf(copied) & kProtection, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(attributesOf(picture) & kProtection, 0u);
    EXPECT_THAT(folderEntries(folder), ElementsAre(L"Лес зимой.jpg"));
}

// Copying a file onto itself would truncate it, however the picture's path is spelt.
TEST_F(CopyPictureIntoFolder, PictureThatAlreadyIsTheCopyStaysWhole)
{
    for (const std::wstring& picture :
         {copied, folder + L"\\.\\Лес зимой.jpg", folder + L"\\..\\Папка с фото\\Лес зимой.jpg",
          std::wstring(L"Лес зимой.jpg")}) {
        SCOPED_TRACE(utf8(picture));
        writeFile(copied, "forest");
        ASSERT_TRUE(copy(picture, folder));
        EXPECT_EQ(savedName, L"Лес зимой.jpg");
        EXPECT_EQ(readFile(copied), "forest");
        EXPECT_EQ(attributesOf(copied) & kProtection, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
        SetFileAttributesW(copied.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    EXPECT_THAT(folderEntries(folder), ElementsAre(L"Лес зимой.jpg"));
}

// A relative picture is the bare name that the folder's own settings file stores.
TEST_F(CopyPictureIntoFolder, RelativePictureIsTakenFromTheFolderNotTheCurrentDirectory)
{
    makeFolder(root.at(L"Картинки"));
    makeFolder(folder + L"\\Картинки");
    writeFile(root.at(L"Картинки\\Поле.jpg"), "the current directory's field");
    writeFile(folder + L"\\Картинки\\Поле.jpg", "the folder's field");
    const CurrentDirectory current(root.path());

    ASSERT_TRUE(copy(L"Картинки\\Поле.jpg", folder));
    EXPECT_EQ(savedName, L"Поле.jpg");
    EXPECT_EQ(readFile(folder + L"\\Поле.jpg"), "the folder's field");
    EXPECT_THAT(folderEntries(root.at(L"Картинки")), ElementsAre(L"Поле.jpg"));
}

TEST_F(CopyPictureIntoFolder, FailureCreatesNothing)
{
    writeFile(root.at(L"\u4E2D.jpg"), "picture");

    EXPECT_EQ(copy(root.at(L"Нет такой.jpg"), folder).error(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(target, folder + L"\\Нет такой.jpg"); // for the error message
    EXPECT_EQ(copy(root.at(L"\u4E2D.jpg"), folder).error(), TsStatus::kNoUnicodeMapping);
    EXPECT_THAT(folderEntries(folder), IsEmpty());
}
