#include "support/tsPath.h"

#include <gtest/gtest.h>

namespace {

std::wstring built(const std::wstring& folder, const std::wstring& fileName)
{
    std::wstring result = L"untouched";
    EXPECT_TRUE(tsBuildFileName(folder, fileName, result)) << "folder " << testing::PrintToString(folder);
    return result;
}

std::wstring fileName(const std::wstring& path)
{
    std::wstring result = L"untouched";
    EXPECT_TRUE(tsGetFileName(path, result));
    return result;
}

std::wstring filePath(const std::wstring& path)
{
    std::wstring result = L"untouched";
    EXPECT_TRUE(tsGetFilePath(path, result));
    return result;
}

std::wstring withoutBackslash(const std::wstring& path)
{
    std::wstring result = L"untouched";
    EXPECT_TRUE(tsRemoveBackslash(path, result));
    return result;
}

bool isRelative(const std::wstring& path)
{
    bool result = false;
    EXPECT_TRUE(tsIsRelativePath(path, result));
    return result;
}

} // namespace

TEST(TsBuildFileName, ExactlyOneBackslashBetweenFolderAndName)
{
    EXPECT_EQ(built(L"C:\\Photos", L"Desktop.INI"), L"C:\\Photos\\Desktop.INI");
    EXPECT_EQ(built(L"C:\\Photos\\", L"Desktop.INI"), L"C:\\Photos\\Desktop.INI");
    EXPECT_EQ(built(L"C:\\Photos\\\\", L"Desktop.INI"), L"C:\\Photos\\Desktop.INI");
    EXPECT_EQ(built(L"C:\\Photos", L"\\sea.jpg"), L"C:\\Photos\\sea.jpg");
    EXPECT_EQ(built(L"C:\\My Photos", L"Pictures\\sea.jpg"), L"C:\\My Photos\\Pictures\\sea.jpg");
    EXPECT_EQ(built(L"\\\\server\\share", L"Desktop.INI"), L"\\\\server\\share\\Desktop.INI");
}

TEST(TsBuildFileName, DriveRoot)
{
    EXPECT_EQ(built(L"C:\\", L"Desktop.INI"), L"C:\\Desktop.INI");
    EXPECT_EQ(built(L"C:", L"Desktop.INI"), L"C:\\Desktop.INI");
}

TEST(TsBuildFileName, WithoutFileNameFailsAndLeavesTheResult)
{
    for (const std::wstring name : {L"", L"\\", L"\\\\"}) {
        std::wstring result = L"untouched";
        const TsStatus status = tsBuildFileName(L"C:\\Photos", name, result);
        EXPECT_FALSE(status) << testing::PrintToString(name);
        EXPECT_EQ(status.error(), TsStatus::kInvalidName);
        EXPECT_EQ(result, L"untouched");
    }
}

TEST(TsGetFileName, PartAfterTheFolder)
{
    EXPECT_EQ(fileName(L"D:\\Pictures\\sea.jpg"), L"sea.jpg");
    EXPECT_EQ(fileName(L"D:\\sea.jpg"), L"sea.jpg");
    EXPECT_EQ(fileName(L"D:sea.jpg"), L"sea.jpg");
    EXPECT_EQ(fileName(L"D:/Pictures/sea.jpg"), L"sea.jpg");
    EXPECT_EQ(fileName(L"\\\\server\\share\\sea.jpg"), L"sea.jpg");
    EXPECT_EQ(fileName(L"sea.jpg"), L"sea.jpg");
    EXPECT_EQ(fileName(L"My Pictures\\sea view.jpg"), L"sea view.jpg");
}

TEST(TsGetFileName, EmptyWhenThePathEndsInAFolder)
{
    EXPECT_EQ(fileName(L"D:\\Pictures\\"), L"");
    EXPECT_EQ(fileName(L"D:\\"), L"");
    EXPECT_EQ(fileName(L"D:"), L"");
    EXPECT_EQ(fileName(L""), L"");
}

TEST(TsGetFilePath, FolderWithoutTrailingBackslash)
{
    EXPECT_EQ(filePath(L"D:\\Pictures\\sea.jpg"), L"D:\\Pictures");
    EXPECT_EQ(filePath(L"D:\\My Pictures\\Sea\\sea.jpg"), L"D:\\My Pictures\\Sea");
    EXPECT_EQ(filePath(L"D:\\Pictures\\"), L"D:\\Pictures");
    EXPECT_EQ(filePath(L"\\\\server\\share\\sea.jpg"), L"\\\\server\\share");
    EXPECT_EQ(filePath(L"Pictures\\sea.jpg"), L"Pictures");
}

TEST(TsGetFilePath, RootsKeepTheirBackslash)
{
    EXPECT_EQ(filePath(L"D:\\sea.jpg"), L"D:\\");
    EXPECT_EQ(filePath(L"\\sea.jpg"), L"\\");
    EXPECT_EQ(filePath(L"D:sea.jpg"), L"D:");
}

TEST(TsGetFilePath, BareNameHasNoFolder)
{
    EXPECT_EQ(filePath(L"sea.jpg"), L"");
    EXPECT_EQ(filePath(L""), L"");
}

TEST(TsPath, ColonOnlyAfterALetterNamesADrive)
{
    EXPECT_EQ(fileName(L"1:sea.jpg"), L"1:sea.jpg");
    EXPECT_EQ(filePath(L"1:sea.jpg"), L"");
    EXPECT_TRUE(isRelative(L"1:sea.jpg"));
    EXPECT_EQ(fileName(L"\\:"), L":");
    EXPECT_EQ(filePath(L"\\:"), L"\\");
    EXPECT_EQ(fileName(L"d:sea.jpg"), L"sea.jpg");
    EXPECT_FALSE(isRelative(L"d:sea.jpg"));
}

TEST(TsRemoveBackslash, DropsTrailingBackslashes)
{
    EXPECT_EQ(withoutBackslash(L"C:\\"), L"C:");
    EXPECT_EQ(withoutBackslash(L"C:\\Photos\\"), L"C:\\Photos");
    EXPECT_EQ(withoutBackslash(L"C:\\Photos\\\\"), L"C:\\Photos");
    EXPECT_EQ(withoutBackslash(L"C:\\Photos"), L"C:\\Photos");
    EXPECT_EQ(withoutBackslash(L"C:"), L"C:");
    EXPECT_EQ(withoutBackslash(L""), L"");
}

TEST(TsIsRelativePath, OnlyPathsWithoutDriveOrRoot)
{
    EXPECT_TRUE(isRelative(L"sea.jpg"));
    EXPECT_TRUE(isRelative(L"Pictures\\sea.jpg"));
    EXPECT_TRUE(isRelative(L".\\sea.jpg"));
    EXPECT_TRUE(isRelative(L"..\\sea.jpg"));

    EXPECT_FALSE(isRelative(L"D:\\Pictures\\sea.jpg"));
    EXPECT_FALSE(isRelative(L"D:sea.jpg"));
    EXPECT_FALSE(isRelative(L"\\Pictures\\sea.jpg"));
    EXPECT_FALSE(isRelative(L"/Pictures/sea.jpg"));
    EXPECT_FALSE(isRelative(L"\\\\server\\share\\sea.jpg"));
}
