#include "folderview/FileCopy.h"

#include "folderview/IconFile.h"
#include "folderview/SettingsFormat.h"
#include "support/tsAnsi.h"
#include "support/tsPath.h"

#include <windows.h>

namespace {

using Kind = CommandOutcome::Kind;

// More copies of one name than a folder ever holds: the search for a free name ends.
constexpr int kMostNumbers = 1000;

// A name as the file system compares it: ASCII letters without regard to case, every
// other character as it is. The path functions drop trailing dots and blanks, so
// "DESKTOP.ini." names the settings file too.
std::wstring comparableName(const std::wstring& name)
{
    std::wstring result = name.substr(0, name.find_last_not_of(L". ") + 1);
    for (wchar_t& c : result) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return result;
}

bool isSettingsFileName(const std::wstring& name)
{
    return comparableName(name) == L"desktop.ini";
}

// "лес.bmp" numbered 2 is "лес (2).bmp"; number 1 is the name itself.
std::wstring numberedName(const std::wstring& name, int number)
{
    if (number == 1)
        return name;
    const std::size_t dot = name.rfind(L'.');
    const std::size_t stem = dot == std::wstring::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, stem) + L" (" + std::to_wstring(number) + L")" + name.substr(stem);
}

// Where the copy goes, and what is there now.
struct Target {
    std::wstring name, path;
    bool exists = false; // an earlier copy, or the source itself
    bool isSource = false;
    std::uint32_t attributes = 0; // the earlier copy's
};

// The first name the copy may take: free, an earlier copy, or the source itself.
CommandOutcome findTarget(FolderFiles& files, const std::wstring& folder, const std::wstring& bareName,
                          const std::wstring* source, const wchar_t* key, Target& target)
{
    std::wstring settings;
    (void)tsBuildFileName(folder, kDesktopIni, settings); // fails only as the copy's path does
    for (int number = 1; number <= kMostNumbers; ++number) {
        target = Target();
        target.name = numberedName(bareName, number);
        std::string ansi;
        if (const TsStatus built = tsBuildFileName(folder, target.name, target.path); !built)
            return {Kind::CopyFailed, target.name, built.error(), key};
        if (tsToAnsiPath(target.path, ansi).error() == TsStatus::kPathTooLong)
            return {Kind::PathTooLong, target.path};
        if (isSettingsFileName(target.name))
            continue;
        const TsStatus status = files.getAttributes(target.path, target.attributes);
        if (!status && status.error() == ERROR_FILE_NOT_FOUND)
            return {};
        if (!status)
            return {Kind::CopyFailed, target.path, status.error(), key};
        target.exists = true;
        // A short name, or a link, can also name the settings file.
        bool same = false;
        if (files.isSameFile(target.path, settings, same) && same)
            continue;
        if (source && files.isSameFile(*source, target.path, same) && same) {
            target.isSource = true;
            return {};
        }
        if ((target.attributes & kAttrHidden) && !(target.attributes & kAttrDirectory))
            return {};
    }
    return {Kind::CopyFailed, target.path, ERROR_FILE_EXISTS, key};
}

// Why the copy failed, with the temporary file gone; a full disk is told as the
// settings writer tells it.
CommandOutcome failure(FolderFiles& files, const std::wstring& temp, const std::wstring& target, TsStatus status,
                       const wchar_t* key)
{
    if (!temp.empty())
        (void)files.deleteFile(temp); // hidden, never read-only
    if (status.error() == ERROR_DISK_FULL || status.error() == ERROR_HANDLE_DISK_FULL)
        return {Kind::DiskFull, target};
    return {Kind::CopyFailed, target, status.error(), key};
}

// The written temporary file renamed to the target; the rename replaces an earlier copy
// in one step.
CommandOutcome putInPlace(FolderFiles& files, const std::wstring& temp, const Target& target, const wchar_t* key)
{
    // The rename will not replace a read-only file; the earlier copy gets its bit back
    // when the rename fails.
    const bool unprotect = target.exists && (target.attributes & kAttrReadOnly);
    if (unprotect)
        (void)files.setAttributes(target.path, target.attributes & ~kAttrReadOnly);
    const TsStatus moved = files.moveFile(temp, target.path);
    if (moved)
        return {};
    if (unprotect)
        (void)files.setAttributes(target.path, target.attributes);
    return failure(files, temp, target.path, moved, key);
}

// The copy made by write (the source's copy, or the bytes written) into a temporary file.
template <typename Write>
CommandOutcome placeCopy(FolderFiles& files, const std::wstring& folder, const Target& target, const wchar_t* key,
                         Write write)
{
    std::wstring temp;
    if (const TsStatus made = files.makeTempFile(folder, temp); !made)
        return failure(files, L"", target.path, made, key);
    if (const TsStatus written = write(temp); !written)
        return failure(files, temp, target.path, written, key);
    return putInPlace(files, temp, target, key);
}

// The source's bare name, which the copy takes, without the trailing dots and blanks
// that the path functions drop. The copy is made through the ANSI file functions.
CommandOutcome sourceName(const std::wstring& source, const wchar_t* key, std::wstring& bareName)
{
    std::string ansi;
    if (!tsToAnsi(source, ansi))
        return {Kind::TextRefused, source};
    const TsStatus status = tsGetFileName(source, bareName);
    bareName.erase(bareName.find_last_not_of(L". ") + 1);
    if (!status || bareName.empty())
        return {Kind::SourceUnreadable, source, status ? ERROR_FILE_NOT_FOUND : status.error(), key};
    return {};
}

// Why an icon could not be read, as a system error for the message.
std::uint32_t iconReadError(IconRead read)
{
    switch (read) {
    case IconRead::Missing: return ERROR_FILE_NOT_FOUND;
    case IconRead::TooLarge: return ERROR_FILE_TOO_LARGE;
    default: return ERROR_INVALID_DATA;
    }
}

} // namespace

bool isIcoFileName(const std::wstring& path)
{
    return comparableName(path).ends_with(L".ico");
}

CommandOutcome copyIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& source,
                              const wchar_t* key, std::wstring& name)
{
    std::wstring bareName;
    if (CommandOutcome refused = sourceName(source, key, bareName); refused.kind != Kind::Done)
        return refused;
    Target target;
    if (CommandOutcome found = findTarget(files, folder, bareName, &source, key, target); found.kind != Kind::Done)
        return found;
    if (target.isSource) {
        (void)files.setAttributes(target.path, kAttrHidden);
    } else {
        if (const TsStatus readable = files.canRead(source); !readable)
            return {Kind::SourceUnreadable, source, readable.error(), key};
        CommandOutcome placed = placeCopy(files, folder, target, key,
                                          [&](const std::wstring& temp) { return files.copyFile(source, temp); });
        if (placed.kind != Kind::Done)
            return placed;
    }
    name = target.name;
    return {};
}

CommandOutcome writeIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& bareName,
                               const std::string& bytes, const wchar_t* key, std::wstring& name)
{
    Target target;
    if (CommandOutcome found = findTarget(files, folder, bareName, nullptr, key, target); found.kind != Kind::Done)
        return found;
    CommandOutcome placed =
        placeCopy(files, folder, target, key, [&](const std::wstring& temp) { return files.writeFile(temp, bytes); });
    if (placed.kind == Kind::Done)
        name = target.name;
    return placed;
}

CommandOutcome copyIconIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& module,
                                  int& index, const wchar_t* key, std::wstring& name)
{
    std::wstring bareName;
    if (CommandOutcome refused = sourceName(module, key, bareName); refused.kind != Kind::Done)
        return refused;
    std::string ico;
    if (const IconRead read = readIconFile(module, index, ico); read != IconRead::Read)
        return {Kind::SourceUnreadable, module, iconReadError(read), key};
    const std::size_t dot = bareName.rfind(L'.');
    bareName = bareName.substr(0, dot == 0 ? bareName.size() : dot) + L".ico";
    CommandOutcome written = writeIntoFolder(files, folder, bareName, ico, key, name);
    if (written.kind == Kind::Done)
        index = 0;
    return written;
}
