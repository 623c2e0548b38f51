#include "folderview/SettingsSaver.h"

#include "FakeFolderFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Not;
using testing::StartsWith;

namespace {

const std::wstring kFolder = L"C:\\Photos";
const std::wstring kIni = L"C:\\Photos\\Desktop.INI";
const std::wstring kPicture = L"D:\\Pictures\\sea.jpg";
const std::wstring kOtherId = L"{5984FFE0-28D4-11CF-AE66-08002B2E1262}";

using Fake = FakeFolderFiles;

class SettingsSaver : public testing::Test {
protected:
    SettingsSaver()
    {
        files.addFolder(kFolder);
        state.folder = kFolder;
        state.picture = kPicture;
        state.textColorOn = kTicked;
        state.textColor = 0x00FF8000;
        state.backColorOn = kTicked;
        state.backColor = kBlack;
    }

    bool apply() { return saveFolderLook(files, state, state.picture, false, path); }
    bool remove() { return saveFolderLook(files, state, state.picture, true, path); }

    std::optional<std::wstring> view(const std::wstring& key) const { return files.value(kIni, kViewId, key); }

    // A file as an earlier Apply leaves it, among settings of others.
    void addSavedFile()
    {
        files.addFile(kIni, kAttrHidden | kAttrSystem);
        files.setValue(kIni, kViewsSection, kOtherId, kOtherId);
        files.setValue(kIni, kViewsSection, kViewId, kViewId);
        files.setValue(kIni, kViewId, kAttributesKey, L"1");
        files.setValue(kIni, kViewId, kImageKey, L"D:\\Old\\before.jpg");
        files.setValue(kIni, kViewId, kTextColorKey, L"0x000000FF");
        files.setValue(kIni, kViewId, kTextBackgroundKey, L"0x00FFFFFF");
        files.setValue(kIni, kClassInfoSection, kConfirmFileOpKey, L"0");
        files.setValue(kIni, kClassInfoSection, L"IconResource", L"C:\\Windows\\system32\\shell32.dll,3");
        files.setValue(kIni, kOtherId, L"Mode", L"4");
    }

    FakeFolderFiles files;
    FolderLookState state;
    std::wstring path;
};

} // namespace

TEST_F(SettingsSaver, ApplyOnANewFile)
{
    ASSERT_TRUE(apply());
    EXPECT_EQ(path, kIni);
    EXPECT_THAT(
        files.log(),
        ElementsAre(Fake::attributesSet(kIni, kAttrNormal), Fake::written(kIni, kViewsSection, kViewId, kViewId),
                    Fake::written(kIni, kViewId, kAttributesKey, L"1"),
                    Fake::written(kIni, kViewId, kImageKey, kPicture),
                    Fake::written(kIni, kViewId, kTextColorKey, L"0x00FF8000"),
                    Fake::written(kIni, kViewId, kTextBackgroundKey, L"0x00000000"),
                    Fake::written(kIni, kClassInfoSection, kConfirmFileOpKey, L"0"),
                    Fake::attributesSet(kFolder, kAttrReadOnly), Fake::attributesSet(kIni, kAttrHidden | kAttrSystem)));
    EXPECT_EQ(files.attributesOf(kIni), kAttrHidden | kAttrSystem);
    EXPECT_EQ(files.attributesOf(kFolder), kAttrReadOnly | kAttrDirectory);
}

TEST_F(SettingsSaver, ApplyOverAnEarlierFileKeepsWhatIsNotItsOwn)
{
    addSavedFile();
    files.addFile(kIni, kAttrHidden | kAttrSystem | kAttrReadOnly);
    state.backColor = 0x00E0FFFF;

    ASSERT_TRUE(apply());
    EXPECT_EQ(view(kImageKey), kPicture);
    EXPECT_EQ(view(kTextColorKey), L"0x00FF8000");
    EXPECT_EQ(view(kTextBackgroundKey), L"0x00E0FFFF");
    EXPECT_EQ(view(kAttributesKey), L"1");
    EXPECT_EQ(files.value(kIni, kViewsSection, kViewId), kViewId);
    EXPECT_EQ(files.value(kIni, kViewsSection, kOtherId), kOtherId);
    EXPECT_EQ(files.value(kIni, kClassInfoSection, L"IconResource"), L"C:\\Windows\\system32\\shell32.dll,3");
    EXPECT_EQ(files.value(kIni, kOtherId, L"Mode"), L"4");
    EXPECT_EQ(files.attributesOf(kIni), kAttrHidden | kAttrSystem);
}

TEST_F(SettingsSaver, SavesThePictureGivenRatherThanTheOneTyped)
{
    ASSERT_TRUE(saveFolderLook(files, state, L"sea.jpg", false, path));
    EXPECT_EQ(view(kImageKey), L"sea.jpg");
}

class SettingsSaverOff : public SettingsSaver, public testing::WithParamInterface<int> {};

TEST_P(SettingsSaverOff, SettingsThatAreOffDeleteTheirKeys)
{
    addSavedFile();
    state.picture.clear();
    state.textColorOn = GetParam();
    state.backColorOn = GetParam();

    ASSERT_TRUE(apply());
    EXPECT_EQ(view(kImageKey), std::nullopt);
    EXPECT_EQ(view(kTextColorKey), std::nullopt);
    EXPECT_EQ(view(kTextBackgroundKey), std::nullopt);
    EXPECT_EQ(view(kAttributesKey), L"1");
    EXPECT_THAT(files.log(), Contains(Fake::deleted(kIni, kViewId, kImageKey)));
    EXPECT_THAT(files.log(), Contains(Fake::deleted(kIni, kViewId, kTextColorKey)));
    EXPECT_THAT(files.log(), Contains(Fake::deleted(kIni, kViewId, kTextBackgroundKey)));
}

// 2 is a greyed check box, which counts as off.
INSTANTIATE_TEST_SUITE_P(CheckValues, SettingsSaverOff, testing::Values(kUnticked, 2));

TEST_F(SettingsSaver, EachColourFollowsItsOwnCheckBox)
{
    addSavedFile();
    state.textColorOn = 2;
    state.backColor = 0x00E0FFFF;

    ASSERT_TRUE(apply());
    EXPECT_EQ(view(kTextColorKey), std::nullopt);
    EXPECT_EQ(view(kTextBackgroundKey), L"0x00E0FFFF");
}

TEST_F(SettingsSaver, OnlyAnEmptyPictureDeletesItsKey)
{
    state.picture = L"   ";
    ASSERT_TRUE(apply());
    EXPECT_EQ(view(kImageKey), L"   ");
}

TEST_F(SettingsSaver, FailedFirstWriteStopsTheApply)
{
    files.writeErrors[1] = ERROR_ACCESS_DENIED;

    EXPECT_FALSE(apply());
    EXPECT_EQ(path, kIni);
    EXPECT_THAT(
        files.log(),
        ElementsAre(Fake::attributesSet(kIni, kAttrNormal), Fake::written(kIni, kViewsSection, kViewId, kViewId)));
    EXPECT_FALSE(files.isFile(kIni));
}

TEST_F(SettingsSaver, FailedFirstWriteLeavesAnEarlierFileWritable)
{
    addSavedFile();
    files.writeErrors[1] = ERROR_ACCESS_DENIED;

    EXPECT_FALSE(apply());
    EXPECT_EQ(files.attributesOf(kIni), kAttrNormal);
    EXPECT_EQ(view(kImageKey), L"D:\\Old\\before.jpg");
    EXPECT_THAT(files.changesTo(kFolder), IsEmpty());
}

TEST_F(SettingsSaver, OnlyTheFirstWriteIsChecked)
{
    files.writeErrors[3] = ERROR_ACCESS_DENIED;

    ASSERT_TRUE(apply());
    EXPECT_EQ(view(kImageKey), std::nullopt);
    EXPECT_EQ(view(kTextColorKey), L"0x00FF8000");
    EXPECT_EQ(files.value(kIni, kClassInfoSection, kConfirmFileOpKey), L"0");
    EXPECT_EQ(files.attributesOf(kIni), kAttrHidden | kAttrSystem);
    EXPECT_EQ(files.attributesOf(kFolder), kAttrReadOnly | kAttrDirectory);
}

namespace {

struct FolderAttributes {
    std::uint32_t before;
    std::uint32_t after;
};

void PrintTo(const FolderAttributes& attributes, std::ostream* out)
{
    *out << std::hex << std::showbase << attributes.before << " -> " << attributes.after;
}

} // namespace

class SettingsSaverFolderAttributes : public SettingsSaver, public testing::WithParamInterface<FolderAttributes> {};

TEST_P(SettingsSaverFolderAttributes, ReadOnlyAddedDirectoryBitClearedTheRestKept)
{
    files.addFolder(kFolder, GetParam().before);

    ASSERT_TRUE(apply());
    EXPECT_THAT(files.changesTo(kFolder), ElementsAre(Fake::attributesSet(kFolder, GetParam().after)));
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsSaverFolderAttributes,
                         testing::Values(FolderAttributes {0x10, 0x01}, FolderAttributes {0x11, 0x01},
                                         FolderAttributes {0x16, 0x07}, FolderAttributes {0x30, 0x21},
                                         FolderAttributes {0x2010, 0x2001}, FolderAttributes {0x8010, 0x8001},
                                         FolderAttributes {0x20010, 0x20001}, FolderAttributes {0x400416, 0x400407},
                                         FolderAttributes {0xFFFF0010, 0xFFFF0001}));

TEST_F(SettingsSaver, FolderWithTrailingBackslash)
{
    state.folder = kFolder + L"\\";

    ASSERT_TRUE(apply());
    EXPECT_EQ(path, kIni);
    EXPECT_THAT(files.changesTo(kFolder), ElementsAre(Fake::attributesSet(kFolder, kAttrReadOnly)));
}

TEST_F(SettingsSaver, DriveRootKeepsItsAttributes)
{
    for (const std::wstring root : {L"C:\\", L"C:"}) {
        SCOPED_TRACE(testing::PrintToString(root));
        FakeFolderFiles rootFiles;
        rootFiles.addFolder(L"C:", kAttrDirectory | kAttrHidden | kAttrSystem);
        rootFiles.addFolder(L"C:\\", kAttrDirectory | kAttrHidden | kAttrSystem);
        state.folder = root;

        ASSERT_TRUE(saveFolderLook(rootFiles, state, state.picture, false, path));
        EXPECT_EQ(path, L"C:\\Desktop.INI");
        EXPECT_THAT(rootFiles.changesTo(L"C:"), IsEmpty());
        EXPECT_THAT(rootFiles.changesTo(L"C:\\"), IsEmpty());
        EXPECT_EQ(rootFiles.attributesOf(L"C:\\Desktop.INI"), kAttrHidden | kAttrSystem);
    }
}

TEST_F(SettingsSaver, UnreadableFolderAttributesAreNotWrittenBack)
{
    files.getAttributesErrors[kFolder] = ERROR_ACCESS_DENIED;

    ASSERT_TRUE(apply());
    EXPECT_THAT(files.changesTo(kFolder), IsEmpty());
    EXPECT_EQ(files.attributesOf(kIni), kAttrHidden | kAttrSystem);
}

TEST_F(SettingsSaver, RemoveOnAMissingFileWritesNothing)
{
    EXPECT_TRUE(remove());
    EXPECT_EQ(path, kIni);
    EXPECT_THAT(files.log(), Not(Contains(StartsWith(L"write "))));
    EXPECT_THAT(files.log(), Not(Contains(StartsWith(L"delete "))));
    EXPECT_FALSE(files.isFile(kIni));
    EXPECT_THAT(files.changesTo(kFolder), IsEmpty());
}

TEST_F(SettingsSaver, RemoveDeletesOnlyTheViewEntries)
{
    addSavedFile();
    files.addFolder(kFolder, kAttrDirectory | kAttrReadOnly);

    ASSERT_TRUE(remove());
    EXPECT_EQ(path, kIni);
    EXPECT_THAT(files.log(),
                ElementsAre(Fake::attributesSet(kIni, kAttrNormal), Fake::deleted(kIni, kViewsSection, kViewId),
                            Fake::deleted(kIni, kViewId), Fake::attributesSet(kIni, kAttrHidden | kAttrSystem)));
    EXPECT_EQ(files.value(kIni, kViewsSection, kViewId), std::nullopt);
    EXPECT_EQ(files.value(kIni, kViewsSection, kOtherId), kOtherId);
    EXPECT_FALSE(files.hasSection(kIni, kViewId));
    EXPECT_EQ(files.value(kIni, kClassInfoSection, kConfirmFileOpKey), L"0");
    EXPECT_EQ(files.value(kIni, kClassInfoSection, L"IconResource"), L"C:\\Windows\\system32\\shell32.dll,3");
    EXPECT_EQ(files.value(kIni, kOtherId, L"Mode"), L"4");
    EXPECT_EQ(files.attributesOf(kFolder), kAttrDirectory | kAttrReadOnly);
}

TEST_F(SettingsSaver, FailedFirstWriteStopsTheRemove)
{
    addSavedFile();
    files.writeErrors[1] = ERROR_ACCESS_DENIED;

    EXPECT_FALSE(remove());
    EXPECT_THAT(files.log(),
                ElementsAre(Fake::attributesSet(kIni, kAttrNormal), Fake::deleted(kIni, kViewsSection, kViewId)));
    EXPECT_TRUE(files.hasSection(kIni, kViewId));
    EXPECT_EQ(files.attributesOf(kIni), kAttrNormal);
}
