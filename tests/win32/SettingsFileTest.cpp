#include "common/OurKeys.h"
#include "common/TestFiles.h"
#include "folderview/FolderInfo.h"
#include "folderview/LookCommand.h"
#include "folderview/LookSettings.h"
#include "folderview/Win32FolderFiles.h"
#include "support/Handles.h"
#include "support/tsFile.h"
#include "support/tsProfile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

using testing::Contains;
using testing::ElementsAre;
using testing::Not;
using testing::UnorderedElementsAreArray;

// The other tests build their files and expectations in code page 1251.
TEST(Environment, AnsiCodePageIsCyrillic)
{
    ASSERT_EQ(GetACP(), 1251u);
}

namespace {

// The two encodings the shell reads settings files in; Utf16 is little-endian, as wchar_t is on Windows.
enum class Encoding { Ansi, Utf16 };

std::string encode(Encoding encoding, const std::wstring& text)
{
    if (encoding == Encoding::Ansi)
        return ansiBytes(text);
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// What a settings file says: blank lines and blanks around a line carry no meaning.
// Every other line is an item "[Section] line"; lines before the first section are under "[]".
struct IniFile {
    Encoding encoding = Encoding::Ansi;
    std::vector<std::wstring> sections, items;
};

IniFile readIni(const std::wstring& path)
{
    const std::string bytes = readFile(path);
    IniFile file;
    file.encoding = bytes.starts_with("\xFF\xFE") ? Encoding::Utf16 : Encoding::Ansi;
    std::wstring text(bytes.size(), L'\0'); // one character per byte in code page 1251
    if (file.encoding == Encoding::Utf16)
        text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), bytes.size() / 2 - 1);
    else
        MultiByteToWideChar(1251, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                            static_cast<int>(text.size()));
    std::wistringstream lines(text);
    std::wstring line, section;
    while (std::getline(lines, line)) {
        line.erase(0, line.find_first_not_of(L" \t"));
        line.erase(line.find_last_not_of(L" \t\r") + 1);
        if (line.starts_with(L'[') && line.ends_with(L']'))
            file.sections.push_back(section = line.substr(1, line.size() - 2));
        else if (!line.empty())
            file.items.push_back(L"[" + section + L"] " + line);
    }
    return file;
}

using Kind = CommandOutcome::Kind;
constexpr Command kApply = Command::Apply;
constexpr Command kRemove = Command::Remove;
constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The items given plus our key of [ExtShellFolderViews] and our section's entries.
std::vector<std::wstring> applied(std::vector<std::wstring> items, const std::vector<std::wstring>& viewEntries)
{
    items.push_back(L"[ExtShellFolderViews] " + kView + L"=" + kView);
    items.push_back(L"[" + kView + L"] Attributes=1");
    for (const std::wstring& entry : viewEntries)
        items.push_back(L"[" + kView + L"] " + entry);
    return items;
}

class SettingsFile : public testing::Test {
protected:
    FolderLookState look(int textOn, ColorValue text, int backOn, ColorValue back) const
    {
        return {.folder = folder.path(),
                .textColorOn = textOn,
                .textColor = text,
                .backColorOn = backOn,
                .backColor = back};
    }
    Kind save(const FolderLookState& state, const std::wstring& picture, Command action)
    {
        SettingsLocation file;
        EXPECT_TRUE(findSettingsFile(files, state.folder, file));
        return writeSettings(files, state.folder, file, lookEdits(state, picture, action), action == kApply).kind;
    }
    // Hidden and system, as the shell keeps the file; read-only would stop the next save.
    DWORD fileAttributes() const { return attributesOf(path) & (kHiddenSystem | FILE_ATTRIBUTE_READONLY); }

    TempFolder folder {L" Фото с дачи"};
    const std::wstring path = folder.desktopIni();
    Win32FolderFiles files;
};

class EncodedSettingsFile : public SettingsFile, public testing::WithParamInterface<Encoding> {
protected:
    void write(const std::wstring& text) { writeFile(path, encode(GetParam(), text)); }
};

} // namespace

// A greyed check box (2) counts as unticked.
TEST_F(SettingsFile, ApplyMakesANewFileInTheShellsOrder)
{
    ASSERT_EQ(save(look(2, 0xFF8000, kTicked, 0xABCDEF), L"C:\\Фото\\Лес зимой.jpg", kApply), Kind::Done);

    const IniFile file = readIni(path);
    EXPECT_THAT(file.sections, ElementsAre(L"ExtShellFolderViews", kView, L".ShellClassInfo"));
    EXPECT_THAT(file.items,
                UnorderedElementsAreArray(
                    applied({L"[.ShellClassInfo] ConfirmFileOp=0"},
                            {L"IconArea_Image=C:\\Фото\\Лес зимой.jpg", L"IconArea_TextBackground=0x00ABCDEF"})));
    EXPECT_EQ(fileAttributes(), kHiddenSystem);
}

// Values that are no number in range show no colour, and never the other key's.
TEST_P(EncodedSettingsFile, LoadFindsOurKeysAmongOthersInAnyCaseAndSpacing)
{
    // The readers start with a small buffer: a long value and a long list of key names
    // must still come back whole.
    const std::wstring picture = L"C:\\Мои фото\\" + std::wstring(600, L'ж') + L".jpg";
    std::wstring others;
    for (int i = 0; i < 60; ++i)
        others += L"ARatherLongKeyNameNumber" + std::to_wstring(i) + L"=" + std::to_wstring(i) + L"\r\n";
    write(L"; Настройки\r\n[.ShellClassInfo]\r\nIconArea_Image=не наша.bmp\r\n\r\n"
          L"[{be098140-a513-11d0-a3a4-00c04fd706ec}]\r\nAttributes=1\r\n"
          + others + L"  ICONAREA_IMAGE  =  " + picture
          + L"  \r\n\ticonarea_text\t=\t0x00FF8000\r\nIconArea_TEXTBACKGROUND   =   65280   \r\n"
            L"[Other]\r\nIconArea_Text=0x00000005\r\n");
    FolderLookState state = look(kUnticked, 0, kUnticked, 0);
    ASSERT_TRUE(loadFolderLook(files, state));
    EXPECT_EQ(std::tuple(state.picture, state.textColorOn, state.textColor, state.backColorOn, state.backColor),
              std::tuple(picture, kTicked, 0xFF8000, kTicked, 0xFF00));

    for (const wchar_t* back : {L"", L"abc", L"12abc"}) {
        write(L"[" + kView + L"]\r\nIconArea_Text=0x00FF8000\r\nIconArea_TextBackground=" + back + L"\r\n");
        ASSERT_TRUE(loadFolderLook(files, state));
        EXPECT_EQ(std::tuple(state.textColorOn, state.textColor, state.backColorOn, state.backColor),
                  std::tuple(kTicked, 0xFF8000, kUnticked, 0xFFFFFF))
            << utf8(back);
    }
}

// A key with an empty value, in any case, is there; only an absent one gives the default.
TEST_P(EncodedSettingsFile, ReaderTellsEmptyKeysFromAbsentOnes)
{
    write(L"[S]\r\nEmpty=\r\n");
    std::wstring value;
    bool found = false;
    for (const wchar_t* key : {L"Empty", L"eMPTY"}) {
        EXPECT_TRUE(tsReadStringFromINI(L"S", key, L"x", path, 0, value) && value.empty()) << utf8(key);
        EXPECT_TRUE(tsIsINIKeyExist2(L"s", key, path, 0, false, found) && found) << utf8(key);
    }
    EXPECT_TRUE(tsReadStringFromINI(L"S", L"Absent", L"x", path, 0, value) && value == L"x");
    EXPECT_TRUE(tsIsINIKeyExist2(L"S", L"Absent", path, 0, false, found) && !found);
}

// A file as the shell and people leave it keeps its encoding, comments, other sections
// and other keys of the sections we write; Remove takes only our section and key.
TEST_P(EncodedSettingsFile, ApplyAndRemoveKeepEverythingElse)
{
    std::wstring text =
        L"; Заметка\r\n[.ShellClassInfo]\r\nIconResource=%SystemRoot%\\system32\\imageres.dll,-3\r\n"
        L"ConfirmFileOp=0\r\nInfoTip=Фотографии с дачи\r\n\r\n; ниже — вид папки\r\n[ViewState]\r\nMode=\r\n"
        L"[ExtShellFolderViews]\r\nDefault={5984FFE0-28D4-11CF-AE66-08002B2E1262}\r\n"
        L"{5984FFE0-28D4-11CF-AE66-08002B2E1262}={5984FFE0-28D4-11CF-AE66-08002B2E1262}\r\n"
        L"[{5984FFE0-28D4-11CF-AE66-08002B2E1262}]\r\nPersistMoniker=file://Folder.htt\r\n";
    if (GetParam() == Encoding::Utf16)
        text += L"[Unicode]\r\nName=\u4E2D\u6587 \u0105\r\n";
    write(text);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), kHiddenSystem | FILE_ATTRIBUTE_READONLY));
    const std::vector<std::wstring> others = readIni(path).items;

    ASSERT_EQ(save(look(kTicked, 0x000001, kTicked, 0x000002), L"старая.bmp", kApply), Kind::Done);
    ASSERT_EQ(save(look(kTicked, 0x0000FF, kUnticked, 0x000002), L"новая.bmp", kApply), Kind::Done);
    EXPECT_THAT(readIni(path).items,
                UnorderedElementsAreArray(applied(others, {L"IconArea_Image=новая.bmp", L"IconArea_Text=0x000000FF"})));

    ASSERT_EQ(save(look(kTicked, 0x0000FF, kTicked, 0x000002), L"", kRemove), Kind::Done);
    const IniFile file = readIni(path);
    EXPECT_EQ(file.encoding, GetParam());
    EXPECT_THAT(file.items, UnorderedElementsAreArray(others));
    EXPECT_THAT(file.sections, Not(Contains(kView)));
    EXPECT_EQ(fileAttributes(), kHiddenSystem);
}

// A new file holds what the code page lacks as UTF-16.
TEST_F(SettingsFile, NewFileIsUnicodeWhenItMustBe)
{
    const FolderInfo foreign {.infoTip = L"Zdjęcia ą 日本"};
    ASSERT_EQ(runFolderInfoCommand(files, folder.path(), foreign, {}, kApply).kind, Kind::Done);
    EXPECT_EQ(std::tuple(readIni(path).encoding, iniValue(path, L".ShellClassInfo", L"InfoTip")),
              std::tuple(Encoding::Utf16, std::optional(foreign.infoTip)));
}

INSTANTIATE_TEST_SUITE_P(Encodings, EncodedSettingsFile, testing::Values(Encoding::Ansi, Encoding::Utf16));

// Only "no such file" means that there is none. A settings file out of the ANSI
// functions' reach, or a folder in its place, is neither read as absent nor touched.
TEST_F(SettingsFile, WhatCannotBeToldToBeAFileIsLeftAlone)
{
    bool exists = true;
    EXPECT_TRUE(tsIsFileExist(folder.at(L"нет\\Desktop.INI"), exists) && !exists);
    const std::wstring deep = folder.at(std::wstring(250 - folder.path().size(), L'x'));
    makeFolder(deep);
    writeFile(L"\\\\?\\" + deep + L"\\Desktop.INI", "[x]");
    makeFolder(path);
    for (const auto& [place, error] :
         {std::pair(deep, TsStatus::kPathTooLong), std::pair(folder.path(), TsStatus::kAccessDenied)}) {
        FolderLookState state = look(kTicked, 0x123456, kTicked, 0x654321);
        state.folder = place;
        EXPECT_EQ(tsIsFileExist(place + L"\\Desktop.INI", exists).error(), error);
        EXPECT_EQ(loadFolderLook(files, state).error(), error);
        EXPECT_EQ(runLookCommand(files, state, Command::Remove).subject, place + L"\\Desktop.INI");
    }
    EXPECT_EQ(readFile(L"\\\\?\\" + deep + L"\\Desktop.INI"), "[x]");
    EXPECT_EQ(attributesOf(path), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

// Copying a file onto itself would empty it, however the picture's path is spelt. A
// relative picture (the bare name the folder's file stores) is the folder's own, not
// one of that name in the current directory.
TEST_F(SettingsFile, PictureThatAlreadyIsTheCopyStaysWhole)
{
    const TempFolder current;
    writeFile(current.at(L"Лес.jpg"), "the current directory's forest");
    const CurrentDirectory inCurrent(current.path());
    const std::wstring copy = folder.at(L"Лес.jpg"), leaf = folder.path().substr(folder.path().rfind(L'\\') + 1);
    for (const std::wstring& picture :
         {copy, folder.at(L".\\Лес.jpg"), folder.at(L"..\\" + leaf + L"\\Лес.jpg"), std::wstring(L"Лес.jpg")}) {
        SCOPED_TRACE(utf8(picture));
        writeFile(copy, "forest");
        const FolderLookState state {.folder = folder.path(), .picture = picture, .copyPicture = kTicked};
        ASSERT_EQ(runLookCommand(files, state, Command::Apply).kind, CommandOutcome::Kind::Done);
        EXPECT_EQ(iniValue(path, kView, L"IconArea_Image"), L"Лес.jpg");
        EXPECT_EQ(readFile(copy), "forest");
        EXPECT_EQ(attributesOf(copy) & kHiddenSystem, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
        SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// Letters the code page lacks come back from a UTF-16 file exactly as stored, and an
// Apply that keeps them writes them back unchanged.
TEST_F(SettingsFile, UnicodeFileKeepsLettersTheCodePageLacks)
{
    const std::wstring picture = L"C:\\Фото\\日本 Zdjęcia ą.jpg";
    writeFile(path, encode(Encoding::Utf16, L"[" + kView + L"]\r\nIconArea_Image=" + picture + L"\r\n"));
    FolderLookState state = look(kUnticked, 0, kUnticked, 0);
    ASSERT_TRUE(loadFolderLook(files, state));
    EXPECT_EQ(state.picture, picture);
    state.backColorOn = kTicked;
    ASSERT_EQ(runLookCommand(files, state, kApply).kind, Kind::Done);
    EXPECT_EQ(readIni(path).encoding, Encoding::Utf16);
    EXPECT_EQ(iniValue(path, kView, L"IconArea_Image"), picture);
    EXPECT_EQ(iniValue(path, kView, L"IconArea_TextBackground"), L"0x00FFFFFF");
}

// A hand-edited file may hold our section and key twice; Remove takes every copy.
TEST_F(SettingsFile, RemoveTakesEveryCopy)
{
    const std::wstring ours =
        L"[ExtShellFolderViews]\r\n" + kView + L"=" + kView + L"\r\n[" + kView + L"]\r\nIconArea_Image=a.jpg\r\n";
    writeFile(path, ansiBytes(ours + L"[Notes]\r\nA=1\r\n" + ours));
    ASSERT_EQ(save(look(kUnticked, 0, kUnticked, 0), L"", kRemove), Kind::Done);
    // The system's reader looks for a key in every copy of its section.
    EXPECT_THAT(iniSections(path), ElementsAre(L"[ExtShellFolderViews]", L"[Notes]", L"A=1", L"[ExtShellFolderViews]"));
}

// A picture text with a line break would add lines of its own to the file; a copy that
// fails gives an earlier copy its attributes back. Either way the folder is as it was.
TEST_F(SettingsFile, RefusedOrFailedApplyLeavesTheFolderAsItWas)
{
    const std::string before = ansiBytes(L"[.ShellClassInfo]\r\nInfoTip=Дача\r\n");
    writeFile(path, before);
    const std::wstring copy = folder.at(L"море.jpg");
    writeFile(copy, "earlier");
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_HIDDEN);
    FolderLookState state = look(kTicked, 0xFF, kUnticked, 0);
    for (const auto& [picture, copying, kind] :
         {std::tuple(std::wstring(L"C:\\море.jpg\r\n[.ShellClassInfo]\r\nIconResource=x.dll,1"), kUnticked,
                     Kind::ControlCharacter),
          std::tuple(folder.at(L"нет\\море.jpg"), kTicked, Kind::SourceUnreadable)}) {
        state.picture = picture;
        state.copyPicture = copying;
        EXPECT_EQ(runLookCommand(files, state, kApply).kind, kind);
        EXPECT_EQ(readFile(path), before);
        EXPECT_EQ(std::tuple(readFile(copy), attributesOf(copy) & kHiddenSystem),
                  std::tuple(std::string("earlier"), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN)));
    }
}

namespace {

// The names of a folder's entries, hidden ones too, in the order the system lists them.
std::vector<std::wstring> namesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    for (BOOL found = static_cast<bool>(find); found; found = FindNextFileW(find.get(), &entry)) {
        if (entry.cFileName != std::wstring(L".") && entry.cFileName != std::wstring(L".."))
            names.push_back(entry.cFileName);
    }
    return names;
}

} // namespace

// A copy replaces only an earlier one, a hidden file: the user's file of that name keeps
// its bytes and attributes, and the copy takes the first free name beside it. Desktop.INI,
// hidden as the writer leaves it, is never a copy's name, whatever its letter case.
TEST_F(SettingsFile, CopyReplacesOnlyAnEarlierCopy)
{
    const TempFolder elsewhere;
    const std::wstring mine = folder.at(L"лес.bmp");
    writeFile(mine, "mine");
    SetFileAttributesW(mine.c_str(), FILE_ATTRIBUTE_READONLY);
    const DWORD mineAttributes = attributesOf(mine);
    for (const auto& [source, bytes, copy] :
         {std::tuple(elsewhere.at(L"лес.bmp"), "first", L"лес (2).bmp"),
          std::tuple(elsewhere.at(L"лес.bmp"), "second", L"лес (2).bmp"),
          std::tuple(elsewhere.at(L"DESKTOP.ini"), "[.ShellClassInfo]\r\nInfoTip=x\r\n", L"DESKTOP (2).ini")}) {
        writeFile(source, bytes);
        const FolderLookState state {.folder = folder.path(), .picture = source, .copyPicture = kTicked};
        ASSERT_EQ(runLookCommand(files, state, kApply).kind, Kind::Done);
        EXPECT_EQ(iniValue(path, kView, L"IconArea_Image"), copy);
        EXPECT_EQ(std::tuple(readFile(folder.at(copy)), attributesOf(folder.at(copy)) & kHiddenSystem),
                  std::tuple(std::string(bytes), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN)));
    }
    EXPECT_EQ(std::tuple(readFile(mine), attributesOf(mine)), std::tuple(std::string("mine"), mineAttributes));
    EXPECT_EQ(iniValue(path, L".ShellClassInfo", L"InfoTip"), std::optional<std::wstring>());
    EXPECT_THAT(namesIn(folder.path()),
                UnorderedElementsAreArray({L"лес.bmp", L"лес (2).bmp", L"DESKTOP (2).ini", L"Desktop.INI"}));
    SetFileAttributesW(mine.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The dialog's copy of other bytes takes a new name, which the keys name, so that
// Explorer's caches, keyed by location, see a new icon; the earlier copy goes once no
// key names it. A copy of the same bytes keeps its name.
TEST_F(SettingsFile, DialogsCopyOfOtherBytesTakesANewName)
{
    const TempFolder elsewhere;
    const std::wstring source = elsewhere.at(L"звезда.ico");
    const auto copied = [&](const std::string& bytes) {
        writeFile(source, bytes);
        FolderInfo loaded;
        EXPECT_TRUE(loadFolderInfo(files, folder.path(), loaded));
        FolderInfo info = loaded;
        info.icon = source + L",0";
        info.copyIcon = kTicked;
        EXPECT_EQ(runFolderInfoCommand(files, folder.path(), info, loaded, kApply).kind, Kind::Done);
        return std::tuple(iniValue(path, L".ShellClassInfo", L"IconResource"),
                          iniValue(path, L".ShellClassInfo", L"IconFile"));
    };
    using Names = std::vector<std::wstring>;
    for (const auto& [bytes, copy, names] : {
             std::tuple("first", L"звезда.ico", Names {L"звезда.ico", L"Desktop.INI"}),
             std::tuple("second", L"звезда (2).ico", Names {L"звезда (2).ico", L"Desktop.INI"}),
             std::tuple("second", L"звезда (2).ico", Names {L"звезда (2).ico", L"Desktop.INI"}),
             std::tuple("third", L"звезда.ico", Names {L"звезда.ico", L"Desktop.INI"}),
         }) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(copied(bytes), std::tuple(copy + std::wstring(L",0"), std::wstring(copy)));
        EXPECT_EQ(std::tuple(readFile(folder.at(copy)), attributesOf(folder.at(copy)) & kHiddenSystem),
                  std::tuple(std::string(bytes), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN)));
        EXPECT_THAT(namesIn(folder.path()), UnorderedElementsAreArray(names));
    }
    // A copy that another key names stays.
    ASSERT_EQ(save(look(kUnticked, 0, kUnticked, 0), L"звезда.ico", kApply), Kind::Done);
    EXPECT_EQ(std::get<0>(copied("fourth")), L"звезда (2).ico,0");
    EXPECT_EQ(readFile(folder.at(L"звезда.ico")), "third");
}

// An icon inside a library is copied as that one icon, a small .ico named after the
// library, which the keys name at index 0; a library that cannot be read is named.
TEST_F(SettingsFile, IconInALibraryIsCopiedAsAnIcon)
{
    const std::wstring library = L"%SystemRoot%\\system32\\shell32.dll", copy = folder.at(L"shell32.ico");
    FolderInfo info {.icon = library + L",3", .copyIcon = kTicked};
    ASSERT_EQ(runFolderInfoCommand(files, folder.path(), info, {}, kApply).kind, Kind::Done);
    EXPECT_EQ(std::tuple(iniValue(path, L".ShellClassInfo", L"IconResource"),
                         iniValue(path, L".ShellClassInfo", L"IconFile"),
                         iniValue(path, L".ShellClassInfo", L"IconIndex")),
              std::tuple(L"shell32.ico,0", L"shell32.ico", L"0"));
    // An icon file: a directory of its images, the last ending where the file ends.
    const std::string ico = readFile(copy);
    const auto number = [&](std::size_t at, int bytes) {
        std::size_t value = 0;
        while (bytes-- > 0)
            value = value << 8 | static_cast<unsigned char>(ico.at(at + bytes));
        return value;
    };
    const std::size_t last = 6 + (number(4, 2) - 1) * 16;
    EXPECT_EQ(std::tuple(ico.substr(0, 4), number(last + 12, 4) + number(last + 8, 4)),
              std::tuple(std::string("\0\0\1\0", 4), ico.size()));
    EXPECT_EQ(attributesOf(copy) & kHiddenSystem, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));

    info.icon = folder.at(L"нет.dll,1");
    const CommandOutcome missing = runFolderInfoCommand(files, folder.path(), info, {}, kApply);
    EXPECT_EQ(std::tuple(missing.kind, missing.subject), std::tuple(Kind::SourceUnreadable, folder.at(L"нет.dll")));
}

// The icon and comment go into a UTF-16 file exactly as typed and are refused for an
// ANSI one, which stays as it was; each dialog's Remove keeps the other's keys.
TEST_P(EncodedSettingsFile, IconAndCommentBesideTheLook)
{
    write(L"[Notes]\r\nA=1\r\n");
    const FolderInfo foreign {.icon = L"C:\\Значки\\日本.ico,2", .infoTip = L"Zdjęcia ą 日本"},
        plain {.icon = L"C:\\Значки\\лес.ico,2", .infoTip = L"Лес"};
    const std::string ansi = readFile(path);
    const bool unicode = GetParam() == Encoding::Utf16;
    ASSERT_EQ(runFolderInfoCommand(files, folder.path(), foreign, {}, kApply).kind,
              unicode ? Kind::Done : Kind::KeyRefused);
    if (!unicode) {
        EXPECT_EQ(readFile(path), ansi);
        ASSERT_EQ(runFolderInfoCommand(files, folder.path(), plain, {}, kApply).kind, Kind::Done);
    }
    ASSERT_EQ(save(look(kTicked, 0xFF, kUnticked, 0), L"лес.jpg", kApply), Kind::Done);
    FolderInfo info;
    ASSERT_TRUE(loadFolderInfo(files, folder.path(), info));
    EXPECT_EQ(std::tuple(info.icon, info.infoTip),
              unicode ? std::tuple(foreign.icon, foreign.infoTip) : std::tuple(plain.icon, plain.infoTip));

    ASSERT_EQ(save(look(kTicked, 0xFF, kUnticked, 0), L"", kRemove), Kind::Done);
    ASSERT_TRUE(loadFolderInfo(files, folder.path(), info));
    EXPECT_FALSE(info.icon.empty());
    ASSERT_EQ(save(look(kTicked, 0xFF, kUnticked, 0), L"лес.jpg", kApply), Kind::Done);
    ASSERT_EQ(runFolderInfoCommand(files, folder.path(), {}, {}, kRemove).kind, Kind::Done);
    EXPECT_EQ(iniValue(path, kView, L"IconArea_Image"), L"лес.jpg");
    EXPECT_EQ(iniValue(path, L"Notes", L"A"), L"1");
    EXPECT_EQ(std::tuple(iniValue(path, L".ShellClassInfo", L"IconFile"), readIni(path).encoding),
              std::tuple(std::optional<std::wstring>(), GetParam()));
}

namespace {

std::string utf8Bytes(const std::wstring& text)
{
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                     bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
    return "\xEF\xBB\xBF" + bytes;
}

std::string utf16BigEndian(const std::wstring& text)
{
    std::string bytes = "\xFE\xFF";
    for (const wchar_t c : text)
        bytes += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    return bytes;
}

// What the system's reader reads from the file, less the sections and keys that Apply
// and Remove of either window write.
std::vector<std::wstring> othersOf(const std::wstring& path)
{
    std::vector<std::wstring> ours;
    for (const auto& [section, key] : ourKeys()) {
        ours.push_back(L"[" + section + L"]");
        ours.push_back(key + L"=");
    }
    std::vector<std::wstring> others;
    bool inOurSection = false;
    for (const std::wstring& line : iniSections(path)) {
        if (line.starts_with(L'['))
            inOurSection = lstrcmpiW(line.c_str(), (L"[" + kView + L"]").c_str()) == 0;
        const bool ourKey = std::any_of(std::begin(ours), std::end(ours), [&](const std::wstring& key) {
            return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, line.c_str(), static_cast<int>(key.size()),
                                  key.c_str(), static_cast<int>(key.size()))
                == CSTR_EQUAL;
        });
        if (!inOurSection && !ourKey)
            others.push_back(line);
    }
    return others;
}

} // namespace

// Every file the system's reader reads saves through both windows' Apply and Remove:
// what the reader reads from it afterwards is what it read before, beside our keys, in
// the same encoding. A value's blanks at its edges are the reader's to drop.
TEST_F(SettingsFile, EveryFileTheReaderReadsSaves)
{
    const std::wstring others = L"[Other]\r\nk=1\r\n";
    const struct {
        const char* what;
        std::string bytes;
        const char* kept = ""; // a line the reader does not hand over, found in the bytes
    } cases[] = {
        {"comments and lines without =", ansiBytes(L"; top\r\n[Other]\r\n; note\r\nplain line\r\nk=1\r\n"), "; note"},
        {"a long line", ansiBytes(L"[Other]\r\nk=" + std::wstring(5000, L'д') + L"\r\n")},
        {"UTF-16", encode(Encoding::Utf16, L"[Other]\r\nk=\u4E2D\u6587\r\n")},
        {"UTF-8 with its mark, our section first", utf8Bytes(L"[.ShellClassInfo]\r\nLocalizedResourceName=Дача\r\n")},
        {"UTF-16 big-endian", utf16BigEndian(L"[ExtShellFolderViews]\r\nDefault={5984FFE0}\r\n" + others)},
        {"[] headers over a comment and over nothing", "[Other]\r\nk=1\r\n[]\r\n; note\r\n[]\r\n", "; note"},
        {"the Customize tab's keys", "[ViewState]\r\nMode=4\r\nVid={137E7700-3573-11CF-AE69-08002B2E1262}\r\n"},
    };
    const FolderInfo info {
        .icon = L" shell32.dll,3", .infoTip = L"От\tпуск ", .folderType = L"Pictures", .logo = L"лес.jpg "};
    const struct {
        std::function<CommandOutcome()> run;
        const wchar_t* section;
        const wchar_t* key;
        std::optional<std::wstring> value;
    } commands[] = {
        {[&] {
             return runLookCommand(files,
                                   {.folder = folder.path(),
                                    .picture = L"C:\\Картинки\\фон.jpg ",
                                    .textColorOn = kTicked,
                                    .textColor = 0xFF},
                                   kApply);
         },
         kView.c_str(), L"IconArea_Image", L"C:\\Картинки\\фон.jpg"},
        {[&] { return runLookCommand(files, {.folder = folder.path(), .picture = L"   "}, kApply); }, kView.c_str(),
         L"IconArea_Image", L""},
        {[&] { return runFolderInfoCommand(files, folder.path(), info, {}, kApply); }, L"ViewState", L"Logo",
         L"лес.jpg"},
        {[&] { return runLookCommand(files, {.folder = folder.path()}, kRemove); }, kView.c_str(), L"IconArea_Image",
         std::nullopt},
        {[&] { return runFolderInfoCommand(files, folder.path(), {}, {}, kRemove); }, L".ShellClassInfo", L"InfoTip",
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(path, c.bytes);
        const std::vector<std::wstring> before = othersOf(path);
        const std::size_t mark = c.bytes.starts_with("\xEF\xBB\xBF")             ? 3
            : c.bytes.starts_with("\xFE\xFF") || c.bytes.starts_with("\xFF\xFE") ? 2
                                                                                 : 0;
        for (const auto& command : commands) {
            SCOPED_TRACE(utf8(command.key));
            ASSERT_EQ(command.run().kind, Kind::Done);
            EXPECT_EQ(iniValue(path, command.section, command.key), command.value);
            EXPECT_EQ(othersOf(path), before);
            const std::string after = readFile(path);
            EXPECT_EQ(std::tuple(after.substr(0, mark), after.find(c.kept) != std::string::npos),
                      std::tuple(c.bytes.substr(0, mark), true));
        }
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// Where the system's writer would change what a reader sees, or lose a line of the
// file, Apply in either window names the line and leaves the file as it was, bytes and
// attributes. A cloud drive's file in UTF-16 without a byte order mark, which both
// readers take for ANSI junk, is refused for that.
TEST_F(SettingsFile, ApplyRefusesWhatTheWriterWouldChange)
{
    const DWORD attributes = kHiddenSystem | FILE_ATTRIBUTE_READONLY;
    const std::wstring drive = L"[.ShellClassInfo]\r\nConfirmFileOp=0\r\nIconResource=C:\\Program Files\\Google\\"
                               L"Drive File Stream\\98.0.2.0\\GoogleDriveFS.exe,23\r\n";
    for (const auto& [bytes, kind, line] : {
             std::tuple(std::string("[Other]\r\nk=1\r\n[]\r\nm=2\r\n"), Kind::LineChanged, std::wstring(L"m=2")),
             std::tuple(std::string("[]\r\nm=2\r\n[Other]\r\nk=1\r\n"), Kind::LineChanged, std::wstring(L"m=2")),
             std::tuple(std::string("[Other]\r\nk=1\r\ne\x1A", 17), Kind::LineChanged, std::wstring(L"e\x1A")),
             std::tuple(std::string("[Other]\r\n;\0 note\r\nk=1\r\n", 23), Kind::LineChanged,
                        std::wstring(L";\0 note", 7)),
             std::tuple(encode(Encoding::Utf16, drive).substr(2), Kind::UnmarkedUnicode, std::wstring()),
         }) {
        SCOPED_TRACE(utf8(line));
        writeFile(path, bytes);
        SetFileAttributesW(path.c_str(), attributes);
        for (const CommandOutcome& outcome :
             {runLookCommand(files, look(kTicked, 0xFF, kUnticked, 0), kApply),
              runFolderInfoCommand(files, folder.path(), {.infoTip = L"Отпуск"}, {}, kApply)}) {
            EXPECT_EQ(std::tuple(outcome.kind, outcome.subject, outcome.detail), std::tuple(kind, path, line));
            EXPECT_EQ(std::tuple(readFile(path), fileAttributes()), std::tuple(bytes, attributes));
        }
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A file another program holds open without delete sharing cannot be replaced: Apply
// fails and leaves it as it was, bytes and attributes, with no copy beside it.
TEST_F(SettingsFile, FileHeldOpenIsLeftAsItWas)
{
    const std::string before = ansiBytes(L"[.ShellClassInfo]\r\nInfoTip=Дача\r\n");
    writeFile(path, before);
    SetFileAttributesW(path.c_str(), kHiddenSystem | FILE_ATTRIBUTE_READONLY);
    const DWORD attributes = attributesOf(path);
    {
        const FileHandle held(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        const CommandOutcome outcome = runLookCommand(files, look(kTicked, 0xFF, kUnticked, 0), kApply);
        EXPECT_EQ(std::tuple(outcome.kind, outcome.subject), std::tuple(Kind::SaveFailed, path));
    }
    EXPECT_EQ(std::tuple(readFile(path), attributesOf(path)), std::tuple(before, attributes));
    EXPECT_THAT(namesIn(folder.path()), ElementsAre(L"Desktop.INI"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

namespace {

// The tiny file system the test scripts mount, as Wine's drive Z: shows it; empty when none is.
std::wstring fullDiskFolder()
{
    const char* mounted = std::getenv("QUENMARK_FULL_DISK");
    std::wstring place = mounted && *mounted ? L"Z:" : L"";
    for (const char* c = mounted; !place.empty() && *c; ++c)
        place += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return place;
}

} // namespace

// A full disk: the copy the edits go to finds no room, and the file is left as it was,
// with no copy beside it. The test scripts mount a tiny file system for this.
TEST(FullDisk, FailedRewriteLosesNothing)
{
    const std::wstring place = fullDiskFolder();
    if (place.empty())
        GTEST_SKIP() << "no small file system mounted (QUENMARK_FULL_DISK)";
    const std::wstring path = place + L"\\Desktop.INI", filler = place + L"\\filler";
    // 8,187 bytes: one more line needs a third page.
    const std::wstring text =
        L"[.ShellClassInfo]\r\nIconResource=C:\\Windows\\system32\\shell32.dll,4\r\nInfoTip=Архив\r\n[" + kView
        + L"]\r\nAttributes=1\r\nIconArea_Text=0x00FFFFFF\r\n[Notes]\r\nText=";
    const std::string before = ansiBytes(text + std::wstring(8187 - text.size() - 2, L'з') + L"\r\n");
    writeFile(path, before);
    const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    SetFileAttributesW(path.c_str(), attributes);
    {
        const FileHandle file(CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 1;
        while (written == 1 && WriteFile(file.get(), "f", 1, &written, nullptr)) {}
    }
    const FolderLookState state {
        .folder = place, .textColorOn = kTicked, .textColor = 0xFFFFFF, .backColorOn = kTicked, .backColor = 0x804000};
    Win32FolderFiles files;
    EXPECT_EQ(runLookCommand(files, state, Command::Apply).kind, Kind::DiskFull);
    const std::string after = readFile(path);
    EXPECT_TRUE(after == before) << after.size() << " bytes, not the " << before.size() << " that were there";
    // Wine adds the archive bit to a file it makes hidden.
    EXPECT_EQ(attributesOf(path) & ~FILE_ATTRIBUTE_ARCHIVE, attributes);
    EXPECT_THAT(namesIn(place), UnorderedElementsAreArray({L"Desktop.INI", L"filler"}));
    DeleteFileW(filler.c_str());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

// A copy that finds no room leaves the earlier copy whole and no temporary file, and the
// message says that the disk is full.
TEST(FullDisk, FailedCopyKeepsTheEarlierCopy)
{
    const std::wstring place = fullDiskFolder();
    if (place.empty())
        GTEST_SKIP() << "no small file system mounted (QUENMARK_FULL_DISK)";
    const TempFolder elsewhere;
    const std::wstring source = elsewhere.at(L"big.bmp"), copy = place + L"\\big.bmp";
    writeFile(source, std::string(128 * 1024, 'b'));
    writeFile(copy, "earlier");
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    const DWORD attributes = attributesOf(copy);
    Win32FolderFiles files;
    const CommandOutcome outcome =
        runLookCommand(files, {.folder = place, .picture = source, .copyPicture = kTicked}, Command::Apply);
    EXPECT_EQ(std::tuple(outcome.kind, outcome.subject), std::tuple(Kind::DiskFull, copy));
    EXPECT_EQ(std::tuple(readFile(copy), attributesOf(copy)), std::tuple(std::string("earlier"), attributes));
    EXPECT_THAT(namesIn(place), ElementsAre(L"big.bmp"));
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(copy.c_str());
}
