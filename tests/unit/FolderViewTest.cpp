#include "folderview/FileCopy.h"
#include "folderview/FolderInfo.h"
#include "folderview/LookCommand.h"
#include "folderview/LookSettings.h"
#include "folderview/SettingsText.h"
#include "folderview/SettingsWriter.h"
#include "folderview/Win32FolderFiles.h"

#include "FakeFolderFiles.h"
#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <span>

namespace {

using Kind = CommandOutcome::Kind;

const std::wstring kFolder = L"C:\\Фото";
const std::wstring kIni = kFolder + L"\\Desktop.INI";
const std::wstring kPicture = L"D:\\Обои\\море.jpg";
const std::wstring kOldPicture = L"D:\\Old\\before.jpg";
const std::wstring kCopy = kFolder + L"\\море.jpg";
// 240 characters: its settings file's path fits the ANSI file functions, a picture
// copy with a long name does not.
const std::wstring kDeepFolder = L"C:\\" + std::wstring(237, L'д');

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
        files.texts[kIni] = L"[" + kView + L"]\r\nIconArea_Image=" + kPicture + L"\r\n"
            + (c.text ? L"IconArea_Text=" + std::wstring(c.text) + L"\r\n" : L"")
            + (c.back ? L"IconArea_TextBackground=" + std::wstring(c.back) + L"\r\n" : L"");
        files.errors[c.failing] = ERROR_ACCESS_DENIED;
        FolderLookState state {.folder = kFolder,
                               .picture = kOldPicture,
                               .copyPicture = kTicked,
                               .textColorOn = kTicked,
                               .textColor = 0x123456,
                               .backColorOn = kTicked,
                               .backColor = 0x654321};

        EXPECT_EQ(loadFolderLook(files, state).ok(), c.loaded);
        EXPECT_EQ(std::tuple(state.picture, state.textColorOn, state.textColor, state.backColorOn, state.backColor),
                  c.look);
    }
}

// Apply makes the folder read-only, which tells the shell to read its Desktop.INI, and
// leaves a drive root alone, however the folder is given. When that cannot be done the
// command says so.
TEST(RunLookCommand, FolderAttributes)
{
    const struct {
        std::wstring folder, full; // as given, and as the system resolves it
        std::optional<std::uint32_t> before; // none: no such entry
        std::wstring failing;
        std::optional<std::uint32_t> after;
        Kind kind;
    } cases[] = {
        {kFolder + L"\\", kFolder, 0x10, L"", 0x1, Kind::Done},
        {kFolder, kFolder, 0x2037, L"", 0x2027, Kind::Done},
        {kFolder, kFolder, 0xFFFF0010, L"", 0xFFFF0001, Kind::Done},
        {L".", L"C:\\Текущий", 0x10, L"", 0x1, Kind::Done},
        {kFolder, kFolder, std::nullopt, L"", std::nullopt, Kind::FolderNotMarked},
        {kFolder, kFolder, 0x10, FakeFolderFiles::attributesLine(kFolder, kAttrReadOnly), 0x10, Kind::FolderNotMarked},
        {L"C:\\", L"C:", 0x16, L"", 0x16, Kind::Done},
        {L"C:", L"C:", 0x16, L"", 0x16, Kind::Done},
        {L"..", L"C:", 0x16, L"", 0x16, Kind::Done},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.folder + L" " + c.failing));
        FakeFolderFiles files;
        if (c.before)
            files.attributes[c.full] = *c.before;
        files.errors[c.failing] = ERROR_ACCESS_DENIED;

        const CommandOutcome outcome =
            runLookCommand(files, {.folder = c.folder, .textColorOn = kTicked, .backColorOn = kTicked, .backColor = 0},
                           Command::Apply);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(files.attributes.count(c.full) ? std::optional(files.attributes[c.full]) : std::nullopt, c.after);
    }
}

TEST(RunLookCommand, Outcomes)
{
    const std::wstring lastWrite = L"write [.ShellClassInfo] ConfirmFileOp=0";
    const struct {
        const char* what;
        Command action;
        std::function<void(FolderLookState&, FakeFolderFiles&)> arrange;
        Kind kind;
        std::wstring subject;
        std::uint32_t error;
        bool written; // whether the settings file was written to
        bool copies; // whether a copy was tried
        std::wstring detail = L"";
    } cases[] = {
        {"apply with a copy", Command::Apply, [](auto&, auto&) {}, Kind::Done, L"", 0, true, true},
        {"apply, copy unticked", Command::Apply, [](auto& s, auto&) { s.copyPicture = kUnticked; }, Kind::Done, L"", 0,
         true, false},
        {"no folder", Command::Apply, [](auto& s, auto&) { s.folder.clear(); }, Kind::NoFolder, L"", 0, false, false},
        {"folder outside the code page", Command::Remove, [](auto& s, auto&) { s.folder = L"C:\\\u4E2D"; },
         Kind::TextRefused, L"C:\\\u4E2D", 0, false, false},
        {"picture to copy outside the code page", Command::Apply, [](auto& s, auto&) { s.picture = L"\u0105.jpg"; },
         Kind::TextRefused, kFolder + L"\\\u0105.jpg", 0, false, false},
        {"picture outside the ANSI file's code page", Command::Apply,
         [](auto& s, auto&) {
             s.picture = L"\u0105.jpg";
             s.copyPicture = kUnticked;
         },
         Kind::KeyRefused, L"IconArea_Image", 0, false, false},
        {"settings path too long", Command::Remove,
         [](auto&, auto& f) { f.errors[L"exist " + kIni] = TsStatus::kPathTooLong; }, Kind::PathTooLong, kIni, 0, false,
         false},
        {"settings path unknown", Command::Apply, [](auto&, auto& f) { f.errors[L"exist " + kIni] = ERROR_NOT_READY; },
         Kind::SaveFailed, kIni, 0, false, false},
        {"copy path too long", Command::Apply,
         [](auto& s, auto&) {
             s.folder = kDeepFolder;
             s.picture = L"D:\\" + std::wstring(30, L'п') + L".jpg";
         },
         Kind::PathTooLong, kDeepFolder + L"\\" + std::wstring(30, L'п') + L".jpg", 0, false, false},
        {"no picture to copy", Command::Apply, [](auto&, auto& f) { f.attributes.erase(kPicture); },
         Kind::SourceUnreadable, kPicture, ERROR_FILE_NOT_FOUND, false, false, L"IconArea_Image"},
        // Every write is checked, and what it wrote is read back.
        {"first write fails", Command::Apply, failing(L"write [ExtShellFolderViews] " + kView + L"=" + kView),
         Kind::SaveFailed, kIni, 0, true, true},
        {"last write fails", Command::Apply, failing(lastWrite), Kind::SaveFailed, kIni, 0, true, true},
        {"a write reports success but cuts the file", Command::Apply,
         [&](auto&, auto& f) { f.shortWrites.push_back(lastWrite); }, Kind::LineChanged, kIni, 0, true, true,
         L"ConfirmFileOp=0"},
        {"a write cut short on a full disk", Command::Apply,
         [&](auto&, auto& f) {
             f.shortWrites.push_back(lastWrite);
             f.freeBytes = 0;
         },
         Kind::DiskFull, kIni, 0, true, true},
        {"remove's first write fails", Command::Remove, failing(L"delete [ExtShellFolderViews] " + kView),
         Kind::SaveFailed, kIni, 0, true, false},
        {"remove's last write fails", Command::Remove, failing(L"delete [" + kView + L"]"), Kind::SaveFailed, kIni, 0,
         true, false},
        {"folder stays writable", Command::Apply,
         [](auto&, auto& f) {
             f.errors[FakeFolderFiles::attributesLine(kFolder, kAttrReadOnly)] = ERROR_ACCESS_DENIED;
         },
         Kind::FolderNotMarked, kFolder, 0, true, true},
        {"remove", Command::Remove, [](auto&, auto&) {}, Kind::Done, L"", 0, true, false},
        {"remove without a file", Command::Remove,
         [](auto&, auto& f) {
             f.attributes.erase(kIni);
             f.texts.erase(kIni);
         },
         Kind::Done, L"", 0, false, false},
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
        const std::wstring before = L"[" + kView + L"]\r\nIconArea_Image=old.jpg\r\n[Notes]\r\nA=1\r\n";
        files.texts[kIni] = before;
        FolderLookState state {.folder = kFolder,
                               .picture = kPicture,
                               .copyPicture = kTicked,
                               .textColorOn = kTicked,
                               .textColor = 0x0000FF};
        c.arrange(state, files);

        const CommandOutcome outcome = runLookCommand(files, state, c.action);
        EXPECT_EQ(std::tuple(outcome.kind, outcome.subject, outcome.error, outcome.detail),
                  std::tuple(c.kind, c.subject, c.error, c.detail));
        EXPECT_EQ(std::tuple(files.logged(L"write") || files.logged(L"delete ["), files.logged(L"copy")),
                  std::tuple(c.written, c.copies));
        // After a failing write, the file is left as it was, attributes too; written,
        // it ends hidden and system, with the other sections kept.
        if (c.written && c.kind != Kind::Done && c.kind != Kind::FolderNotMarked) {
            EXPECT_EQ(std::tuple(files.texts[kIni], files.attributes[kIni]),
                      std::tuple(before, kAttrReadOnly | kAttrHidden | kAttrSystem));
        } else if (c.written) {
            EXPECT_EQ(files.attributes[kIni], kAttrHidden | kAttrSystem);
            EXPECT_NE(files.texts[kIni].find(L"[Notes]\r\nA=1\r\n"), std::wstring::npos);
        }
        // A copy replaces the earlier one, is hidden and saved by its bare name; without
        // copying, the picture text is saved as typed.
        if (c.kind == Kind::Done && c.action == Command::Apply) {
            const std::wstring saved = c.copies ? L"море.jpg" : state.picture;
            EXPECT_EQ(
                std::tuple(files.logged(L"write [" + kView + L"] IconArea_Image=" + saved), files.attributes[kCopy]),
                std::tuple(true, c.copies ? kAttrHidden : kEarlierCopy));
        }
    }
}

// The profile writer never writes the settings file itself: the edits go to a copy
// beside it, which takes the file's place in one replace and keeps its attributes but
// the read-only bit. A copy that cannot be made, a refused check, a failed write or a
// failed replace leaves the file as it was and no copy.
TEST(WriteSettings, EditsGoToACopyThatReplacesTheFile)
{
    const std::wstring temp = kFolder + L"\\~1.tmp", replace = L"replace " + temp + L" > " + kIni;
    const std::wstring before = L"[Notes]\r\nA=1\r\nA=1\r\n[Other]\r\nk=v\r\n";
    const std::uint32_t attributes = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrNotContentIndexed;
    const std::vector<SettingEdit> edits = {{L"Notes", L"A", std::nullopt}, {L"Notes", L"B", L"2"}};
    const std::pair<std::function<void(FakeFolderFiles&)>, Kind> cases[] = {
        {[](auto&) {}, Kind::Done},
        {[](auto& f) { f.errors[L"temp " + kFolder] = ERROR_ACCESS_DENIED; }, Kind::SaveFailed},
        {[](auto& f) { f.shortWrites.push_back(L"write [Notes] B=2"); }, Kind::LineChanged},
        {[](auto& f) { f.errors[L"write [Notes] B=2"] = ERROR_ACCESS_DENIED; }, Kind::SaveFailed},
        {[&](auto& f) { f.errors[replace] = ERROR_SHARING_VIOLATION; }, Kind::SaveFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto& [arrange, kind] = c;
        FakeFolderFiles files;
        files.attributes = {{kFolder, kAttrDirectory}, {kIni, attributes}};
        files.texts[kIni] = before;
        arrange(files);

        EXPECT_EQ(writeSettings(files, kFolder, {kIni, true}, edits, false).kind, kind);
        EXPECT_EQ(files.profilePaths, std::vector(files.profilePaths.size(), temp));
        EXPECT_EQ(files.attributes.count(temp) + files.texts.count(temp), 0u);
        if (kind == Kind::Done) {
            EXPECT_EQ(std::count(files.log.begin(), files.log.end(), replace), 1);
            EXPECT_EQ(std::tuple(files.texts[kIni], files.attributes[kIni]),
                      std::tuple(L"[Notes]\r\nB=2\r\n[Other]\r\nk=v\r\n",
                                 kAttrHidden | kAttrSystem | kAttrNotContentIndexed));
        } else {
            EXPECT_EQ(std::tuple(files.texts[kIni], files.attributes[kIni]), std::tuple(before, attributes));
        }
    }
}

// Some file systems give every file the index 0; such files are the same only by path.
// The text comparison lets pass what the writer changes that means nothing, and names
// the first line lost: cut at a NUL, moved under another header, or unreadable in the
// old file's encoding. Lines of edited keys and deleted sections may go.
TEST(LostLine, WhatTheWriterMayChangeAndWhatIsLost)
{
    using namespace std::string_literals;
    const std::vector<SettingEdit> edits = {{L"A", L"k", L"2"}, {L"B", std::nullopt, std::nullopt}};
    const struct {
        std::string before, after;
        std::optional<std::wstring> lost;
    } cases[] = {
        {"[A] ; c\r\nk = 1\r\n\r\nm =\t2\0\r\n; x = y\r"s, "[A]\r\nk=2\r\nm=2\r\n; x=y\r\n", std::nullopt},
        {"[A]\r\n[]\r\n; c\r\n[]\r\n[B]\r\nx=1\r\n; b\r\n", "[A]\r\n; c\r\n", std::nullopt},
        {"[]\r\nm=2\r\n[A]\r\n", "m=2\r\n[A]\r\n", L"m=2"},
        {"[C]\r\n;\0 c\r\nk=1\r\n"s, "[C]\r\n;\r\nk=1\r\n", L";\0 c"s},
        {"\xFF\xFE[\0C\0]\0"s, "[C]", L"[C]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lostLine(c.before, c.after, edits), c.lost) << c.before;
    EXPECT_EQ(std::tuple(settingsEncoding("a\0b\0"s), settingsEncoding("ab\0\0"s), settingsEncoding("a\0b"s)),
              std::tuple(SettingsEncoding::UnmarkedUtf16, SettingsEncoding::Ansi, SettingsEncoding::Ansi));
}

TEST(IsSameIdentity, ZeroIndexFallsBackToThePath)
{
    const FileIdentity sea {7, 42, L"C:\\Фото\\море.jpg"}, other {7, 43, L"C:\\Фото\\лес.jpg"};
    EXPECT_TRUE(isSameIdentity(sea, {7, 42, L"c:\\другое\\имя.jpg"}));
    EXPECT_FALSE(isSameIdentity(sea, other));
    EXPECT_FALSE(isSameIdentity({7, 0, sea.fullPath}, {7, 0, other.fullPath}));
    EXPECT_TRUE(isSameIdentity({7, 0, sea.fullPath}, {7, 0, L"C:\\ФОТО\\МОРЕ.JPG"}));
}

// The icon and comment: both forms of the icon key written, IconResource read first, an
// empty field deleting its keys, a field left as loaded left alone, Remove taking only
// these keys.
TEST(FolderInfo, KeysWrittenAndReadBack)
{
    const std::wstring others = L"ConfirmFileOp=0\r\n[" + kView + L"]\r\nAttributes=1\r\n";
    const std::wstring twoFiles = L"IconResource=%SystemRoot%\\system32\\imageres.dll,-108\r\n"
                                  L"IconFile=%SystemRoot%\\system32\\shell32.dll\r\nIconIndex=-237\r\n";
    const struct {
        std::wstring stored; // the [.ShellClassInfo] lines before
        FolderInfo first; // as loaded from them
        FolderInfo applied;
        Command action;
        FolderInfo loaded;
        std::wstring lines; // the [.ShellClassInfo] lines after
    } cases[] = {
        {L"",
         {},
         {.icon = L"C:\\Значки,1\\наш.dll, 3", .infoTip = L"Отпуск"},
         Command::Apply,
         {.icon = L"C:\\Значки,1\\наш.dll,3", .infoTip = L"Отпуск"},
         L"IconResource=C:\\Значки,1\\наш.dll,3\r\nIconFile=C:\\Значки,1\\наш.dll\r\nIconIndex=3\r\n"
         L"InfoTip=Отпуск\r\n"},
        {L"IconFile=a.ico\r\nIconIndex=2\r\nIconResource=b.dll,-5\r\nInfoTip=x\r\n",
         {.icon = L"b.dll,-5", .infoTip = L"x"},
         {.icon = L"", .infoTip = L"y"},
         Command::Apply,
         {.icon = L"", .infoTip = L"y"},
         L"InfoTip=y\r\n"},
        {L"IconFile=a.ico\r\nIconIndex=2\r\nIconResource=b.dll,-5\r\nInfoTip=x\r\n",
         {.icon = L"b.dll,-5", .infoTip = L"x"},
         {},
         Command::Remove,
         {},
         L""},
        {L"IconFile=a.ico\r\nInfoTip=x\r\n",
         {.icon = L"a.ico,0", .infoTip = L"x"},
         {.icon = L"c.ico,", .infoTip = L""},
         Command::Apply,
         {.icon = L"c.ico,0", .infoTip = L""},
         L"IconFile=c.ico\r\nIconResource=c.ico,0\r\nIconIndex=0\r\n"},
        // One icon file for each era, as Windows writes them: a new comment leaves both.
        {twoFiles,
         {.icon = L"%SystemRoot%\\system32\\imageres.dll,-108", .infoTip = L""},
         {.icon = L"%SystemRoot%\\system32\\imageres.dll,-108", .infoTip = L"Отпуск"},
         Command::Apply,
         {.icon = L"%SystemRoot%\\system32\\imageres.dll,-108", .infoTip = L"Отпуск"},
         twoFiles + L"InfoTip=Отпуск\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.stored));
        FakeFolderFiles files;
        files.attributes = {{kFolder, kAttrDirectory}, {kIni, kAttrHidden | kAttrSystem}};
        files.texts[kIni] = L"[.ShellClassInfo]\r\n" + c.stored + others;
        FolderInfo before;
        ASSERT_TRUE(loadFolderInfo(files, kFolder, before));
        EXPECT_EQ(std::tuple(before.icon, before.infoTip), std::tuple(c.first.icon, c.first.infoTip));

        ASSERT_EQ(runFolderInfoCommand(files, kFolder, c.applied, before, c.action).kind, Kind::Done);
        FolderInfo after;
        ASSERT_TRUE(loadFolderInfo(files, kFolder, after));
        EXPECT_EQ(std::tuple(after.icon, after.infoTip), std::tuple(c.loaded.icon, c.loaded.infoTip));
        // The fake writes each key as "key=value" at its section's end, in order.
        std::wstring ours = files.texts[kIni].substr(0, files.texts[kIni].find(L"[" + kView));
        ours.erase(ours.find(L"ConfirmFileOp=0\r\n"), 17);
        EXPECT_EQ(ours, L"[.ShellClassInfo]\r\n" + c.lines);
    }
}

// Each row of both windows' tables goes out through Apply and comes back through a
// load, the rest of the state untouched; whole states are compared.
template <typename State, typename Run, typename Load>
void eachRowSurvivesASaveAndALoad(std::span<const Setting<State>> rows, State empty, Run run, Load load)
{
    for (const Setting<State>& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.key)));
        FakeFolderFiles files;
        files.attributes[kFolder] = kAttrDirectory;
        State saved = empty, loaded = empty;
        if (row.kind == SettingKind::Color)
            std::tie(saved.*row.on, saved.*row.color) = std::tuple(kTicked, 0x123456);
        else
            saved.*row.text = row.kind == SettingKind::Icon ? L"C:\\Значки\\лес.ico,3" : kPicture;
        ASSERT_EQ(run(files, saved, empty), Kind::Done);
        ASSERT_TRUE(load(files, loaded));
        EXPECT_TRUE(loaded == saved);
    }
}

TEST(Settings, EachRowSurvivesASaveAndALoad)
{
    eachRowSurvivesASaveAndALoad<FolderLookState>(
        kLookSettings, {.folder = kFolder},
        [](FakeFolderFiles& files, const FolderLookState& state, const FolderLookState&) {
            return runLookCommand(files, state, Command::Apply).kind;
        },
        [](FakeFolderFiles& files, FolderLookState& state) { return loadFolderLook(files, state).ok(); });
    eachRowSurvivesASaveAndALoad<FolderInfo>(
        kFolderInfoSettings, {},
        [](FakeFolderFiles& files, const FolderInfo& info, const FolderInfo& loaded) {
            return runFolderInfoCommand(files, kFolder, info, loaded, Command::Apply).kind;
        },
        [](FakeFolderFiles& files, FolderInfo& info) { return loadFolderInfo(files, kFolder, info).ok(); });
}

// The folder types show by their words and are written by their values. A value the
// list lacks is an entry of its own, even when it reads like a choice's words; the
// value's own entry goes back as the file spells it.
TEST(FolderInfo, FolderTypesGoBackAsSpelledUnlessAnotherIsPicked)
{
    const std::tuple<std::wstring, std::wstring, std::size_t, std::wstring> cases[] = {
        // the value in the file, the words shown, the entry picked then, the value written
        {L"", L"(не задан)", 0, L""},
        {L"Generic", L"Общие элементы", 1, L"Generic"},
        {L"Documents", L"Документы", 2, L"Documents"},
        {L"Pictures", L"Изображения", 4, L"Music"},
        {L"Videos", L"Видео", 5, L"Videos"},
        {L"pictures", L"Изображения", 3, L"pictures"},
        {L"MyMusic", L"MyMusic", 6, L"MyMusic"},
        {L"Изображения", L"Изображения", 6, L"Изображения"},
        {L"Изображения", L"Изображения", 3, L"Pictures"},
        {L"(не задан)", L"(не задан)", 6, L"(не задан)"},
        {L"(не задан)", L"(не задан)", 0, L""},
    };
    for (const auto& [value, caption, picked, written] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::tuple(value, picked)));
        const ChoiceList list = choiceList(kFolderTypes, value);
        EXPECT_EQ(list.entries.at(list.shown), caption);
        EXPECT_EQ(list.entries.size(), std::size(kFolderTypes) + (list.shown == std::size(kFolderTypes)));
        EXPECT_EQ(choiceValue(kFolderTypes, value, picked), written);
    }
}

// Over many folders the dialog writes to each only what the user changed; a copy tick
// goes with its file's name, and ticked alone copies each folder's own file.
TEST(FolderInfo, ManyFoldersTakeOnlyTheChangedFields)
{
    const FolderInfo shown {.icon = L"a.ico,0", .infoTip = L"первая"};
    const FolderInfo own {.icon = L"b.ico,1", .infoTip = L"вторая", .folderType = L"Music", .logo = L"b.jpg"};
    FolderInfo edited = shown;
    edited.folderType = L"Pictures";
    EXPECT_EQ(withChangedFields(own, edited, shown),
              (FolderInfo {.icon = L"b.ico,1", .infoTip = L"вторая", .folderType = L"Pictures", .logo = L"b.jpg"}));
    edited.icon = L"D:\\c.ico,2";
    edited.copyIcon = edited.copyLogo = kTicked;
    EXPECT_EQ(withChangedFields(own, edited, shown),
              (FolderInfo {.icon = L"D:\\c.ico,2",
                           .infoTip = L"вторая",
                           .folderType = L"Pictures",
                           .logo = L"b.jpg",
                           .copyIcon = kTicked,
                           .copyLogo = kTicked}));
}

// The icon and the folder picture copied into the folder are hidden and named by their
// bare names; a copy whose source cannot be read writes nothing and names the source.
TEST(FolderInfo, FilesCopiedIntoTheFolder)
{
    FakeFolderFiles files;
    files.attributes = {{kFolder, kAttrDirectory}, {L"D:\\Иконки\\лес.ico", kAttrNormal}, {kPicture, kAttrNormal}};
    FolderInfo info {.icon = L"D:\\Иконки\\лес.ico,3", .logo = kPicture, .copyIcon = kTicked, .copyLogo = kTicked};
    ASSERT_EQ(runFolderInfoCommand(files, kFolder, info, {}, Command::Apply).kind, Kind::Done);
    EXPECT_EQ(std::tuple(files.attributes[kFolder + L"\\лес.ico"], files.attributes[kCopy]),
              std::tuple(kAttrHidden, kAttrHidden));
    EXPECT_EQ(files.texts[kIni],
              L"[.ShellClassInfo]\r\nIconResource=лес.ico,3\r\nIconFile=лес.ico\r\nIconIndex=3\r\n"
              L"[ViewState]\r\nLogo=море.jpg\r\n");

    files.attributes.erase(L"D:\\Иконки\\лес.ico");
    files.log.clear();
    info.icon = L"D:\\Иконки\\лес.ico,4";
    const CommandOutcome outcome = runFolderInfoCommand(files, kFolder, info, {}, Command::Apply);
    EXPECT_EQ(std::tuple(outcome.kind, outcome.subject, outcome.detail),
              std::tuple(Kind::SourceUnreadable, std::wstring(L"D:\\Иконки\\лес.ico"), std::wstring(L"IconResource")));
    EXPECT_FALSE(files.logged(L"write"));
}

// Done names the icon the settings named before, made full, when the command changed it:
// the shell's cache keeps that icon's image by its location.
TEST(FolderInfo, DoneNamesTheFormerIcon)
{
    const FolderInfo star {.icon = L"звезда.ico,2"};
    const std::tuple<FolderInfo, Command, std::wstring> cases[] = {
        {{.icon = star.icon, .infoTip = L"Дача"}, Command::Apply, L""},
        {{.icon = L"D:\\луна.ico,0"}, Command::Apply, kFolder + L"\\звезда.ico,2"},
        {star, Command::Remove, kFolder + L"\\звезда.ico,2"},
    };
    for (const auto& [info, action, former] : cases) {
        FakeFolderFiles files;
        files.attributes = {{kFolder, kAttrDirectory}, {kIni, kAttrHidden | kAttrSystem}};
        files.texts[kIni] = L"[.ShellClassInfo]\r\nIconResource=" + star.icon + L"\r\n";
        const CommandOutcome outcome = runFolderInfoCommand(files, kFolder, info, star, action);
        EXPECT_EQ(std::tuple(outcome.kind, outcome.formerIcon), std::tuple(Kind::Done, former));
    }
}

// What Wine cannot make fail: a copy or a rename that fails leaves the earlier copy, its
// read-only bit given back, and no temporary file; a full disk is told as such.
TEST(FileCopy, FailureLeavesTheEarlierCopyAndNoTemporaryFile)
{
    const std::wstring temp = kFolder + L"\\~1.tmp";
    const std::tuple<std::wstring, std::uint32_t, Kind> cases[] = {
        {L"copy " + kPicture + L" > " + temp, ERROR_HANDLE_DISK_FULL, Kind::DiskFull},
        {L"move " + temp + L" > " + kCopy, ERROR_SHARING_VIOLATION, Kind::CopyFailed},
    };
    for (const auto& [failing, error, kind] : cases) {
        FakeFolderFiles files;
        const std::map<std::wstring, std::uint32_t> before {
            {kFolder, kAttrDirectory}, {kPicture, kAttrReadOnly}, {kCopy, kEarlierCopy}};
        files.attributes = before;
        files.errors[failing] = error;
        std::wstring name;
        const CommandOutcome outcome = copyIntoFolder(files, kFolder, kPicture, L"IconArea_Image", name);
        EXPECT_EQ(std::tuple(outcome.kind, outcome.subject), std::tuple(kind, kCopy));
        EXPECT_EQ(files.attributes, before);
    }
}
