#include "folderview/FileCopy.h"
#include "support/tsText.h"

#include "folderview/IconFile.h"
#include "folderview/SettingsFormat.h"
#include "support/tsAnsi.h"
#include "support/tsPath.h"

#include <windows.h>

#include <optional>

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
    return name.substr(0, stem) + L" (" + tsDecimal(number) + L")" + name.substr(stem);
}

// Whether name is bareName itself or one of its numbered names ("лес (7).bmp").
bool isNumberedName(const std::wstring& name, const std::wstring& bareName)
{
    const std::wstring plain = comparableName(bareName), candidate = comparableName(name);
    if (candidate == plain)
        return true;
    const std::wstring before = comparableName(numberedName(bareName, 2));
    const std::size_t open = before.rfind(L" (2)");
    const std::wstring stem = before.substr(0, open + 2), rest = before.substr(open + 3);
    if (candidate.size() <= stem.size() + rest.size() || !candidate.starts_with(stem) || !candidate.ends_with(rest))
        return false;
    const std::wstring number = candidate.substr(stem.size(), candidate.size() - stem.size() - rest.size());
    return number[0] != L'0' && number.find_first_not_of(L"0123456789") == std::wstring::npos;
}

// Where the copy goes, and what is there now.
struct Target {
    std::wstring name, path;
    bool exists = false; // an earlier copy, or the source itself
    bool isSource = false;
    bool unchanged = false; // an earlier copy that holds the copy's bytes already
    std::uint32_t attributes = 0; // the earlier copy's
};

// The dialog's rule at work: the copy's bytes, read when first compared (a picture may be
// large, and most copies meet no earlier one), and the renewal the passed-over copies go to.
class Renewing {
public:
    Renewing(FolderFiles& files, Renewal& renewal, const std::wstring* source, const std::string* bytes)
        : files_(files),
          renewal_(renewal),
          source_(source),
          bytes_(bytes)
    {
    }
    // Whether the earlier copy holds the copy's bytes; one that cannot be read does not.
    CommandOutcome holdsTheBytes(const std::wstring& earlier, const wchar_t* key, bool& same)
    {
        if (!bytes_) {
            TsStatus read = files_.canRead(*source_);
            if (read)
                read = files_.readFile(*source_, read_);
            if (!read)
                return {Kind::SourceUnreadable, *source_, read.error(), key};
            bytes_ = &read_;
        }
        std::string held;
        same = files_.readFile(earlier, held) && held == *bytes_;
        return {};
    }
    void passOver(const std::wstring& earlier) { renewal_.superseded.push_back(earlier); }
    // The copy the setting names now, when it is one of the copy's names, an earlier copy
    // and of the same bytes, is kept: the copy does not move for nothing.
    CommandOutcome keepPrevious(const std::wstring& folder, const std::wstring& bareName, const wchar_t* key,
                                Target& target, bool& kept)
    {
        kept = false;
        Target previous;
        previous.name = renewal_.previous;
        previous.exists = true;
        std::wstring settings;
        bool isSettings = true;
        if (!isPreviousOf(folder, bareName, previous.path) || !files_.getAttributes(previous.path, previous.attributes)
            || !(previous.attributes & kAttrHidden) || (previous.attributes & kAttrDirectory)
            || !tsBuildFileName(folder, kDesktopIni, settings)
            || !files_.isSameFile(previous.path, settings, isSettings) || isSettings)
            return {};
        CommandOutcome compared = holdsTheBytes(previous.path, key, previous.unchanged);
        if (compared.kind == Kind::Done && previous.unchanged) {
            target = previous;
            kept = true;
        }
        return compared;
    }
    // The copy the setting named before goes too, when it is one of the copy's names but not the copy.
    void supersedePrevious(const std::wstring& folder, const std::wstring& bareName, const Target& target)
    {
        if (std::wstring path;
            isPreviousOf(folder, bareName, path) && comparableName(renewal_.previous) != comparableName(target.name))
            renewal_.superseded.push_back(path);
    }

private:
    // Whether the setting named, by a bare name, one of the copy's names, and where that is.
    bool isPreviousOf(const std::wstring& folder, const std::wstring& bareName, std::wstring& path) const
    {
        const std::wstring& previous = renewal_.previous;
        return previous.find_first_of(L"\\/:") == std::wstring::npos && !isSettingsFileName(previous)
            && isNumberedName(previous, bareName) && tsBuildFileName(folder, previous, path);
    }

    FolderFiles& files_;
    Renewal& renewal_;
    const std::wstring* source_;
    const std::string* bytes_;
    std::string read_;
};

// The first name the copy may take: free, an earlier copy, or the source itself. Under
// the dialog's rule, an earlier copy of other bytes is passed over.
CommandOutcome findTarget(FolderFiles& files, const std::wstring& folder, const std::wstring& bareName,
                          const std::wstring* source, Renewing* renewing, const wchar_t* key, Target& target)
{
    if (renewing) {
        bool kept = false;
        if (CommandOutcome compared = renewing->keepPrevious(folder, bareName, key, target, kept);
            compared.kind != Kind::Done || kept)
            return compared;
    }
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
        if (!(target.attributes & kAttrHidden) || (target.attributes & kAttrDirectory))
            continue;
        if (!renewing)
            return {};
        if (CommandOutcome compared = renewing->holdsTheBytes(target.path, key, target.unchanged);
            compared.kind != Kind::Done || target.unchanged)
            return compared;
        renewing->passOver(target.path);
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

// Whether a value of the settings file may name a file of this name: the value's last
// part, without an icon's index, quotes or blanks, compared as the file system compares.
bool mayName(std::wstring value, const std::wstring& name)
{
    const std::size_t comma = value.rfind(L',');
    if (comma != std::wstring::npos && value.find_first_not_of(L" -0123456789", comma + 1) == std::wstring::npos)
        value.erase(comma);
    value.erase(0, value.find_last_of(L"\\/:") + 1);
    value.erase(0, value.find_first_not_of(L" \t\""));
    value.erase(value.find_last_not_of(L" \t\"") + 1);
    return comparableName(value) == comparableName(name);
}

bool namedByTheSettings(const std::vector<ProfileSection>& sections, const std::wstring& name)
{
    for (const ProfileSection& section : sections) {
        for (const std::wstring& line : section.lines) {
            const std::size_t equals = line.find(L'=');
            if (mayName(equals == std::wstring::npos ? line : line.substr(equals + 1), name))
                return true;
        }
    }
    return false;
}

} // namespace

bool isIcoFileName(const std::wstring& path)
{
    return comparableName(path).ends_with(L".ico");
}

CommandOutcome copyIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& source,
                              const wchar_t* key, std::wstring& name, Renewal* renewal)
{
    std::wstring bareName;
    if (CommandOutcome refused = sourceName(source, key, bareName); refused.kind != Kind::Done)
        return refused;
    std::optional<Renewing> renewing;
    if (renewal)
        renewing.emplace(files, *renewal, &source, nullptr);
    Target target;
    if (CommandOutcome found =
            findTarget(files, folder, bareName, &source, renewing ? &*renewing : nullptr, key, target);
        found.kind != Kind::Done)
        return found;
    if (target.isSource) {
        (void)files.setAttributes(target.path, kAttrHidden);
    } else if (!target.unchanged) {
        if (const TsStatus readable = files.canRead(source); !readable)
            return {Kind::SourceUnreadable, source, readable.error(), key};
        CommandOutcome placed = placeCopy(files, folder, target, key,
                                          [&](const std::wstring& temp) { return files.copyFile(source, temp); });
        if (placed.kind != Kind::Done)
            return placed;
    }
    if (renewing)
        renewing->supersedePrevious(folder, bareName, target);
    name = target.name;
    return {};
}

CommandOutcome writeIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& bareName,
                               const std::string& bytes, const wchar_t* key, std::wstring& name, Renewal* renewal)
{
    std::optional<Renewing> renewing;
    if (renewal)
        renewing.emplace(files, *renewal, nullptr, &bytes);
    Target target;
    if (CommandOutcome found =
            findTarget(files, folder, bareName, nullptr, renewing ? &*renewing : nullptr, key, target);
        found.kind != Kind::Done)
        return found;
    if (!target.unchanged) {
        CommandOutcome placed = placeCopy(files, folder, target, key,
                                          [&](const std::wstring& temp) { return files.writeFile(temp, bytes); });
        if (placed.kind != Kind::Done)
            return placed;
    }
    if (renewing)
        renewing->supersedePrevious(folder, bareName, target);
    name = target.name;
    return {};
}

CommandOutcome copyIconIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& module,
                                  int& index, const wchar_t* key, std::wstring& name, Renewal* renewal)
{
    std::wstring bareName;
    if (CommandOutcome refused = sourceName(module, key, bareName); refused.kind != Kind::Done)
        return refused;
    std::string ico;
    if (const IconRead read = readIconFile(module, index, ico); read != IconRead::Read)
        return {Kind::SourceUnreadable, module, iconReadError(read), key};
    const std::size_t dot = bareName.rfind(L'.');
    bareName = bareName.substr(0, dot == 0 ? bareName.size() : dot) + L".ico";
    CommandOutcome written = writeIntoFolder(files, folder, bareName, ico, key, name, renewal);
    if (written.kind == Kind::Done)
        index = 0;
    return written;
}

void removeUnnamedCopies(FolderFiles& files, const std::wstring& settings, const std::vector<std::wstring>& copies)
{
    std::string bytes;
    std::vector<ProfileSection> sections;
    if (copies.empty() || !files.readFile(settings, bytes) || !files.readSections(bytes, sections))
        return;
    for (const std::wstring& copy : copies) {
        std::wstring name;
        std::uint32_t attributes = 0;
        bool isSettings = false;
        if (!tsGetFileName(copy, name) || namedByTheSettings(sections, name) || !files.getAttributes(copy, attributes)
            || !(attributes & kAttrHidden) || (attributes & kAttrDirectory)
            || !files.isSameFile(copy, settings, isSettings) || isSettings)
            continue;
        // A copy that stays is only one file too many: the command is done all the same.
        const bool unprotect = attributes & kAttrReadOnly;
        if (unprotect && !files.setAttributes(copy, attributes & ~kAttrReadOnly))
            continue;
        if (!files.deleteFile(copy) && unprotect)
            (void)files.setAttributes(copy, attributes);
    }
}
