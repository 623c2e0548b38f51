#include "TestFiles.h"

#include "folderview/SettingsLoader.h"
#include "folderview/Win32FolderFiles.h"
#include "support/tsText.h"

#include <gtest/gtest.h>

namespace {

std::string describe(const FolderLookState& state)
{
    std::wstring text, back;
    tsHexEx4(state.textColor, text);
    tsHexEx4(state.backColor, back);
    return "folder=" + utf8(state.folder) + " picture=" + utf8(state.picture)
        + " copy=" + std::to_string(state.copyPicture) + " text=" + std::to_string(state.textColorOn) + "/" + utf8(text)
        + " back=" + std::to_string(state.backColorOn) + "/" + utf8(back);
}

// The state the window holds before the load; the loader must set or keep each field.
FolderLookState before(const std::wstring& folder)
{
    FolderLookState state;
    state.folder = folder;
    state.picture = L"C:\\Прежняя.bmp";
    state.copyPicture = kTicked;
    state.textColorOn = kGreyed;
    state.textColor = 0x111111;
    state.backColorOn = kGreyed;
    state.backColor = 0x222222;
    return state;
}

FolderLookState loaded(const FolderLookState& start, const std::wstring& picture, int textOn, ColorValue text,
                       int backOn, ColorValue back)
{
    FolderLookState state = start;
    state.picture = picture;
    state.textColorOn = textOn;
    state.textColor = text;
    state.backColorOn = backOn;
    state.backColor = back;
    return state;
}

class LoadFolderLook : public testing::TestWithParam<Encoding> {
protected:
    // The folder's Desktop.INI: the section named, holding Attributes=1 and the lines
    // given, between two other sections.
    void writeSettings(const std::wstring& section, const std::wstring& lines)
    {
        const std::wstring text = L"[.ShellClassInfo]\r\nIconResource=shell32.dll,4\r\n\r\n[" + section
            + L"]\r\nAttributes=1\r\n" + lines + L"[Other]\r\nIconArea_Text=0x00000005\r\n";
        writeFile(folder.desktopIni(), encode(GetParam(), text));
    }
    void writeSettings(const wchar_t* lines) { writeSettings(kView, lines); }

    std::string load()
    {
        FolderLookState state = start;
        const TsStatus status = loadFolderLook(files, state);
        EXPECT_TRUE(status) << status.error();
        return describe(state);
    }

    TempFolder folder;
    Win32FolderFiles files;
    const FolderLookState start = before(folder.path());
};

} // namespace

TEST(LoadFolderLookWithoutFile, ResetsTheColoursAndKeepsThePicture)
{
    const TempFolder folder;
    Win32FolderFiles files;
    makeFolder(folder.at(L"Sub"));
    makeFolder(folder.at(L"Sub\\Desktop.INI")); // a folder of that name is no settings file
    for (const std::wstring& path : {folder.path(), folder.at(L"Sub"), folder.at(L"Missing")}) {
        SCOPED_TRACE(utf8(path));
        const FolderLookState start = before(path);
        FolderLookState state = start;
        ASSERT_TRUE(loadFolderLook(files, state));
        EXPECT_EQ(describe(state), describe(loaded(start, start.picture, kUnticked, kBlack, kUnticked, kWhite)));
    }
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::wstring> {L"Sub"});
}

TEST_P(LoadFolderLook, ColoursInHexAndDecimal)
{
    writeSettings(L"IconArea_Image=C:\\Фото\\Лес.jpg\r\n"
                  L"IconArea_Text=0x00FF8000\r\n"
                  L"IconArea_TextBackground=1193046\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"C:\\Фото\\Лес.jpg", kTicked, 0xFF8000, kTicked, 0x123456)));
}

TEST_P(LoadFolderLook, BlackAndWhiteAreStoredColours)
{
    writeSettings(L"IconArea_Image=Лес.jpg\r\nIconArea_Text=0x00000000\r\nIconArea_TextBackground=0x00FFFFFF\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"Лес.jpg", kTicked, kBlack, kTicked, kWhite)));
    writeSettings(L"IconArea_Text=0\r\nIconArea_TextBackground=16777215\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"", kTicked, kBlack, kTicked, kWhite)));
}

TEST_P(LoadFolderLook, ValuesOutOfRangeCountAsNoColour)
{
    writeSettings(L"IconArea_Text=0x01000000\r\nIconArea_TextBackground=-1\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"", kUnticked, kBlack, kUnticked, kWhite)));
    writeSettings(L"IconArea_Text=16777216\r\nIconArea_TextBackground=0x8000000F\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"", kUnticked, kBlack, kUnticked, kWhite)));
}

// A colour that does not read as a number takes the value read last in this load.
TEST_P(LoadFolderLook, ValuesThatAreNotNumbersReuseTheLastValueRead)
{
    writeSettings(L"IconArea_Text=красный\r\nIconArea_TextBackground=0x00123456\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"", kTicked, kBlack, kTicked, 0x123456)));
    writeSettings(L"IconArea_Text=0x00123456\r\nIconArea_TextBackground=blue\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"", kTicked, 0x123456, kTicked, 0x123456)));
    writeSettings(L"IconArea_Text=0x01000000\r\nIconArea_TextBackground=\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"", kUnticked, kBlack, kUnticked, kWhite)));
    writeSettings(L"IconArea_Text=\r\nIconArea_TextBackground=4294967296\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"", kTicked, kBlack, kTicked, kBlack)));
}

TEST_P(LoadFolderLook, AbsentKeysClearThePictureAndColours)
{
    writeSettings(L"");
    EXPECT_EQ(load(), describe(loaded(start, L"", kUnticked, kBlack, kUnticked, kWhite)));
    writeSettings(L"IconArea_Image=Лес.jpg\r\nIconArea_TextBackground=0x00ABCDEF\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"Лес.jpg", kUnticked, kBlack, kTicked, 0xABCDEF)));
    // Our keys in another section do not count.
    writeSettings(L"Elsewhere", L"IconArea_Image=Лес.jpg\r\nIconArea_Text=0x00000001\r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"", kUnticked, kBlack, kUnticked, kWhite)));
}

TEST_P(LoadFolderLook, NamesInOtherCaseAndOddSpacing)
{
    writeSettings(L"{be098140-a513-11d0-a3a4-00c04fd706ec}",
                  L"  ICONAREA_IMAGE  =  C:\\Мои фото\\Лес.jpg  \r\n"
                  L"\ticonarea_text\t=\t0x000000ff\r\n"
                  L"\r\n"
                  L"IconArea_TEXTBACKGROUND   =   65280   \r\n");
    EXPECT_EQ(load(), describe(loaded(start, L"C:\\Мои фото\\Лес.jpg", kTicked, 0xFF, kTicked, 0xFF00)));
}

TEST_P(LoadFolderLook, FolderWithTrailingBackslash)
{
    writeSettings(L"IconArea_Image=Лес.jpg\r\nIconArea_Text=0x00000010\r\n");
    FolderLookState state = start;
    state.folder += L"\\";
    ASSERT_TRUE(loadFolderLook(files, state));
    EXPECT_EQ(describe(state),
              describe(loaded(before(folder.path() + L"\\"), L"Лес.jpg", kTicked, 0x10, kUnticked, kWhite)));
}

INSTANTIATE_TEST_SUITE_P(Encodings, LoadFolderLook, testing::Values(Encoding::Ansi, Encoding::Utf16), encodingName);
