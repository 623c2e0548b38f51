#include "support/tsPath.h"

#include <gtest/gtest.h>

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
        EXPECT_TRUE(tsGetFileName(c.path, fileName));
        EXPECT_TRUE(tsGetFilePath(c.path, folder));
        EXPECT_TRUE(tsIsRelativePath(c.path, relative));
        EXPECT_EQ(fileName, c.fileName);
        EXPECT_EQ(folder, c.folder);
        EXPECT_EQ(relative, c.relative);
    }
    std::wstring rejoined, name;
    EXPECT_TRUE(tsBuildFileName(L"\\", L":", rejoined) && tsGetFileName(rejoined, name));
    EXPECT_EQ(name, L":");
    // Without a file name the joined path would name the folder itself, without a
    // folder no folder at all.
    std::wstring joined = L"untouched";
    EXPECT_EQ(tsBuildFileName(L"C:\\Photos", L"", joined).error(), TsStatus::kInvalidName);
    EXPECT_EQ(tsBuildFileName(L"", L"Desktop.INI", joined).error(), TsStatus::kInvalidName);
    EXPECT_EQ(joined, L"untouched");
}
