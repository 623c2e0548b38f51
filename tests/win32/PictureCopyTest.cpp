#include "TestFiles.h"

#include "folderview/PictureCopy.h"
#include "folderview/Win32FolderFiles.h"

#include <gtest/gtest.h>

namespace {

testing::AssertionResult isHidden(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
            == FILE_ATTRIBUTE_HIDDEN)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "attributes 0x" << std::hex << attributes;
}

// A picture somewhere else and the folder it is to be copied into.
class CopyPictureIntoFolder : public testing::Test {
protected:
    void SetUp() override
    {
        makeFolder(sources);
        makeFolder(folder);
    }

    TsStatus copy(const std::wstring& picture)
    {
        target = L"<unset>";
        savedName = L"<unset>";
        return copyPictureIntoFolder(files, folder, picture, target, savedName);
    }

    TempFolder root;
    const std::wstring sources = root.at(L"Source");
    const std::wstring folder = root.at(L"Photo folder");
    Win32FolderFiles files;
    std::wstring target, savedName;
};

} // namespace

TEST_F(CopyPictureIntoFolder, CopiesThePictureAndHidesTheCopy)
{
    const std::wstring picture = sources + L"\\Winter forest.jpg";
    writeFile(picture, "winter forest");

    ASSERT_TRUE(copy(picture));
    EXPECT_EQ(target, folder + L"\\Winter forest.jpg");
    EXPECT_EQ(savedName, L"Winter forest.jpg");
    EXPECT_EQ(folderEntries(folder), std::vector<std::wstring> {L"Winter forest.jpg"});
    EXPECT_EQ(readFile(target), "winter forest");
    EXPECT_TRUE(isHidden(target));
    EXPECT_EQ(readFile(picture), "winter forest");
    EXPECT_EQ(attributesOf(picture) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(CopyPictureIntoFolder, ReplacesAHiddenEarlierCopy)
{
    const std::wstring picture = sources + L"\\Forest.jpg";
    writeFile(picture, "the new picture, longer than the old one");
    const std::wstring earlier = folder + L"\\Forest.jpg";
    writeFile(earlier, "old");
    ASSERT_TRUE(SetFileAttributesW(earlier.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

    ASSERT_TRUE(copy(picture));
    EXPECT_EQ(target, earlier);
    EXPECT_EQ(savedName, L"Forest.jpg");
    EXPECT_EQ(readFile(earlier), "the new picture, longer than the old one");
    EXPECT_TRUE(isHidden(earlier));
    EXPECT_EQ(folderEntries(folder), std::vector<std::wstring> {L"Forest.jpg"});
}

TEST_F(CopyPictureIntoFolder, MissingPictureFailsAndCreatesNothing)
{
    const TsStatus status = copy(sources + L"\\No such.jpg");
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(target, folder + L"\\No such.jpg"); // for the error message
    EXPECT_TRUE(folderEntries(folder).empty());
}

TEST_F(CopyPictureIntoFolder, MissingFolderFailsAndCreatesNothing)
{
    const std::wstring picture = sources + L"\\Forest.jpg";
    writeFile(picture, "forest");
    const std::wstring missing = root.at(L"No such folder");
    target = L"<unset>";
    const TsStatus status = copyPictureIntoFolder(files, missing, picture, target, savedName);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error(), static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(target, missing + L"\\Forest.jpg");
    EXPECT_FALSE(pathExists(missing));
}

// Copying a file onto itself would truncate it.
TEST_F(CopyPictureIntoFolder, PictureThatAlreadyIsTheCopyStaysWhole)
{
    const std::wstring copied = folder + L"\\Forest.jpg";
    const std::wstring spellings[] = {copied, folder + L"\\.\\Forest.jpg",
                                      root.at(L"Source\\..\\Photo folder\\Forest.jpg"), L"Forest.jpg"};
    for (const std::wstring& picture : spellings) {
        SCOPED_TRACE(utf8(picture));
        writeFile(copied, "forest");
        ASSERT_TRUE(copy(picture));
        EXPECT_EQ(target, copied);
        EXPECT_EQ(savedName, L"Forest.jpg");
        EXPECT_EQ(readFile(copied), "forest");
        EXPECT_TRUE(isHidden(copied));
        EXPECT_EQ(folderEntries(folder), std::vector<std::wstring> {L"Forest.jpg"});
        SetFileAttributesW(copied.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A relative picture text is what the folder's own settings file stores; the
// program's current directory has nothing to do with it.
TEST_F(CopyPictureIntoFolder, RelativePictureIsTakenFromTheFolder)
{
    const std::wstring elsewhere = root.at(L"Current");
    makeFolder(elsewhere);
    makeFolder(elsewhere + L"\\Pictures");
    writeFile(elsewhere + L"\\Forest.jpg", "the current directory's forest");
    writeFile(elsewhere + L"\\Pictures\\Field.jpg", "the current directory's field");
    writeFile(folder + L"\\Forest.jpg", "the folder's forest");
    makeFolder(folder + L"\\Pictures");
    writeFile(folder + L"\\Pictures\\Field.jpg", "the folder's field");
    const CurrentDirectory current(elsewhere);

    ASSERT_TRUE(copy(L"Forest.jpg"));
    EXPECT_EQ(savedName, L"Forest.jpg");
    EXPECT_EQ(readFile(folder + L"\\Forest.jpg"), "the folder's forest");

    ASSERT_TRUE(copy(L"Pictures\\Field.jpg"));
    EXPECT_EQ(target, folder + L"\\Field.jpg");
    EXPECT_EQ(savedName, L"Field.jpg");
    EXPECT_EQ(readFile(folder + L"\\Field.jpg"), "the folder's field");
    EXPECT_TRUE(isHidden(folder + L"\\Field.jpg"));

    EXPECT_EQ(folderEntries(elsewhere), (std::vector<std::wstring> {L"Forest.jpg", L"Pictures"}));
    EXPECT_EQ(readFile(elsewhere + L"\\Forest.jpg"), "the current directory's forest");
    EXPECT_EQ(folderEntries(elsewhere + L"\\Pictures"), std::vector<std::wstring> {L"Field.jpg"});
}
