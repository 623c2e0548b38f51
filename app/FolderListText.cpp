#include "app/FolderListText.h"

#include "app/OutcomeMessage.h"
#include "resources/Messages.h"

#include <iterator>

namespace {

std::wstring fileName(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The first failures a report names; the list shows all of them.
constexpr std::size_t kFailuresNamed = 3;
// The folder box shows the first folders up to about this many letters.
constexpr std::size_t kBoxLetters = 200;

// "\r\n\r\n2 папки — в OneDrive и MEGA: …" for the done folders that a sync client keeps, or nothing.
std::wstring cloudAccount(const FolderList& list, const std::vector<std::size_t>& places)
{
    std::size_t count = 0;
    bool kept[static_cast<std::size_t>(CloudClient::Mega) + 1] = {};
    for (const std::size_t place : places) {
        const FolderOutcome& outcome = list[place].outcome;
        if (outcome.state == FolderOutcome::State::Done && outcome.cloud != CloudClient::None) {
            ++count;
            kept[static_cast<std::size_t>(outcome.cloud)] = true;
        }
    }
    std::vector<std::wstring> names;
    for (std::size_t client = 1; client < std::size(kept); ++client) {
        if (kept[client])
            names.push_back(cloudClientName(static_cast<CloudClient>(client)));
    }
    if (names.empty())
        return L"";
    std::wstring clients = names.front();
    for (std::size_t i = 1; i < names.size(); ++i)
        clients += (i + 1 < names.size() ? std::wstring(L", ") : std::wstring(kListLastJoin.c_str())) + names[i];
    return L"\r\n\r\n" + cloudFoldersNote(count, clients);
}

} // namespace

std::wstring foldersBoxText(const FolderList& list)
{
    std::wstring text = foldersCount(list.size()) + L": ";
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0 && text.size() + list[i].folder.size() > kBoxLetters)
            return text + L"…";
        text += list[i].folder + (i + 1 < list.size() ? L"; " : L"");
    }
    return text;
}

std::wstring folderSummary(const FolderLookState& look, const FolderInfo& info)
{
    std::vector<std::wstring> parts;
    if (!look.picture.empty())
        parts.push_back(kSummaryPicture + fileName(look.picture));
    if (look.textColorOn == kTicked)
        parts.push_back(kSummaryTextColor.c_str());
    if (look.backColorOn == kTicked)
        parts.push_back(kSummaryBackColor.c_str());
    if (!info.icon.empty())
        parts.push_back(kSummaryIcon + fileName(info.icon));
    if (!info.infoTip.empty())
        parts.push_back(L"«" + info.infoTip + L"»");
    if (!info.folderType.empty())
        parts.push_back(kSummaryType + info.folderType);
    if (parts.empty())
        return kFolderPlain.c_str();
    std::wstring summary = parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i)
        summary += L", " + parts[i];
    return summary;
}

std::wstring batchDone(const FolderList& list, const std::vector<std::size_t>& places, bool undoable)
{
    return kDone + (undoable ? L"" : L"\r\n\r\n" + std::wstring(kNotUndoable)) + cloudAccount(list, places);
}

std::wstring batchReport(const FolderList& list, const std::vector<std::size_t>& places)
{
    std::size_t done = 0, failed = 0;
    std::wstring failures;
    for (const std::size_t place : places) {
        const ListedFolder& entry = list[place];
        if (entry.outcome.state == FolderOutcome::State::Done) {
            ++done;
        } else if (entry.outcome.state == FolderOutcome::State::Failed) {
            if (++failed <= kFailuresNamed)
                failures += L"\r\n\r\n" + entry.folder + L"\r\n" + whyNotDone(entry.outcome);
        }
    }
    std::wstring report = batchAccount(done, places.size(), failed);
    if (done + failed < places.size())
        report += std::wstring(L" ") + kBatchStopped;
    return report + failures + cloudAccount(list, places);
}
