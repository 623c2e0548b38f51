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
// What the file keeps of its attributes beside hidden and system: a backup tool's
// archive mark, and the user's choice to keep it out of the search index.
constexpr std::uint32_t kKeptAttributes = kAttrArchive | kAttrNotContentIndexed;

bool isDeletion(const SettingEdit& edit)
{
    return !edit.key || !edit.value;
}

// The name a message gives the edit: its key, or its section.
std::wstring editName(const SettingEdit& edit)
{
    return edit.key.value_or(edit.section);
}

// Texts are refused before anything is written: a file Windows reads in the code page
// cannot hold what the code page lacks (writing it would put '?' in place of the
// user's letters), and no value may hold a line break, which would start a line of its
// own in the file. encodingRefused says why the file cannot take such letters.
CommandOutcome refusal(const std::vector<SettingEdit>& edits, bool unicodeFile, Kind encodingRefused)
{
    for (const SettingEdit& edit : edits) {
        const std::wstring texts[] = {edit.section, edit.key.value_or(L""), edit.value.value_or(L"")};
        for (const std::wstring& text : texts) {
            if (holdsControlCharacter(text))
                return {Kind::ControlCharacter, editName(edit)};
            std::string ansi;
            if (!unicodeFile && !tsToAnsi(text, ansi))
                return {encodingRefused, editName(edit)};
        }
    }
    return {};
}

TsStatus write(FolderFiles& files, const std::wstring& path, const SettingEdit& edit)
{
    return files.writeINI(edit.section, edit.key ? &*edit.key : nullptr, edit.value ? &*edit.value : nullptr, path);
}

// Makes the edits, leaving bytes what the file holds afterwards. The profile writer
// deletes one copy of a key or section at a time, so a deletion that changed the file
// is made again until it changes nothing. The file is read back only where that needs
// it, before and after a deletion, and at the end.
bool makeEdits(FolderFiles& files, const std::wstring& path, const std::vector<SettingEdit>& edits, std::string& bytes)
{
    std::vector<const SettingEdit*> pending;
    for (const SettingEdit& edit : edits)
        pending.push_back(&edit);
    while (!pending.empty()) {
        std::vector<const SettingEdit*> again;
        for (std::size_t i = 0; i < pending.size(); ++i) {
            const SettingEdit& edit = *pending[i];
            if (!write(files, path, edit))
                return false;
            if (!isDeletion(edit) && i + 1 < pending.size() && !isDeletion(*pending[i + 1]))
                continue;
            std::string now;
            if (!files.readFile(path, now))
                return false;
            if (isDeletion(edit) && now != bytes)
                again.push_back(&edit);
            bytes = std::move(now);
        }
        pending = std::move(again);
    }
    return true;
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

// Whether a copy that could not be made, or came out other than asked, ran out of room.
// The profile writer can cut a file short on a full disk and still report success, so
// the room left, once the copy is gone, tells: less than the copy with the edits needs.
bool isDiskFull(FolderFiles& files, const std::wstring& folder, std::size_t fileSize,
                const std::vector<SettingEdit>& edits)
{
    std::uint64_t needed = kAllocationUnit + fileSize;
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
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c < L' ' && c != L'\t'; });
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
    // Both readers take such a file for ANSI junk, and their writer would start it
    // afresh with none of its lines.
    const SettingsEncoding encoding = settingsEncoding(before);
    if (encoding == SettingsEncoding::UnmarkedUtf16)
        return {Kind::UnmarkedUnicode, path};
    // A new file is made UTF-16, as the shell's documentation asks, when only that can
    // hold the texts; an existing file keeps its encoding.
    const bool unicode = encoding == SettingsEncoding::Utf16
        || (!exists && refusal(edits, false, Kind::KeyRefused).kind == Kind::KeyRefused);
    const Kind encodingRefused = encoding == SettingsEncoding::Utf8 || encoding == SettingsEncoding::Utf16BigEndian
        ? Kind::MarkRefused
        : Kind::KeyRefused;
    if (const CommandOutcome refused = refusal(edits, unicode, encodingRefused); refused.kind != Kind::Done)
        return refused;
    // What the reader read before, for the check after the rewrite.
    std::vector<ProfileSection> was;
    if (!files.readSections(before, was))
        return {Kind::SaveFailed, path};
    // The edits go into a copy beside the file, which takes the file's place in one step
    // once it reads as it should: however the run ends, the folder holds the old file or
    // the new one. A file being made starts as an empty copy, or as the mark of a UTF-16 one.
    const std::string copied = exists ? before : unicode ? kUnicodeMark : "";
    std::wstring temp;
    if (!files.makeTempFile(folder, temp))
        return {isDiskFull(files, folder, copied.size(), edits) ? Kind::DiskFull : Kind::SaveFailed, path};
    std::string after = copied;
    std::vector<ProfileSection> now;
    const bool filled = copied.empty() || files.writeFile(temp, copied);
    const bool written = filled && makeEdits(files, temp, edits, after) && files.readSections(after, now);
    // What the reader sees, and beyond it every line of the file as text.
    std::optional<std::wstring> changed = written ? changedLine(was, now, edits) : std::nullopt;
    if (written && !changed)
        changed = lostLine(copied, after, edits);
    if (!written || changed) {
        (void)files.deleteFile(temp); // hidden, never read-only
        // A copy that could not be filled, or that reads cut short, may have found no room.
        if (filled && !written)
            return {Kind::SaveFailed, path};
        if (isDiskFull(files, folder, copied.size(), edits))
            return {Kind::DiskFull, path};
        return changed ? CommandOutcome {Kind::LineChanged, path, 0, *changed}
                       : CommandOutcome {Kind::SaveFailed, path};
    }
    // The replace will not take a read-only file's place; the file gets its bit back when
    // the replace fails.
    const bool unprotect = exists && (attributes & kAttrReadOnly);
    if (unprotect)
        (void)files.setAttributes(path, attributes & ~kAttrReadOnly);
    if (!files.replaceFile(temp, path)) {
        if (unprotect)
            (void)files.setAttributes(path, attributes);
        (void)files.deleteFile(temp);
        return {Kind::SaveFailed, path};
    }
    const bool marked = !markFolderReadOnly || markFolder(files, folder);
    // The shell reads the file whether or not it is hidden; hiding it only keeps it
    // out of the user's way.
    (void)files.setAttributes(path, kAttrHidden | kAttrSystem | (attributes & kKeptAttributes));
    if (!marked)
        return {Kind::FolderNotMarked, folder};
    return {};
}
