#include "TestFiles.h"

#include "folderview/SettingsSaver.h"
#include "folderview/Win32FolderFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr bool kApply = false;
constexpr bool kRemove = true;

const std::wstring kConfirmEntry = L"[.ShellClassInfo] ConfirmFileOp=0";

// The items every Apply writes and the entries of our section given, as IniFile lists them.
std::vector<std::wstring> applied(const std::vector<std::wstring>& viewEntries)
{
    std::vector<std::wstring> items = {L"[ExtShellFolderViews] " + kView + L"=" + kView,
                                       L"[" + kView + L"] Attributes=1", kConfirmEntry};
    for (const std::wstring& entry : viewEntries)
        items.push_back(L"[" + kView + L"] " + entry);
    return items;
}

// Hidden and system, as the shell keeps its folder settings files; read-only would
// stop the next save.
testing::AssertionResult isHiddenAndSystem(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const DWORD wanted = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (wanted | FILE_ATTRIBUTE_READONLY)) == wanted)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "attributes 0x" << std::hex << attributes;
}

std::vector<std::wstring> plus(std::vector<std::wstring> items, const std::vector<std::wstring>& more)
{
    items.insert(items.end(), more.begin(), more.end());
    return items;
}

class SaveFolderLook : public testing::Test {
protected:
    bool save(const FolderLookState& state, const std::wstring& picture, bool remove)
    {
        std::wstring path;
        const bool saved = saveFolderLook(files, state, picture, remove, path);
        EXPECT_EQ(path, state.folder.substr(0, state.folder.find_last_not_of(L'\\') + 1) + L"\\Desktop.INI");
        return saved;
    }

    TempFolder folder;
    Win32FolderFiles files;
    const std::wstring settings = folder.desktopIni();
};

} // namespace

TEST_F(SaveFolderLook, ApplyMakesANewFileInTheShellsOrder)
{
    ASSERT_TRUE(save(look(folder.path(), kTicked, 0xFF8000, kTicked, 0xABCDEF), L"C:\\Фото\\Лес зимой.jpg", kApply));

    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::wstring> {L"Desktop.INI"});
    const IniFile file = IniFile::read(settings);
    EXPECT_EQ(file.sectionNames(), (std::vector<std::wstring> {L"ExtShellFolderViews", kView, L".ShellClassInfo"}));
    EXPECT_TRUE(holdsExactly(file,
                             applied({L"IconArea_Image=C:\\Фото\\Лес зимой.jpg", L"IconArea_Text=0x00FF8000",
                                      L"IconArea_TextBackground=0x00ABCDEF"})));
    EXPECT_TRUE(isHiddenAndSystem(settings));
}

// Only a ticked box writes its colour; a greyed one counts as unticked.
TEST_F(SaveFolderLook, ApplyWithoutPictureOrColoursLeavesNoEmptyKeys)
{
    ASSERT_TRUE(save(look(folder.path(), kTicked, 0x000001, kTicked, 0x000002), L"Лес.jpg", kApply));
    ASSERT_TRUE(save(look(folder.path(), kUnticked, 0x000003, kGreyed, 0x000004), L"", kApply));

    const IniFile file = IniFile::read(settings);
    EXPECT_TRUE(holdsExactly(file, applied({})));
    EXPECT_TRUE(isHiddenAndSystem(settings));
}

TEST_F(SaveFolderLook, ApplyAgainReplacesTheValues)
{
    ASSERT_TRUE(save(look(folder.path(), kTicked, 0x000001, kUnticked, 0x000002), L"Лес.jpg", kApply));
    ASSERT_TRUE(save(look(folder.path(), kUnticked, 0x000003, kTicked, 0x0000FF), L"Поле.jpg", kApply));

    EXPECT_TRUE(holdsExactly(IniFile::read(settings),
                             applied({L"IconArea_Image=Поле.jpg", L"IconArea_TextBackground=0x000000FF"})));
    EXPECT_TRUE(isHiddenAndSystem(settings));
}

TEST_F(SaveFolderLook, FolderWithTrailingBackslash)
{
    ASSERT_TRUE(save(look(folder.path() + L"\\", kTicked, 0x10, kUnticked, 0), L"", kApply));
    EXPECT_TRUE(holdsExactly(IniFile::read(settings), applied({L"IconArea_Text=0x00000010"})));
    ASSERT_TRUE(save(look(folder.path() + L"\\", kTicked, 0x10, kUnticked, 0), L"", kRemove));
    EXPECT_TRUE(holdsExactly(IniFile::read(settings), {kConfirmEntry}));
}

TEST_F(SaveFolderLook, RemoveWithoutFileCreatesNothing)
{
    const FolderLookState state = look(folder.path(), kTicked, 0x10, kTicked, 0x20);
    EXPECT_TRUE(save(state, L"", kRemove));
    EXPECT_TRUE(folderEntries(folder.path()).empty());

    const FolderLookState missing = look(folder.at(L"No such folder"), kTicked, 0x10, kTicked, 0x20);
    EXPECT_TRUE(save(missing, L"", kRemove));
    EXPECT_TRUE(folderEntries(folder.path()).empty());
}

TEST_F(SaveFolderLook, ApplyOnAMissingFolderFailsAndCreatesNothing)
{
    const FolderLookState missing = look(folder.at(L"No such folder"), kTicked, 0x10, kTicked, 0x20);
    EXPECT_FALSE(save(missing, L"Лес.jpg", kApply));
    EXPECT_TRUE(folderEntries(folder.path()).empty());
}

namespace {

// A Desktop.INI as the shell and people leave it: comments, blank lines, other
// sections and other .ShellClassInfo keys. With ours, it also holds settings of an
// earlier Apply and a key of our section that we do not know.
std::wstring existingFile(Encoding encoding, bool withOurs)
{
    std::wstring text = L"; Заметка: эту папку настраивали вручную\r\n"
                        L"[.ShellClassInfo]\r\n"
                        L"IconResource=%SystemRoot%\\system32\\imageres.dll,-3\r\n"
                        L"InfoTip=Фотографии с дачи\r\n"
                        L"LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21779\r\n"
                        L"\r\n"
                        L"; ниже — вид папки\r\n"
                        L"\r\n"
                        L"[ViewState]\r\n"
                        L"Mode=\r\n"
                        L"FolderType=Pictures\r\n"
                        L"\r\n"
                        L"[ExtShellFolderViews]\r\n"
                        L"Default={5984FFE0-28D4-11CF-AE66-08002B2E1262}\r\n"
                        L"{5984FFE0-28D4-11CF-AE66-08002B2E1262}={5984FFE0-28D4-11CF-AE66-08002B2E1262}\r\n";
    if (withOurs)
        text += kView + L"=" + kView + L"\r\n";
    text += L"\r\n"
            L"[{5984FFE0-28D4-11CF-AE66-08002B2E1262}]\r\n"
            L"PersistMoniker=file://Folder.htt\r\n";
    if (withOurs)
        text += L"\r\n[" + kView
            + L"]\r\n"
              L"Attributes=1\r\n"
              L"IconArea_Image=старая.bmp\r\n"
              L"IconArea_Text=0x00000000\r\n"
              L"IconArea_TextBackground=0x00FFFFFF\r\n"
              L"Extra=не наш ключ\r\n";
    // Only a UTF-16 file can hold a name outside code page 1251.
    if (encoding == Encoding::Utf16)
        text += L"[Unicode]\r\nName=\u4E2D\u6587 \u0105\u0119\r\n";
    return text;
}

class SaveFolderLookOnExistingFile : public SaveFolderLook, public testing::WithParamInterface<Encoding> {
protected:
    // The file's items, without anything of ours.
    std::vector<std::wstring> othersItems() const
    {
        return IniFile::parse(encode(GetParam(), existingFile(GetParam(), false))).items();
    }

    void writeExistingFile(bool withOurs)
    {
        writeFile(settings, encode(GetParam(), existingFile(GetParam(), withOurs)));
    }

    void expectFile(const std::vector<std::wstring>& items)
    {
        const IniFile file = IniFile::read(settings);
        EXPECT_EQ(file.encoding(), GetParam());
        EXPECT_TRUE(holdsExactly(file, items));
        EXPECT_TRUE(isHiddenAndSystem(settings));
        EXPECT_EQ(folderEntries(folder.path()), std::vector<std::wstring> {L"Desktop.INI"});
    }

    // Apply adds our items to the others'; Remove then leaves theirs and ConfirmFileOp.
    void applyThenRemove(const FolderLookState& state, const std::wstring& picture,
                         const std::vector<std::wstring>& viewEntries)
    {
        ASSERT_TRUE(save(state, picture, kApply));
        expectFile(plus(othersItems(), applied(viewEntries)));

        ASSERT_TRUE(save(state, L"", kRemove));
        expectFile(plus(othersItems(), {kConfirmEntry}));
    }
};

} // namespace

TEST_P(SaveFolderLookOnExistingFile, ApplyThenRemoveKeepsEverythingElse)
{
    writeExistingFile(false);
    applyThenRemove(look(folder.path(), kTicked, 0xFF8000, kTicked, 0xABCDEF), L"C:\\Фото\\Лес зимой.jpg",
                    {L"IconArea_Image=C:\\Фото\\Лес зимой.jpg", L"IconArea_Text=0x00FF8000",
                     L"IconArea_TextBackground=0x00ABCDEF"});
}

TEST_P(SaveFolderLookOnExistingFile, ApplyThenRemoveOverEarlierSettings)
{
    writeExistingFile(true);
    ASSERT_NO_FATAL_FAILURE(
        applyThenRemove(look(folder.path(), kTicked, 0x0000FF, kUnticked, 0xABCDEF), L"новая.bmp",
                        {L"IconArea_Image=новая.bmp", L"IconArea_Text=0x000000FF", L"Extra=не наш ключ"}));
    const std::vector<std::wstring> sections = IniFile::read(settings).sectionNames();
    EXPECT_EQ(std::count(sections.begin(), sections.end(), kView), 0);
}

TEST_P(SaveFolderLookOnExistingFile, RemoveTakesOnlyOurSettings)
{
    writeExistingFile(true);
    ASSERT_TRUE(save(look(folder.path(), kTicked, 0x10, kTicked, 0x20), L"", kRemove));
    expectFile(othersItems());
}

INSTANTIATE_TEST_SUITE_P(Encodings, SaveFolderLookOnExistingFile, testing::Values(Encoding::Ansi, Encoding::Utf16),
                         encodingName);
