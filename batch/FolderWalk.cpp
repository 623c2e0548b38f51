#include "batch/FolderWalk.h"

#include "support/Handles.h"
#include "support/tsPath.h"

#include <string_view>

namespace {

// Windows 7's quicker listing: no short names, and the entries fetched in larger
// batches. Named here because headers made for Windows XP may lack them.
constexpr auto kInfoBasic = static_cast<FINDEX_INFO_LEVELS>(1);
constexpr DWORD kLargeFetch = 2;

// The path as the system takes it past 260 characters: "\\?\C:\..." or
// "\\?\UNC\server\share\...". Such a path is used as it is, so it must be full.
std::wstring extendedForm(const std::wstring& full)
{
    if (full.starts_with(L"\\\\?\\"))
        return full; // a device path that names neither a drive nor a server
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// The root as a full path without a trailing backslash, "." and ".." resolved, in the
// spelling the user knows ("C:\..." or "\\server\...").
bool fullPath(const std::wstring& root, std::wstring& result)
{
    std::wstring plain;
    if (!tsPlainPath(root, plain) || plain.empty())
        return false;
    std::wstring full(plain.size() + MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(plain.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(plain.c_str(), length, full.data(), nullptr);
    }
    if (length == 0 || length >= full.size())
        return false;
    full.resize(length);
    return static_cast<bool>(tsRemoveBackslash(full, result));
}

// A junction or a symbolic link stands for another folder: following it could loop or
// leave the tree. Other reparse points (a cloud service's placeholders) are real folders
// of the tree; an entry whose tag is not told counts as a link.
bool isSubfolder(const WIN32_FIND_DATAW& entry)
{
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const std::wstring_view name = entry.cFileName;
    if (name == L"." || name == L"..")
        return false;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return true;
    return entry.dwReserved0 != 0 && !IsReparseTagNameSurrogate(entry.dwReserved0);
}

class SubfolderLister {
public:
    // The names of the folders directly in folder (its extended form). False when the
    // folder cannot be listed, or not to the end.
    bool list(const std::wstring& folder, std::vector<std::wstring>& names)
    {
        const std::wstring pattern = folder + L"\\*";
        WIN32_FIND_DATAW entry;
        FindHandle find;
        if (quick_) {
            find.reset(FindFirstFileExW(pattern.c_str(), kInfoBasic, &entry, FindExSearchLimitToDirectories, nullptr,
                                        kLargeFetch));
            if (!find && GetLastError() == ERROR_INVALID_PARAMETER)
                quick_ = false; // Windows XP and Vista
        }
        if (!quick_)
            find.reset(FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &entry, FindExSearchLimitToDirectories,
                                        nullptr, 0));
        if (!find)
            return GetLastError() == ERROR_FILE_NOT_FOUND; // an empty drive has not even "."
        do {
            if (isSubfolder(entry))
                names.emplace_back(entry.cFileName);
        } while (FindNextFileW(find.get(), &entry));
        return GetLastError() == ERROR_NO_MORE_FILES;
    }

private:
    bool quick_ = true;
};

} // namespace

Subfolders listSubfolders(const std::wstring& root, const std::atomic<bool>& stop)
{
    Subfolders found;
    std::wstring top;
    if (!fullPath(root, top)) {
        found.unreadable.push_back(root);
        return found;
    }
    // The walk keeps the user's spelling and gives the system the extended form of the
    // same path, which has no length limit.
    const std::wstring extendedTop = extendedForm(top);
    SubfolderLister lister;
    std::vector<std::wstring> pending {top}; // the next folder to enter is the last
    std::vector<std::wstring> names;
    bool atTop = true;
    while (!pending.empty() && !stop) {
        std::wstring folder = std::move(pending.back());
        pending.pop_back();
        names.clear();
        if (!lister.list(extendedTop + folder.substr(top.size()), names)) {
            found.unreadable.push_back(std::move(folder));
        } else {
            // In reverse, so that the first child is entered next: each folder is followed
            // by everything below it.
            for (auto name = names.rbegin(); name != names.rend(); ++name)
                pending.push_back(folder + L"\\" + *name);
            if (!atTop)
                found.folders.push_back(std::move(folder));
        }
        atTop = false;
    }
    return found;
}
