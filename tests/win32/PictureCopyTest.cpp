#include "TestFiles.h"

#include "folderview/SkinCommand.h"
#include "folderview/Win32FolderFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

constexpr DWORD kProtection = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

// Apply with copying, from pictures in one folder into a subfolder, on real files.
class ApplyWithCopy : public testing::Test {
protected:
    ApplyWithCopy() { makeFolder(folder); }
    SkinOutcome apply(const std::wstring& picture)
    {
        return runSkinCommand(files, {folder, picture, 1, 0, 0, 0, 0xFFFFFF}, SkinAction::Apply);
    }
    std::optional<std::wstring> saved() const { return iniValue(folder + L"\\Desktop.INI", kView, L"IconArea_Image"); }

    TempFolder root {L" Источник"};
    const std::wstring folder = root.at(L"Папка с фото");
    const std::wstring copied = folder + L"\\Лес зимой.jpg";
    Win32FolderFiles files;
};

} // namespace

// The copy ends up hidden and nothing else, so that the next copy can replace it.
TEST_F(ApplyWithCopy, ReplacesAProtectedEarlierCopyAndHidesIt)
{
    const std::wstring picture = root.at(L"Лес зимой.jpg");
    writeFile(picture, "the new picture, longer than the old one");
    writeFile(copied, "old");
    ASSERT_TRUE(SetFileAttributesW(copied.c_str(), kProtection));

    ASSERT_EQ(apply(picture).kind, SkinOutcome::Kind::Done);
    EXPECT_EQ(saved(), L"Лес зимой.jpg");
    EXPECT_EQ(readFile(copied), "the new picture, longer than the old one");
    EXPECT_EQ(attributesOf(copied) & kProtection, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(attributesOf(picture) & kProtection, 0u);
    EXPECT_THAT(folderEntries(folder), ElementsAre(L"Desktop.INI", L"Лес зимой.jpg"));
}

// Copying a file onto itself would truncate it, however the picture's path is spelt;
// a relative picture (the bare name the folder's file stores) is the folder's own.
TEST_F(ApplyWithCopy, PictureThatAlreadyIsTheCopyStaysWhole)
{
    writeFile(root.at(L"Лес зимой.jpg"), "the current directory's forest");
    const CurrentDirectory current(root.path());
    for (const std::wstring& picture :
         {copied, folder + L"\\.\\Лес зимой.jpg", folder + L"\\..\\Папка с фото\\Лес зимой.jpg",
          std::wstring(L"Лес зимой.jpg")}) {
        SCOPED_TRACE(utf8(picture));
        writeFile(copied, "forest");
        ASSERT_EQ(apply(picture).kind, SkinOutcome::Kind::Done);
        EXPECT_EQ(saved(), L"Лес зимой.jpg");
        EXPECT_EQ(readFile(copied), "forest");
        EXPECT_EQ(attributesOf(copied) & kProtection, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
        SetFileAttributesW(copied.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(ApplyWithCopy, FailureWritesNothing)
{
    const SkinOutcome outcome = apply(root.at(L"Нет такой.jpg"));
    EXPECT_EQ(outcome.kind, SkinOutcome::Kind::CopyFailed);
    EXPECT_EQ(outcome.error, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(outcome.subject, folder + L"\\Нет такой.jpg");
    EXPECT_THAT(folderEntries(folder), IsEmpty());
}
