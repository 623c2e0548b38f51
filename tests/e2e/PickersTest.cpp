// The system dialogs behind the "..." buttons, driven as a user drives them.
#include "Driver.h"
#include "resources/MainLayout.h"

#include <gtest/gtest.h>

#include <memory>

using namespace e2e;

namespace {

// Controls of the system dialogs.
constexpr int kRedBox = 706;
constexpr int kGreenBox = 707;
constexpr int kBlueBox = 708;
constexpr int kFileTypeList = 0x470; // cmb1

// Opens the colour dialog with the button and checks that it starts at the colour.
HWND openColourDialog(QuenmarkRun& run, int button, COLORREF start)
{
    postClick(run.control(button));
    const HWND dialog = run.waitForBox();
    if (dialog) {
        EXPECT_EQ(windowText(GetDlgItem(dialog, kRedBox)), std::to_wstring(GetRValue(start)));
        EXPECT_EQ(windowText(GetDlgItem(dialog, kGreenBox)), std::to_wstring(GetGValue(start)));
        EXPECT_EQ(windowText(GetDlgItem(dialog, kBlueBox)), std::to_wstring(GetBValue(start)));
    }
    return dialog;
}

// Types the colour into the dialog and closes it with the button.
void chooseColour(QuenmarkRun& run, HWND dialog, COLORREF colour, int closeWith)
{
    setText(GetDlgItem(dialog, kRedBox), std::to_wstring(GetRValue(colour)));
    setText(GetDlgItem(dialog, kGreenBox), std::to_wstring(GetGValue(colour)));
    setText(GetDlgItem(dialog, kBlueBox), std::to_wstring(GetBValue(colour)));
    postClick(GetDlgItem(dialog, closeWith));
    EXPECT_TRUE(run.waitForBoxClosed(dialog));
}

class ColourPicker : public testing::Test {
protected:
    // The text colour is off and black, the background on and orange.
    void SetUp() override
    {
        writeIni(folder_.desktopIni(), kView, L"IconArea_TextBackground", L"0x00FF8000");
        run_ = std::make_unique<QuenmarkRun>(L" " + folder_.path(), folder_.path());
        ASSERT_TRUE(run_->started());
    }

    static constexpr COLORREF kOrange = RGB(0, 128, 255);
    TempFolder folder_;
    std::unique_ptr<QuenmarkRun> run_;
};

TEST_F(ColourPicker, OkChangesTheRectangleButNotItsCheckBox)
{
    QuenmarkRun& run = *run_;
    const HWND text = run.control(shpTextColor);
    const HWND back = run.control(shpBackColor);

    HWND dialog = openColourDialog(run, cmdBrowseTextColor, RGB(0, 0, 0));
    ASSERT_NE(dialog, nullptr);
    chooseColour(run, dialog, RGB(18, 52, 86), IDOK);
    EXPECT_EQ(swatchColor(text), RGB(18, 52, 86));
    EXPECT_TRUE(swatchShows(text, RGB(18, 52, 86)));
    EXPECT_EQ(checkState(run.control(chkTextColor)), BST_UNCHECKED);
    EXPECT_EQ(swatchColor(back), kOrange);

    dialog = openColourDialog(run, cmdBrowseBackColor, kOrange);
    ASSERT_NE(dialog, nullptr);
    chooseColour(run, dialog, RGB(200, 100, 50), IDOK);
    EXPECT_EQ(swatchColor(back), RGB(200, 100, 50));
    EXPECT_TRUE(swatchShows(back, RGB(200, 100, 50)));
    EXPECT_EQ(checkState(run.control(chkBackColor)), BST_CHECKED);
    EXPECT_EQ(swatchColor(text), RGB(18, 52, 86));
}

TEST_F(ColourPicker, CancelChangesNothing)
{
    QuenmarkRun& run = *run_;
    const HWND dialog = openColourDialog(run, cmdBrowseBackColor, kOrange);
    ASSERT_NE(dialog, nullptr);
    chooseColour(run, dialog, RGB(200, 100, 50), IDCANCEL);
    EXPECT_EQ(swatchColor(run.control(shpBackColor)), kOrange);
    EXPECT_TRUE(swatchShows(run.control(shpBackColor), kOrange));
    EXPECT_EQ(checkState(run.control(chkBackColor)), BST_CHECKED);
    EXPECT_EQ(swatchColor(run.control(shpTextColor)), RGB(0, 0, 0));
}

class PicturePicker : public testing::Test {
protected:
    void SetUp() override
    {
        writeFile(chosen_, "picture");
        run_ = std::make_unique<QuenmarkRun>(L" " + folder_.path(), folder_.path());
        ASSERT_TRUE(run_->started());
    }

    // Opens the dialog and types the chosen file's path as its name.
    HWND openAndTypeChosen()
    {
        postClick(run_->control(cmdBrowse));
        const HWND dialog = run_->waitForBox();
        if (!dialog)
            return nullptr;
        const HWND name = findDescendant(dialog, L"Edit");
        EXPECT_NE(name, nullptr);
        setText(name, chosen_);
        return dialog;
    }

    TempFolder folder_;
    TempFolder pictures_;
    const std::wstring chosen_ = pictures_.at(L"Sunset over the sea.jpg");
    std::unique_ptr<QuenmarkRun> run_;
};

TEST_F(PicturePicker, OkPutsTheChosenFileIntoThePictureBox)
{
    const HWND dialog = openAndTypeChosen();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(comboItems(GetDlgItem(dialog, kFileTypeList)), (std::vector<std::wstring> {L"Картинки", L"Все файлы"}));
    postClick(GetDlgItem(dialog, IDOK));
    EXPECT_TRUE(run_->waitForBoxClosed(dialog));
    EXPECT_EQ(windowText(run_->control(txtPicture)), chosen_);
}

TEST_F(PicturePicker, CancelLeavesThePicture)
{
    setText(run_->control(txtPicture), L"C:\\старая.bmp");
    const HWND dialog = openAndTypeChosen();
    ASSERT_NE(dialog, nullptr);
    postClick(GetDlgItem(dialog, IDCANCEL));
    EXPECT_TRUE(run_->waitForBoxClosed(dialog));
    EXPECT_EQ(windowText(run_->control(txtPicture)), L"C:\\старая.bmp");
    EXPECT_TRUE(run_->running());
}

} // namespace
