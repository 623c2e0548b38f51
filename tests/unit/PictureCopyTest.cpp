#include "folderview/PictureCopy.h"

#include "FakeFolderFiles.h"
#include "folderview/FolderViewFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::Contains;
using testing::ElementsAre;
using testing::EndsWith;
using testing::Not;
using testing::StartsWith;

namespace {

const std::wstring kFolder = L"C:\\Photos";
const std::wstring kSource = L"D:\\Pictures\\sea.jpg";
const std::wstring kTarget = L"C:\\Photos\\sea.jpg";

using Fake = FakeFolderFiles;

class PictureCopy : public testing::Test {
protected:
    PictureCopy()
    {
        files.addFolder(kFolder);
        files.addFolder(L"D:\\Pictures");
        files.addFile(kSource, kAttrReadOnly, L"new sea");
    }

    TsStatus copy(const std::wstring& folder, const std::wstring& picture)
    {
        return copyPictureIntoFolder(files, folder, picture, target, savedName);
    }

    FakeFolderFiles files;
    std::wstring target;
    std::wstring savedName;
};

} // namespace

TEST_F(PictureCopy, CopiesIntoTheFolderAndHidesTheCopy)
{
    ASSERT_TRUE(copy(kFolder, kSource));
    EXPECT_EQ(target, kTarget);
    EXPECT_EQ(savedName, L"sea.jpg");
    EXPECT_EQ(files.contentOf(kTarget), L"new sea");
    EXPECT_EQ(files.attributesOf(kTarget), kAttrHidden);
    EXPECT_EQ(files.attributesOf(kSource), kAttrReadOnly);
    EXPECT_THAT(files.log(),
                ElementsAre(Fake::attributesSet(kTarget, kAttrNormal), Fake::copied(kSource, kTarget),
                            Fake::attributesSet(kTarget, kAttrHidden)));
}

TEST_F(PictureCopy, FolderWithTrailingBackslash)
{
    ASSERT_TRUE(copy(kFolder + L"\\", kSource));
    EXPECT_EQ(target, kTarget);
    EXPECT_EQ(savedName, L"sea.jpg");
}

TEST_F(PictureCopy, ReplacesAnEarlierHiddenCopy)
{
    files.addFile(kTarget, kAttrHidden | kAttrSystem | kAttrReadOnly, L"old sea");

    ASSERT_TRUE(copy(kFolder, kSource));
    EXPECT_EQ(files.contentOf(kTarget), L"new sea");
    EXPECT_EQ(files.attributesOf(kTarget), kAttrHidden);
    EXPECT_THAT(files.changesTo(kTarget),
                ElementsAre(Fake::attributesSet(kTarget, kAttrNormal), Fake::copied(kSource, kTarget),
                            Fake::attributesSet(kTarget, kAttrHidden)));
}

TEST_F(PictureCopy, RelativePictureIsTakenFromTheFolder)
{
    const std::wstring source = L"C:\\Photos\\Pictures\\sea.jpg";
    files.addFile(source, kAttrNormal, L"sea in the folder");

    ASSERT_TRUE(copy(kFolder, L"Pictures\\sea.jpg"));
    EXPECT_EQ(target, kTarget);
    EXPECT_EQ(savedName, L"sea.jpg");
    EXPECT_EQ(files.contentOf(kTarget), L"sea in the folder");
    EXPECT_THAT(files.log(), Contains(Fake::copied(source, kTarget)));
}

TEST_F(PictureCopy, PictureAlreadyInTheFolderIsNotCopied)
{
    struct Case {
        std::wstring picture, target, savedName;
    };
    // As typed, as the bare name an earlier Apply saved, and spelt in other letters.
    for (const Case& same : {Case {kTarget, kTarget, L"sea.jpg"}, Case {L"sea.jpg", kTarget, L"sea.jpg"},
                             Case {L"c:\\photos\\SEA.JPG", L"C:\\Photos\\SEA.JPG", L"SEA.JPG"}}) {
        SCOPED_TRACE(testing::PrintToString(same.picture));
        FakeFolderFiles folderFiles;
        folderFiles.addFolder(kFolder);
        folderFiles.addFile(kTarget, kAttrHidden, L"the only copy");

        ASSERT_TRUE(copyPictureIntoFolder(folderFiles, kFolder, same.picture, target, savedName));
        EXPECT_EQ(target, same.target);
        EXPECT_EQ(savedName, same.savedName);
        EXPECT_THAT(folderFiles.log(), Not(Contains(StartsWith(L"copy "))));
        EXPECT_EQ(folderFiles.contentOf(kTarget), L"the only copy");
        EXPECT_EQ(folderFiles.attributesOf(kTarget), kAttrHidden);
    }
}

TEST_F(PictureCopy, FailedCopyGivesItsOwnErrorAndHidesNothing)
{
    files.addFile(kTarget, kAttrHidden, L"old sea");
    files.copyError = ERROR_DISK_FULL;
    savedName = L"untouched";

    const TsStatus status = copy(kFolder, kSource);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error(), static_cast<std::uint32_t>(ERROR_DISK_FULL));
    EXPECT_EQ(target, kTarget);
    EXPECT_EQ(savedName, L"untouched");
    EXPECT_EQ(files.contentOf(kTarget), L"old sea");
    EXPECT_THAT(files.log(), Not(Contains(Fake::attributesSet(kTarget, kAttrHidden))));
}

TEST_F(PictureCopy, MissingPictureFailsAndLeavesNoCopy)
{
    const TsStatus status = copy(kFolder, L"D:\\Pictures\\lake.jpg");
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(target, L"C:\\Photos\\lake.jpg");
    EXPECT_FALSE(files.isFile(target));
    EXPECT_THAT(files.log(), Not(Contains(Fake::attributesSet(target, kAttrHidden))));
}

TEST_F(PictureCopy, PictureWithoutFileNameFails)
{
    EXPECT_FALSE(copy(kFolder, L"D:\\Pictures\\"));
    EXPECT_EQ(savedName, L"");
    EXPECT_THAT(files.log(), Not(Contains(EndsWith(L" = 0x00000002"))));
}
