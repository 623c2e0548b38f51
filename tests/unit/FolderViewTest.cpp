#include "folderview/SettingsLoader.h"
#include "folderview/SettingsSaver.h"
#include "folderview/SkinCommand.h"

#include "FakeFolderFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using Kind = SkinOutcome::Kind;

const std::wstring kFolder = L"C:\\Фото";
const std::wstring kIni = kFolder + L"\\Desktop.INI";
const std::wstring kPicture = L"D:\\Обои\\море.jpg";
const std::wstring kOldPicture = L"D:\\Old\\before.jpg";
const std::wstring kCopy = kFolder + L"\\море.jpg";
// 240 characters: its settings file's path fits the ANSI file functions, a picture
// copy with a long name does not.
const std::wstring kDeepFolder = L"C:\\" + std::wstring(237, L'д');

const std::wstring kView = kViewId;
constexpr std::uint32_t kEarlierCopy = kAttrHidden | kAttrReadOnly | kAttrSystem;

// Arranges that the fake's call with this log line fails.
std::function<void(FolderLookState&, FakeFolderFiles&)> failing(const std::wstring& line)
{
    return [line](FolderLookState&, FakeFolderFiles& files) { files.errors[line] = ERROR_DISK_FULL; };
}

} // namespace

// A colour counts only when its value reads as a number in range; nothing else,
// whatever failed, shows a colour, and never the other key's.
TEST(LoadFolderLook, ColoursAndFailingReads)
{
    const std::wstring back = kTextBackgroundKey;
    const struct {
        const wchar_t* text; // the stored values; null: no such key
        const wchar_t* back;
        std::wstring failing; // the fake's call that fails
        bool loaded;
        std::tuple<std::wstring, int, ColorValue, int, ColorValue> look; // picture, text and background
    } cases[] = {
        {L"0x00112233", nullptr, L"", true, {kPicture, kTicked, 0x112233, kUnticked, kWhite}},
        {L"0x00FFFFFF", L"0", L"", true, {kPicture, kTicked, 0xFFFFFF, kTicked, 0}},
        {L"0x01000000", L"-1", L"", true, {kPicture, kUnticked, kBlack, kUnticked, kWhite}},
        {L"0x8000000F", L"16777216", L"", true, {kPicture, kUnticked, kBlack, kUnticked, kWhite}},
        {L"0x0000000FF", L"0x123456789", L"", true, {kPicture, kTicked, 0xFF, kUnticked, kWhite}},
        {L"0x112233", L"0x445566", L"read " + back, true, {kPicture, kTicked, 0x112233, kUnticked, kWhite}},
        // A failed key test reads the key all the same.
        {L"0x112233", L"0x445566", L"test " + back, true, {kPicture, kTicked, 0x112233, kTicked, 0x445566}},
        {nullptr, nullptr, L"read IconArea_Image", true, {kOldPicture, kUnticked, kBlack, kUnticked, kWhite}},
        // Only a file that cannot be told to exist stops the load, before anything changed.
        {L"0x00112233", nullptr, L"exist " + kIni, false, {kOldPicture, kTicked, 0x123456, kTicked, 0x654321}},
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
        FolderLookState state {kFolder, kOldPicture, kTicked, kTicked, 0x123456, kTicked, 0x654321};

        EXPECT_EQ(loadFolderLook(files, state).ok(), c.loaded);
        EXPECT_EQ(std::tuple(state.picture, state.textColorOn, state.textColor, state.backColorOn, state.backColor),
                  c.look);
    }
}

// Apply makes the folder read-only, which tells the shell to read its Desktop.INI, and
// leaves a drive root alone. When that cannot be done the save says so.
TEST(SaveFolderLook, FolderAttributes)
{
    const struct {
        std::wstring folder;
        std::optional<std::uint32_t> before; // none: no such entry
        std::wstring failing;
        std::optional<std::uint32_t> after;
        SaveResult result;
    } cases[] = {
        {kFolder + L"\\", 0x10, L"", 0x1, SaveResult::Saved},
        {kFolder, 0x2037, L"", 0x2027, SaveResult::Saved},
        {kFolder, 0xFFFF0010, L"", 0xFFFF0001, SaveResult::Saved},
        {kFolder, std::nullopt, L"", std::nullopt, SaveResult::FolderNotMarked},
        {kFolder, 0x10, FakeFolderFiles::attributesLine(kFolder, kAttrReadOnly), 0x10, SaveResult::FolderNotMarked},
        {L"C:\\", 0x16, L"", 0x16, SaveResult::Saved},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.folder + L" " + c.failing));
        FakeFolderFiles files;
        const std::wstring bare = c.folder.substr(0, c.folder.find_last_not_of(L'\\') + 1);
        if (c.before)
            files.attributes[bare] = *c.before;
        files.errors[c.failing] = ERROR_ACCESS_DENIED;
        std::wstring path;

        EXPECT_EQ(saveFolderLook(files, {c.folder, L"", kUnticked, kTicked, 0, kTicked, 0}, L"", false, path),
                  c.result);
        EXPECT_EQ(files.attributes.count(bare) ? std::optional(files.attributes[bare]) : std::nullopt, c.after);
        EXPECT_EQ(files.attributes[bare + L"\\Desktop.INI"], kAttrHidden | kAttrSystem) << "written either way";
    }
}

TEST(RunSkinCommand, Outcomes)
{
    const struct {
        const char* what;
        SkinAction action;
        std::function<void(FolderLookState&, FakeFolderFiles&)> arrange;
        Kind kind;
        std::wstring subject;
        std::uint32_t error;
        bool written; // whether the settings file was written to
        bool copies; // whether a copy was tried
    } cases[] = {
        {"apply with a copy", SkinAction::Apply, [](auto&, auto&) {}, Kind::Done, L"", 0, true, true},
        {"apply, copy unticked", SkinAction::Apply, [](auto& s, auto&) { s.copyPicture = kUnticked; }, Kind::Done, L"",
         0, true, false},
        {"no folder", SkinAction::Apply, [](auto& s, auto&) { s.folder.clear(); }, Kind::NoFolder, L"", 0, false,
         false},
        {"folder outside the code page", SkinAction::Remove, [](auto& s, auto&) { s.folder = L"C:\\\u4E2D"; },
         Kind::TextRefused, L"C:\\\u4E2D", 0, false, false},
        {"picture outside the code page", SkinAction::Apply, [](auto& s, auto&) { s.picture = L"\u0105.jpg"; },
         Kind::TextRefused, L"\u0105.jpg", 0, false, false},
        {"settings path too long", SkinAction::Remove,
         [](auto&, auto& f) { f.errors[L"exist " + kIni] = TsStatus::kPathTooLong; }, Kind::PathTooLong, kIni, 0, false,
         false},
        {"settings path unknown", SkinAction::Apply,
         [](auto&, auto& f) { f.errors[L"exist " + kIni] = ERROR_NOT_READY; }, Kind::SaveFailed, kIni, 0, false, false},
        {"copy path too long", SkinAction::Apply,
         [](auto& s, auto&) {
             s.folder = kDeepFolder;
             s.picture = L"D:\\" + std::wstring(30, L'п') + L".jpg";
         },
         Kind::PathTooLong, kDeepFolder + L"\\" + std::wstring(30, L'п') + L".jpg", 0, false, false},
        {"no picture to copy", SkinAction::Apply, [](auto&, auto& f) { f.attributes.erase(kPicture); },
         Kind::CopyFailed, kCopy, ERROR_FILE_NOT_FOUND, false, true},
        // Every write is checked.
        {"first write fails", SkinAction::Apply, failing(L"write [ExtShellFolderViews] " + kView + L"=" + kView),
         Kind::SaveFailed, kIni, 0, true, true},
        {"last write fails", SkinAction::Apply, failing(L"write [.ShellClassInfo] ConfirmFileOp=0"), Kind::SaveFailed,
         kIni, 0, true, true},
        {"remove's first write fails", SkinAction::Remove, failing(L"delete [ExtShellFolderViews] " + kView),
         Kind::SaveFailed, kIni, 0, true, false},
        {"remove's last write fails", SkinAction::Remove, failing(L"delete [" + kView + L"]"), Kind::SaveFailed, kIni,
         0, true, false},
        {"folder stays writable", SkinAction::Apply,
         [](auto&, auto& f) {
             f.errors[FakeFolderFiles::attributesLine(kFolder, kAttrReadOnly)] = ERROR_ACCESS_DENIED;
         },
         Kind::FolderNotMarked, kFolder, 0, true, true},
        {"remove", SkinAction::Remove, [](auto&, auto&) {}, Kind::Done, L"", 0, true, false},
        {"remove without a file", SkinAction::Remove, [](auto&, auto& f) { f.attributes.erase(kIni); }, Kind::Done, L"",
         0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeFolderFiles files;
        // The settings file as the shell or an earlier run leaves it: read-only, hidden, system.
        // An earlier copy of the picture is hidden and read-only too.
        files.attributes = {{kFolder, kAttrDirectory},
                            {kIni, kAttrReadOnly | kAttrHidden | kAttrSystem},
                            {kPicture, kAttrNormal},
                            {kCopy, kEarlierCopy}};
        FolderLookState state {kFolder, kPicture, kTicked, kTicked, 0x0000FF, kUnticked, kWhite};
        c.arrange(state, files);

        const SkinOutcome outcome = runSkinCommand(files, state, c.action);
        EXPECT_EQ(std::tuple(outcome.kind, outcome.subject, outcome.error), std::tuple(c.kind, c.subject, c.error));
        EXPECT_EQ(std::tuple(files.logged(L"write") || files.logged(L"delete"), files.logged(L"copy")),
                  std::tuple(c.written, c.copies));
        // Written, the file ends hidden and system; after a failing write, nothing more is
        // written and it stays writable.
        if (c.written && c.kind == Kind::SaveFailed) {
            EXPECT_EQ(std::tuple(files.errors.count(files.log.back()), files.attributes[kIni]),
                      std::tuple(1u, kAttrNormal));
        } else if (c.written) {
            EXPECT_EQ(files.attributes[kIni], kAttrHidden | kAttrSystem);
        }
        // A copy replaces the earlier one, is hidden and saved by its bare name; without
        // copying, the picture text is saved as typed.
        if (c.kind == Kind::Done && c.action == SkinAction::Apply) {
            const std::wstring saved = c.copies ? L"море.jpg" : state.picture;
            EXPECT_EQ(
                std::tuple(files.logged(L"write [" + kView + L"] IconArea_Image=" + saved), files.attributes[kCopy]),
                std::tuple(true, c.copies ? kAttrHidden : kEarlierCopy));
        }
    }
}
