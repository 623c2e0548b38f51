#include "folderview/SettingsSaver.h"

#include "FakeFolderFiles.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const std::wstring kIni = L"C:\\Photos\\Desktop.INI";
const std::wstring kWritable = FakeFolderFiles::attributesLine(kIni, kAttrNormal);
const std::wstring kHidden = FakeFolderFiles::attributesLine(kIni, kAttrHidden | kAttrSystem);
const std::wstring kFolderReadOnly = FakeFolderFiles::attributesLine(L"C:\\Photos", kAttrReadOnly);
const std::wstring kFirstWrite = L"write [ExtShellFolderViews] " + std::wstring(kViewId) + L"=" + kViewId;
const std::wstring kFirstDelete = L"delete [ExtShellFolderViews] " + std::wstring(kViewId);
const std::wstring kConfirm = L"write [.ShellClassInfo] ConfirmFileOp=0";

std::wstring view(const std::wstring& change, const std::wstring& entry = L"")
{
    return change + L" [" + kViewId + L"]" + entry;
}

const std::vector<std::wstring> kApplied = {kWritable,
                                            kFirstWrite,
                                            view(L"write", L" Attributes=1"),
                                            view(L"write", L" IconArea_Image=sea.jpg"),
                                            view(L"write", L" IconArea_Text=0x00FF8000"),
                                            view(L"write", L" IconArea_TextBackground=0x00000000"),
                                            kConfirm,
                                            kFolderReadOnly,
                                            kHidden};

} // namespace

// The settings file starts read-only, hidden and system, as a user may leave it.
TEST(SaveFolderLook, WritesInOrderAndChecksOnlyTheFirstWrite)
{
    struct {
        const char* what;
        bool remove;
        std::wstring picture;
        int textOn; // 2 is a greyed check box, which counts as off
        std::wstring failing; // the fake's call that fails
        bool saved;
        std::vector<std::wstring> log;
    } const cases[] = {
        {"apply", false, L"sea.jpg", kTicked, L"", true, kApplied},
        {"apply, later write fails", false, L"sea.jpg", kTicked, kApplied[3], true, kApplied},
        {"apply, first write fails", false, L"sea.jpg", kTicked, kFirstWrite, false, {kWritable, kFirstWrite}},
        {"apply, greyed box, no picture",
         false,
         L"",
         2,
         L"",
         true,
         {kWritable, kFirstWrite, view(L"write", L" Attributes=1"), view(L"delete", L" IconArea_Image"),
          view(L"delete", L" IconArea_Text"), view(L"write", L" IconArea_TextBackground=0x00000000"), kConfirm,
          kFolderReadOnly, kHidden}},
        {"remove", true, L"sea.jpg", kTicked, L"", true, {kWritable, kFirstDelete, view(L"delete"), kHidden}},
        {"remove, first write fails", true, L"", kTicked, kFirstDelete, false, {kWritable, kFirstDelete}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeFolderFiles files;
        files.attributes[kIni] = kAttrReadOnly | kAttrHidden | kAttrSystem;
        files.attributes[L"C:\\Photos"] = kAttrDirectory;
        files.errors[c.failing] = ERROR_ACCESS_DENIED;
        const FolderLookState state {L"C:\\Photos", L"typed.jpg", kUnticked, c.textOn, 0x00FF8000, kTicked, kBlack};
        std::wstring path;

        EXPECT_EQ(saveFolderLook(files, state, c.picture, c.remove, path), c.saved);
        EXPECT_EQ(path, kIni);
        EXPECT_EQ(files.log, c.log);
    }
}

// Apply makes the folder read-only, which tells the shell to read its Desktop.INI, and
// leaves a drive root alone.
TEST(SaveFolderLook, FolderAttributes)
{
    struct {
        std::wstring folder;
        std::optional<std::uint32_t> before; // none: cannot be read
        std::vector<std::wstring> changes;
    } const cases[] = {
        {L"C:\\Photos\\", 0x10, {kFolderReadOnly}},
        {L"C:\\Photos", 0x2037, {FakeFolderFiles::attributesLine(L"C:\\Photos", 0x2027)}},
        {L"C:\\Photos", 0xFFFF0010, {FakeFolderFiles::attributesLine(L"C:\\Photos", 0xFFFF0001)}},
        {L"C:\\Photos", std::nullopt, {}},
        {L"C:\\", 0x16, {}},
        {L"C:", 0x16, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.folder));
        FakeFolderFiles files;
        if (c.before)
            files.attributes[L"C:\\Photos"] = files.attributes[L"C:\\"] = files.attributes[L"C:"] = *c.before;
        const FolderLookState state {c.folder, L"", kUnticked, kTicked, 0, kTicked, 0};
        std::wstring path;

        ASSERT_TRUE(saveFolderLook(files, state, L"", false, path));
        EXPECT_EQ(path, c.folder.substr(0, c.folder.find_last_not_of(L'\\') + 1) + L"\\Desktop.INI");
        std::vector<std::wstring> changes;
        for (const std::wstring& line : files.log)
            if (line.starts_with(L"attributes ") && line.find(kDesktopIni) == std::wstring::npos)
                changes.push_back(line);
        EXPECT_EQ(changes, c.changes);
    }
}
