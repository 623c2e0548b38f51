#include "folderview/SkinCommand.h"

#include "FakeFolderFiles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Kind = SkinOutcome::Kind;

const std::wstring kFolder = L"C:\\Фото";
const std::wstring kIni = kFolder + L"\\Desktop.INI";
const std::wstring kPicture = L"D:\\Обои\\море.jpg";
const std::wstring kCopy = kFolder + L"\\море.jpg";
// 240 characters: its settings file's path fits the ANSI file functions, a picture
// copy with a long name does not.
const std::wstring kDeepFolder = L"C:\\" + std::wstring(237, L'д');

const std::wstring kView = kViewId;

std::wstring imageLine(const std::wstring& picture)
{
    return L"write [" + kView + L"] IconArea_Image=" + picture;
}

// Arranges that the fake's call with this log line fails.
std::function<void(FolderLookState&, FakeFolderFiles&)> failing(const std::wstring& line)
{
    return [line](FolderLookState&, FakeFolderFiles& files) { files.errors[line] = ERROR_DISK_FULL; };
}

} // namespace

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
        {"picture write fails", SkinAction::Apply, failing(imageLine(L"море.jpg")), Kind::SaveFailed, kIni, 0, true,
         true},
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
        files.attributes = {
            {kFolder, kAttrDirectory}, {kIni, kAttrReadOnly | kAttrHidden | kAttrSystem}, {kPicture, kAttrNormal}};
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
    }
}

// The copy replaces an earlier hidden, read-only one, is hidden and saved by its bare
// name; without copying, the picture text is saved as typed.
TEST(RunSkinCommand, PictureThatIsSaved)
{
    constexpr std::uint32_t earlier = kAttrHidden | kAttrReadOnly | kAttrSystem;
    for (const int copy : {kTicked, kUnticked, 2}) {
        FakeFolderFiles files;
        files.attributes = {{kFolder, kAttrDirectory}, {kPicture, kAttrNormal}, {kCopy, earlier}};
        const FolderLookState state {kFolder, kPicture, copy, kUnticked, kBlack, kUnticked, kWhite};

        ASSERT_EQ(runSkinCommand(files, state, SkinAction::Apply).kind, Kind::Done);
        const bool copied = copy == kTicked;
        EXPECT_EQ(std::count(files.log.begin(), files.log.end(), imageLine(copied ? L"море.jpg" : kPicture)), 1);
        EXPECT_EQ(files.attributes[kCopy], copied ? kAttrHidden : earlier);
    }
}
