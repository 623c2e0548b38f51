#include "folderview/SettingsLoader.h"

#include "FakeFolderFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

using testing::IsEmpty;

namespace {

const std::wstring kFolder = L"C:\\Photos";
const std::wstring kIni = L"C:\\Photos\\Desktop.INI";
const std::wstring kOldPicture = L"D:\\Old\\before.jpg";

class SettingsLoader : public testing::Test {
protected:
    SettingsLoader()
    {
        files.addFolder(kFolder);
        state.folder = kFolder;
        state.picture = kOldPicture;
        state.copyPicture = kTicked;
        state.textColorOn = kTicked;
        state.textColor = 0x00123456;
        state.backColorOn = kTicked;
        state.backColor = 0x00654321;
    }

    void setView(const std::wstring& key, const std::wstring& value) { files.setValue(kIni, kViewId, key, value); }

    // Loading only reads, and never changes the folder or the copy flag.
    TsStatus load()
    {
        const std::wstring folder = state.folder;
        const int copyPicture = state.copyPicture;
        const TsStatus status = loadFolderLook(files, state);
        EXPECT_EQ(state.folder, folder);
        EXPECT_EQ(state.copyPicture, copyPicture);
        EXPECT_THAT(files.log(), IsEmpty());
        return status;
    }

    void expectText(int on, ColorValue color) const
    {
        EXPECT_EQ(state.textColorOn, on);
        EXPECT_EQ(state.textColor, color);
    }
    void expectBack(int on, ColorValue color) const
    {
        EXPECT_EQ(state.backColorOn, on);
        EXPECT_EQ(state.backColor, color);
    }

    FakeFolderFiles files;
    FolderLookState state;
};

} // namespace

TEST_F(SettingsLoader, MissingFileResetsTheColoursAndKeepsThePicture)
{
    ASSERT_TRUE(load());
    EXPECT_EQ(state.picture, kOldPicture);
    expectText(kUnticked, kBlack);
    expectBack(kUnticked, kWhite);
}

TEST_F(SettingsLoader, ReadsThePictureAndBothColours)
{
    setView(kImageKey, L"D:\\Pictures\\sea.jpg");
    setView(kTextColorKey, L"0x00FF8000");
    setView(kTextBackgroundKey, L"0x00E0FFFF");
    state.copyPicture = kUnticked;

    ASSERT_TRUE(load());
    EXPECT_EQ(state.picture, L"D:\\Pictures\\sea.jpg");
    expectText(kTicked, 0x00FF8000);
    expectBack(kTicked, 0x00E0FFFF);
}

TEST_F(SettingsLoader, FolderWithTrailingBackslashFindsItsFile)
{
    setView(kImageKey, L"sea.jpg");
    setView(kTextColorKey, L"255");
    state.folder = kFolder + L"\\";

    ASSERT_TRUE(load());
    EXPECT_EQ(state.picture, L"sea.jpg");
    expectText(kTicked, 255);
}

TEST_F(SettingsLoader, AbsentKeysClearThePictureAndTheColours)
{
    files.setValue(kIni, kViewId, kAttributesKey, L"1");
    // The same keys in other sections are not the view's.
    files.setValue(kIni, kClassInfoSection, kImageKey, L"D:\\Pictures\\sea.jpg");
    files.setValue(kIni, kClassInfoSection, kTextColorKey, L"0x00FF8000");

    ASSERT_TRUE(load());
    EXPECT_EQ(state.picture, L"");
    expectText(kUnticked, kBlack);
    expectBack(kUnticked, kWhite);
}

namespace {

struct StoredColor {
    const wchar_t* text;
    bool valid;
    ColorValue color;
};

void PrintTo(const StoredColor& stored, std::ostream* out)
{
    *out << testing::PrintToString(stored.text);
}

} // namespace

class SettingsLoaderColorRange : public SettingsLoader, public testing::WithParamInterface<StoredColor> {};

TEST_P(SettingsLoaderColorRange, OnlyPlainRgbValuesAreColours)
{
    setView(kTextColorKey, GetParam().text);
    setView(kTextBackgroundKey, GetParam().text);

    ASSERT_TRUE(load());
    if (GetParam().valid) {
        expectText(kTicked, GetParam().color);
        expectBack(kTicked, GetParam().color);
    } else {
        expectText(kUnticked, kBlack);
        expectBack(kUnticked, kWhite);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsLoaderColorRange,
                         testing::Values(StoredColor {L"0", true, 0}, StoredColor {L"0x00000000", true, 0},
                                         StoredColor {L"16777215", true, 0xFFFFFF},
                                         StoredColor {L"0x00FFFFFF", true, 0xFFFFFF}, StoredColor {L"-1", false, 0},
                                         StoredColor {L"16777216", false, 0}, StoredColor {L"0x01000000", false, 0},
                                         StoredColor {L"0x8000000F", false, 0},
                                         StoredColor {L"-2147483648", false, 0}));

TEST_F(SettingsLoader, FailedKeyTestCountsAsPresent)
{
    setView(kTextColorKey, L"0x00112233");
    files.keyTestErrors[kTextColorKey] = ERROR_ACCESS_DENIED;

    ASSERT_TRUE(load());
    expectText(kTicked, 0x00112233);
    expectBack(kUnticked, kWhite);
}

TEST_F(SettingsLoader, FailedKeyTestOfAnAbsentKeyReadsItsDefault)
{
    setView(kAttributesKey, L"1");
    files.keyTestErrors[kTextColorKey] = ERROR_ACCESS_DENIED;
    files.keyTestErrors[kTextBackgroundKey] = ERROR_ACCESS_DENIED;

    ASSERT_TRUE(load());
    expectText(kTicked, kBlack);
    expectBack(kTicked, kBlack);
}

TEST_F(SettingsLoader, FailedColourReadReusesTheLastValueRead)
{
    setView(kTextColorKey, L"0x00112233");
    setView(kTextBackgroundKey, L"0x00445566");
    files.readLongErrors[kTextBackgroundKey] = ERROR_ACCESS_DENIED;

    ASSERT_TRUE(load());
    expectText(kTicked, 0x00112233);
    expectBack(kTicked, 0x00112233);
}

TEST_F(SettingsLoader, ValueThatIsNoNumberIsAFailedRead)
{
    setView(kTextColorKey, L"0x00112233");
    setView(kTextBackgroundKey, L"12a");

    ASSERT_TRUE(load());
    expectBack(kTicked, 0x00112233);
}

TEST_F(SettingsLoader, FailedReadBeforeAnyOtherGivesBlack)
{
    setView(kTextColorKey, L"0x00112233");
    setView(kTextBackgroundKey, L"0x00445566");
    files.readLongErrors[kTextColorKey] = ERROR_ACCESS_DENIED;

    ASSERT_TRUE(load());
    expectText(kTicked, kBlack);
    expectBack(kTicked, 0x00445566);
}

TEST_F(SettingsLoader, FailedReadReusesAValueThatWasNoColour)
{
    setView(kTextColorKey, L"-1");
    setView(kTextBackgroundKey, L"0x00445566");
    files.readLongErrors[kTextBackgroundKey] = ERROR_ACCESS_DENIED;

    ASSERT_TRUE(load());
    expectText(kUnticked, kBlack);
    expectBack(kUnticked, kWhite);
}

TEST_F(SettingsLoader, AbsentKeyIsNotARead)
{
    setView(kTextBackgroundKey, L"0x00445566");
    files.readLongErrors[kTextBackgroundKey] = ERROR_ACCESS_DENIED;

    ASSERT_TRUE(load());
    expectText(kUnticked, kBlack);
    expectBack(kTicked, kBlack);
}

TEST_F(SettingsLoader, LastValueReadIsForgottenBetweenCalls)
{
    setView(kTextColorKey, L"0x00112233");
    setView(kTextBackgroundKey, L"0x00445566");
    ASSERT_TRUE(load());
    expectBack(kTicked, 0x00445566);

    files.readLongErrors[kTextColorKey] = ERROR_ACCESS_DENIED;
    ASSERT_TRUE(load());
    expectText(kTicked, kBlack);
}

TEST_F(SettingsLoader, FailedPictureReadKeepsThePicture)
{
    setView(kImageKey, L"D:\\Pictures\\sea.jpg");
    setView(kTextColorKey, L"0x00112233");
    files.readStringErrors[kImageKey] = ERROR_ACCESS_DENIED;

    ASSERT_TRUE(load());
    EXPECT_EQ(state.picture, kOldPicture);
    expectText(kTicked, 0x00112233);
    expectBack(kUnticked, kWhite);
}

TEST_F(SettingsLoader, FailedFileTestChangesNothing)
{
    setView(kImageKey, L"D:\\Pictures\\sea.jpg");
    files.fileExistError = ERROR_ACCESS_DENIED;

    const TsStatus status = load();
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(state.picture, kOldPicture);
    expectText(kTicked, 0x00123456);
    expectBack(kTicked, 0x00654321);
}
