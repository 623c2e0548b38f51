#include "folderview/SettingsLoader.h"

#include "FakeFolderFiles.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kOldPicture = L"D:\\Old\\before.jpg";
const std::wstring kPicture = L"D:\\Pictures\\sea.jpg";

struct LoadCase {
    const wchar_t* text; // the stored values; null: no such key
    const wchar_t* back;
    std::wstring failing; // the fake's call that fails
    bool loaded;
    std::wstring picture;
    int textOn;
    ColorValue textColor;
    int backOn;
    ColorValue backColor;
};

} // namespace

// Once the file exists, each failing read is skipped rather than ending the load.
TEST(LoadFolderLook, FailingReadsAreSkipped)
{
    const LoadCase cases[] = {
        // A failed key test counts as a present key, which then reads as 0.
        {L"0x00112233", nullptr, L"test IconArea_TextBackground", true, kPicture, kTicked, 0x112233, kTicked, 0},
        // A failed colour read reuses the last value read,
        {L"0x00112233", L"0x00445566", L"read IconArea_TextBackground", true, kPicture, kTicked, 0x112233, kTicked,
         0x112233},
        // ... which is forgotten between calls (the case before ends with another),
        {L"0x00112233", L"0x00445566", L"read IconArea_Text", true, kPicture, kTicked, 0, kTicked, 0x445566},
        // ... may be no colour,
        {L"-1", L"0x00445566", L"read IconArea_TextBackground", true, kPicture, kUnticked, kBlack, kUnticked, kWhite},
        // ... and is not taken from an absent key.
        {nullptr, L"0x00445566", L"read IconArea_TextBackground", true, kPicture, kUnticked, kBlack, kTicked, 0},
        {L"0x00112233", nullptr, L"read IconArea_Image", true, kOldPicture, kTicked, 0x112233, kUnticked, kWhite},
        // Only a failed file test stops the load, before anything changed.
        {L"0x00112233", nullptr, L"exist", false, kOldPicture, kTicked, 0x123456, kTicked, 0x654321},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(&c - cases);
        FakeFolderFiles files;
        files.attributes[L"C:\\Photos\\Desktop.INI"] = kAttrHidden | kAttrSystem;
        files.values[kImageKey] = kPicture;
        if (c.text)
            files.values[kTextColorKey] = c.text;
        if (c.back)
            files.values[kTextBackgroundKey] = c.back;
        files.errors[c.failing] = ERROR_ACCESS_DENIED;
        FolderLookState state {L"C:\\Photos", kOldPicture, kTicked, kTicked, 0x123456, kTicked, 0x654321};

        EXPECT_EQ(loadFolderLook(files, state).ok(), c.loaded);
        EXPECT_EQ(state.picture, c.picture);
        EXPECT_EQ(state.textColorOn, c.textOn);
        EXPECT_EQ(state.textColor, c.textColor);
        EXPECT_EQ(state.backColorOn, c.backOn);
        EXPECT_EQ(state.backColor, c.backColor);
    }
}
