#include "tests/window/WindowHarness.h"

#include "resources/Texts.h"

namespace {

// The window on a folder whose file sets a picture and a text colour but no background.
class MainWindowPickers : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        writeLook(folder, L"IconArea_Image=D:\\Обои\\море.jpg\r\nIconArea_Text=0x000000FF\r\n");
        open();
    }
};

TEST_F(MainWindowPickers, PicturePickerStartsFromThePictureTextAndOnlyOkChangesIt)
{
    auto expected = look();
    click(cmdBrowse);
    ASSERT_EQ(components.picture.shown.size(), 1u);
    const PictureFileDialog& shown = components.picture.shown[0];
    EXPECT_EQ(std::tuple(shown.fileName, shown.filter, shown.options, shown.initialFolder, shown.owner),
              std::tuple(L"D:\\Обои\\море.jpg", kPictureFilter, 0, L"D:\\Обои", window()));
    EXPECT_EQ(look(), expected);

    components.picture.answer = std::get<1>(expected) = L"E:\\Новые\\лес.png";
    click(cmdBrowse);
    EXPECT_EQ(look(), expected);
}

// A folder without settings keeps the picture text and resets both colours.
TEST_F(MainWindowPickers, FolderPickerReloadsOnlyOnOkAndKeepsTheCopyFlag)
{
    click(chkCopyPicture);
    writeLook(folder, L"IconArea_TextBackground=0x00336699\r\n"); // only a reload would show it
    const auto before = look();
    click(cmdBrowseFolder);
    ASSERT_EQ(components.folder.shown.size(), 1u);
    const FolderDialog& shown = components.folder.shown[0];
    EXPECT_EQ(std::tuple(shown.owner, shown.folder, shown.prompt), std::tuple(window(), folder.path(), kFolderPrompt));
    EXPECT_EQ(look(), before);

    TempFolder other;
    components.folder.answer = other.path();
    click(cmdBrowseFolder);
    EXPECT_EQ(look(), std::tuple(other.path(), std::get<1>(before), kTicked, kUnticked, kBlack, kUnticked, kWhite));
}

TEST_F(MainWindowPickers, ColourPickerStartsFromItsSwatchAndOkChangesOnlyTheSwatch)
{
    auto expected = look();
    click(cmdBrowseTextColor);
    click(cmdBrowseBackColor);
    EXPECT_EQ(look(), expected);

    components.color.answer = 0x123456;
    click(cmdBrowseTextColor);
    click(cmdBrowseBackColor);
    std::get<4>(expected) = std::get<6>(expected) = 0x123456;
    EXPECT_EQ(look(), expected) << "the check boxes stay as they were";

    ASSERT_EQ(components.color.shown.size(), 4u);
    EXPECT_EQ(components.color.shown[0].color, 0x0000FF);
    EXPECT_EQ(components.color.shown[1].color, 0xFFFFFF);
    EXPECT_EQ(components.color.shown[3].owner, window());
    EXPECT_EQ(components.color.made, 4) << "each click asks for a fresh picker";
}

} // namespace
