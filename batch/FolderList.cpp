#include "batch/FolderList.h"

#include "support/tsFile.h"

#include <algorithm>

namespace {

// Two spellings are one folder once made canonical; ASCII case is what the file systems
// fold beyond that.
bool sameFolder(const std::wstring& a, const std::wstring& b)
{
    const auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) { return fold(x) == fold(y); });
}

} // namespace

std::size_t FolderList::add(const std::vector<std::wstring>& folders, bool canonical)
{
    std::size_t added = 0;
    for (const std::wstring& given : folders) {
        const std::wstring folder = canonical ? given : tsCanonicalFolder(given);
        const bool listed = std::any_of(folders_.begin(), folders_.end(),
                                        [&](const ListedFolder& entry) { return sameFolder(entry.folder, folder); });
        if (!listed && !folder.empty()) {
            folders_.push_back({folder});
            ++added;
        }
    }
    return added;
}

std::vector<std::size_t> FolderList::notDone() const
{
    std::vector<std::size_t> places;
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        if (folders_[i].outcome.state != FolderOutcome::State::Done)
            places.push_back(i);
    }
    return places;
}
