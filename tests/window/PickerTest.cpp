#include "tests/window/WindowHarness.h"

namespace {

const std::wstring kPicture = L"D:\\Обои\\море.jpg";

// The window on a folder whose file sets a picture and a text colour but no background.
class MainWindowPickers : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        writeLook(folder, L"IconArea_Image=" + kPicture + L"\r\nIconArea_Text=0x000000FF\r\n");
        open(folder.path());
        ASSERT_EQ(text(txtPicture), kPicture);
    }
    std::wstring look() const { return describe(form_->state()); }

    TempFolder folder;
};

TEST_F(MainWindowPickers, PicturePickerStartsFromThePictureText)
{
    const std::wstring before = look();
    click(cmdBrowse);
    ASSERT_EQ(components.pictureRequests.size(), 1u);
    const PictureRequest& request = components.pictureRequests[0];
    EXPECT_EQ(request.fileName, kPicture);
    EXPECT_EQ(request.filter, L"Картинки|*.BMP;*.RLE;*.JPG;*.GIF;*.PNG|Все файлы|*.*");
    EXPECT_EQ(request.options, 0);
    EXPECT_EQ(request.initialFolder, L"D:\\Обои");
    EXPECT_EQ(request.owner, window());
    // Cancelled: nothing changes, whatever the dialog left in its fields.
    EXPECT_EQ(look(), before);

    struct Case {
        const wchar_t* picture;
        const wchar_t* initialFolder;
    };
    for (const Case& sample : {Case {L"C:\\sea.jpg", L"C:\\"}, Case {L"sea.jpg", L""}, Case {L"", L""}}) {
        SetWindowTextW(item(txtPicture), sample.picture);
        click(cmdBrowse);
        const PictureRequest& last = components.pictureRequests.back();
        EXPECT_EQ(last.fileName, sample.picture);
        EXPECT_EQ(last.initialFolder, sample.initialFolder) << "picture " << testing::PrintToString(sample.picture);
        EXPECT_EQ(text(txtPicture), sample.picture);
    }
}

TEST_F(MainWindowPickers, ConfirmedPictureReplacesOnlyThePictureText)
{
    FolderLookState expected = form_->state();
    expected.picture = L"E:\\Новые\\лес.png";
    components.pictureAnswers.push_back(expected.picture);
    click(cmdBrowse);
    EXPECT_EQ(look(), describe(expected));
}

TEST_F(MainWindowPickers, FolderPickerStartsFromTheFolderAndCancelKeepsWhatIsShown)
{
    const std::wstring before = look();
    // Changed on disk after loading: only a reload would show it.
    writeLook(folder, L"IconArea_Image=лес.png\r\nIconArea_TextBackground=0x00336699\r\n");

    click(cmdBrowseFolder);
    ASSERT_EQ(components.folderRequests.size(), 1u);
    EXPECT_EQ(components.folderRequests[0].owner, window());
    EXPECT_EQ(components.folderRequests[0].folder, folder.path());
    EXPECT_EQ(components.folderRequests[0].prompt,
              L"Выберите каталог, для которого будут настраиваться параметры отображения.");
    EXPECT_EQ(look(), before);

    // Confirming the same folder reads the file again.
    components.folderAnswers.push_back(folder.path());
    click(cmdBrowseFolder);
    EXPECT_EQ(text(txtPicture), L"лес.png");
    EXPECT_EQ(check(chkTextColor), BST_UNCHECKED);
    EXPECT_EQ(swatch(shpTextColor), 0);
    EXPECT_EQ(check(chkBackColor), BST_CHECKED);
    EXPECT_EQ(swatch(shpBackColor), 0x336699);
}

TEST_F(MainWindowPickers, ConfirmedFolderWithoutSettingsResetsTheColoursAndKeepsPictureAndCopyFlag)
{
    TempFolder other(L" пустой");
    click(chkCopyPicture);
    ASSERT_EQ(check(chkCopyPicture), BST_CHECKED);
    components.folderAnswers.push_back(other.path());
    click(cmdBrowseFolder);

    FolderLookState expected;
    expected.folder = other.path();
    expected.picture = kPicture;
    expected.copyPicture = kTicked;
    EXPECT_EQ(look(), describe(expected));
}

TEST_F(MainWindowPickers, ConfirmedFolderWithSettingsShowsThem)
{
    TempFolder other;
    writeLook(other, L"IconArea_TextBackground=0x00336699\r\nIconArea_Text=0x00102030\r\n");
    components.folderAnswers.push_back(other.path());
    click(cmdBrowseFolder);

    FolderLookState expected;
    expected.folder = other.path();
    expected.picture = L""; // the file names no picture
    expected.textColorOn = kTicked;
    expected.textColor = 0x102030;
    expected.backColorOn = kTicked;
    expected.backColor = 0x336699;
    EXPECT_EQ(look(), describe(expected));
}

TEST_F(MainWindowPickers, ColourPickerStartsFromItsSwatchAndChangesOnlyThatSwatch)
{
    FolderLookState expected = form_->state();
    components.colorAnswers = {0x00123456, 0x00654321};

    click(cmdBrowseTextColor);
    expected.textColor = 0x123456;
    EXPECT_EQ(look(), describe(expected));

    // An unticked box stays unticked: the colour waits until the user ticks it.
    click(cmdBrowseBackColor);
    expected.backColor = 0x654321;
    EXPECT_EQ(look(), describe(expected));

    ASSERT_EQ(components.colorRequests.size(), 2u);
    EXPECT_EQ(components.colorRequests[0].owner, window());
    EXPECT_EQ(components.colorRequests[0].color, 0x0000FF);
    EXPECT_EQ(components.colorRequests[1].owner, window());
    EXPECT_EQ(components.colorRequests[1].color, 0xFFFFFF);
}

TEST_F(MainWindowPickers, CancelledColourPickerChangesNothing)
{
    const std::wstring before = look();
    click(cmdBrowseTextColor);
    click(cmdBrowseBackColor);
    EXPECT_EQ(components.colorRequests.size(), 2u);
    EXPECT_EQ(look(), before);
}

TEST_F(MainWindowPickers, EveryClickAsksForAFreshPicker)
{
    for (int round = 0; round < 2; ++round)
        for (const ControlId button : {cmdBrowse, cmdBrowseFolder, cmdBrowseTextColor, cmdBrowseBackColor})
            click(button);
    EXPECT_EQ(components.picturePickersMade, 2);
    EXPECT_EQ(components.folderPickersMade, 2);
    EXPECT_EQ(components.colorPickersMade, 4);
    EXPECT_EQ(components.pictureRequests.size(), 2u);
    EXPECT_EQ(components.folderRequests.size(), 2u);
    EXPECT_EQ(components.colorRequests.size(), 4u);
}

} // namespace
