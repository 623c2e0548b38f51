#include "folderview/SettingsWriter.h"

#include "folderview/SettingsFormat.h"
#include "folderview/SettingsText.h"
#include "support/tsAnsi.h"
#include "support/tsPath.h"

#include <algorithm>

namespace {

using Kind = CommandOutcome::Kind;

constexpr char kUnicodeMark[] = "\xFF\xFE";
// The most a file system may set aside for one more piece of a file.
constexpr std::uint64_t kAllocationUnit = 64 * 1024;

bool isDeletion(const SettingEdit& edit)
{
    return !edit.key || !edit.value;
}

// The name a message gives the edit: its key, or its section.
std::wstring editName(const SettingEdit& edit)
{
    return edit.key.value_or(edit.section);
}

// Texts are refused before anything is written: an ANSI file cannot hold what its code
// page lacks (writing it would put '?' in place of the user's letters), and no value
// may hold a line break, which would start a line of its own in the file.
CommandOutcome refusal(const std::vector<SettingEdit>& edits, bool unicodeFile)
{
    for (const SettingEdit& edit : edits) {
        const std::wstring texts[] = {edit.section, edit.key.value_or(L""), edit.value.value_or(L"")};
        for (const std::wstring& text : texts) {
            if (holdsControlCharacter(text))
                return {Kind::ControlCharacter, editName(edit)};
            std::string ansi;
            if (!unicodeFile && !tsToAnsi(text, ansi))
                return {Kind::KeyRefused, editName(edit)};
        }
    }
    return {};
}

TsStatus write(FolderFiles& files, const std::wstring& path, const SettingEdit& edit)
{
    return files.writeINI(edit.section, edit.key ? &*edit.key : nullptr, edit.value ? &*edit.value : nullptr, path);
}

// How many copies of deleted keys and sections the file still holds.
int copiesLeft(const std::vector<SettingsLine>& lines, const std::vector<SettingEdit>& edits)
{
    int copies = 0;
    for (const SettingEdit& edit : edits) {
        if (isDeletion(edit))
            copies += countCopies(lines, edit);
    }
    return copies;
}

// Makes the edits and reads the result back. The profile writer deletes one copy of a
// key or section at a time, so deletions are repeated while they still find one.
bool makeEdits(FolderFiles& files, const std::wstring& path, const std::vector<SettingEdit>& edits,
               std::vector<SettingsLine>& after)
{
    for (const SettingEdit& edit : edits) {
        if (!write(files, path, edit))
            return false;
    }
    for (int before = -1;;) {
        std::string bytes;
        if (!files.readFile(path, bytes))
            return false;
        after = parseSettingsText(bytes);
        const int copies = copiesLeft(after, edits);
        if (copies == 0 || (before >= 0 && copies >= before))
            return true;
        before = copies;
        for (const SettingEdit& edit : edits) {
            if (isDeletion(edit) && countCopies(after, edit) > 0 && !write(files, path, edit))
                return false;
        }
    }
}

// Adds the read-only bit that tells the shell to read the folder's Desktop.INI. A drive
// root keeps its attributes: "C:" as typed, or a folder such as ".." that is one.
bool markFolder(FolderFiles& files, const std::wstring& folder)
{
    std::wstring typed, full;
    if (!tsRemoveBackslash(folder, typed) || (typed.size() == 2 && typed[1] == L':'))
        return true;
    if (!files.fullPath(typed, full) || !tsRemoveBackslash(full, full))
        return false;
    if (full.size() <= 2)
        return true;
    // Attributes that cannot be read are not written back: the invalid value would set every bit.
    std::uint32_t attributes = 0;
    return files.getAttributes(full, attributes)
        && files.setAttributes(full, (attributes | kAttrReadOnly) & ~kAttrDirectory);
}

// Whether a rewrite that came out other than asked ran out of room. The profile writer
// can cut a file short on a full disk and still report success, so the room left,
// once the old bytes are back, tells: less than the edits would have added.
bool isDiskFull(FolderFiles& files, const std::wstring& folder, const std::vector<SettingEdit>& edits)
{
    std::uint64_t needed = kAllocationUnit;
    for (const SettingEdit& edit : edits)
        needed += (edit.section.size() + edit.key.value_or(L"").size() + edit.value.value_or(L"").size() + 6) * 2;
    // A server's share is named with a backslash at its end.
    const std::wstring directory = folder.ends_with(L'\\') ? folder : folder + L'\\';
    std::uint64_t room = 0;
    return files.freeSpace(directory, room) && room < needed;
}

} // namespace

bool holdsControlCharacter(const std::wstring& text)
{
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c < L' '; });
}

CommandOutcome writeSettings(FolderFiles& files, const std::wstring& folder, const SettingsLocation& location,
                             const std::vector<SettingEdit>& edits, bool markFolderReadOnly)
{
    const std::wstring& path = location.path;
    const bool exists = location.exists;
    std::string before;
    std::uint32_t attributes = 0;
    if (exists && (!files.readFile(path, before) || !files.getAttributes(path, attributes)))
        return {Kind::SaveFailed, path};
    if (!exists && std::all_of(edits.begin(), edits.end(), isDeletion))
        return {};
    // A new file is made UTF-16, as the shell's documentation asks, when only that can
    // hold the texts; an existing file keeps its encoding.
    const bool unicode = isUnicodeSettingsText(before) || (!exists && refusal(edits, false).kind == Kind::KeyRefused);
    if (const CommandOutcome refused = refusal(edits, unicode); refused.kind != Kind::Done)
        return refused;
    if (!exists && unicode && !files.writeFile(path, kUnicodeMark))
        return {Kind::SaveFailed, path};
    // A read-only, hidden or system copy could not be rewritten otherwise. Should this
    // fail, the first write fails too and says so.
    if (exists)
        (void)files.setAttributes(path, kAttrNormal);

    std::vector<SettingsLine> after;
    const bool written = makeEdits(files, path, edits, after);
    const std::optional<std::wstring> changed =
        written ? changedLine(parseSettingsText(before), after, edits) : std::nullopt;
    if (!written || changed) {
        // A rewrite that failed has already freed the room the old bytes need. Should
        // putting them back fail too, the message still says the settings are not saved.
        if (!exists)
            (void)files.deleteFile(path);
        else if (files.writeFile(path, before))
            (void)files.setAttributes(path, attributes);
        if (!written)
            return {Kind::SaveFailed, path};
        if (isDiskFull(files, folder, edits))
            return {Kind::DiskFull, path};
        return {Kind::LineChanged, path, 0, *changed};
    }
    const bool marked = !markFolderReadOnly || markFolder(files, folder);
    // The shell reads the file whether or not it is hidden; hiding it only keeps it
    // out of the user's way.
    (void)files.setAttributes(path, kAttrHidden | kAttrSystem);
    if (!marked)
        return {Kind::FolderNotMarked, folder};
    return {};
}
