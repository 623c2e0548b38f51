#include "folderview/SettingsLoader.h"

#include "FakeFolderFiles.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kIni = L"C:\\Photos\\Desktop.INI";
const std::wstring kOldPicture = L"D:\\Old\\before.jpg";
const std::wstring kPicture = L"D:\\Pictures\\sea.jpg";

} // namespace

// A colour counts only when its value reads as a number in range; nothing else,
// whatever failed, shows a colour, and never the other key's.
TEST(LoadFolderLook, ColoursAndFailingReads)
{
    const struct {
        const wchar_t* text; // the stored values; null: no such key
        const wchar_t* back;
        std::wstring failing; // the fake's call that fails
        bool loaded;
        std::wstring picture;
        int textOn;
        ColorValue textColor;
        int backOn;
        ColorValue backColor;
    } cases[] = {
        {L"0x00112233", nullptr, L"", true, kPicture, kTicked, 0x112233, kUnticked, kWhite},
        {L"0x00FFFFFF", L"0", L"", true, kPicture, kTicked, 0xFFFFFF, kTicked, 0},
        {L"0x01000000", L"-1", L"", true, kPicture, kUnticked, kBlack, kUnticked, kWhite},
        {L"0x8000000F", L"16777216", L"", true, kPicture, kUnticked, kBlack, kUnticked, kWhite},
        {L"0x00112233", L"", L"", true, kPicture, kTicked, 0x112233, kUnticked, kWhite},
        {L"12abc", L"abc", L"", true, kPicture, kUnticked, kBlack, kUnticked, kWhite},
        {L"0x0000000FF", L"0x123456789", L"", true, kPicture, kTicked, 0xFF, kUnticked, kWhite},
        {L"0x00112233", L"0x00445566", L"read IconArea_TextBackground", true, kPicture, kTicked, 0x112233, kUnticked,
         kWhite},
        // A failed key test reads the key all the same.
        {L"0x00112233", L"0x00445566", L"test IconArea_TextBackground", true, kPicture, kTicked, 0x112233, kTicked,
         0x445566},
        {nullptr, nullptr, L"read IconArea_Image", true, kOldPicture, kUnticked, kBlack, kUnticked, kWhite},
        // Only a file that cannot be told to exist stops the load, before anything changed.
        {L"0x00112233", nullptr, L"exist " + kIni, false, kOldPicture, kTicked, 0x123456, kTicked, 0x654321},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        FakeFolderFiles files;
        files.attributes[kIni] = kAttrHidden | kAttrSystem;
        files.values[kImageKey] = kPicture;
        if (c.text)
            files.values[kTextColorKey] = c.text;
        if (c.back)
            files.values[kTextBackgroundKey] = c.back;
        files.errors[c.failing] = ERROR_ACCESS_DENIED;
        FolderLookState state {L"C:\\Photos", kOldPicture, kTicked, kTicked, 0x123456, kTicked, 0x654321};

        EXPECT_EQ(loadFolderLook(files, state).ok(), c.loaded);
        EXPECT_EQ(std::tuple(state.picture, state.textColorOn, state.textColor, state.backColorOn, state.backColor),
                  std::tuple(c.picture, c.textOn, c.textColor, c.backOn, c.backColor));
    }
}
