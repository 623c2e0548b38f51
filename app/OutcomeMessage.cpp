#include "app/OutcomeMessage.h"

#include "folderview/SettingsFormat.h"
#include "resources/Texts.h"
#include "support/ErrorReporter.h"
#include "support/Handles.h"

OutcomeMessage outcomeMessage(const CommandOutcome& outcome, CloudClient cloud)
{
    using Kind = CommandOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Done:
        return {std::wstring(kDone) + (outcome.undoable ? L"" : L"\r\n\r\n" + std::wstring(kNotUndoable))
                    + (cloud == CloudClient::None ? L"" : L"\r\n\r\n" + cloudFolderNote(cloudClientName(cloud))),
                MB_ICONINFORMATION};
    case Kind::NoFolder: return {kNoFolder};
    case Kind::TextRefused: return {aboutPath(outcome.subject, kNotSaved, kUnrepresentable)};
    case Kind::PathTooLong: return {aboutPath(outcome.subject, kNotSaved, kPathTooLong)};
    case Kind::ControlCharacter: return {aboutKey(outcome.subject, kControlCharacter)};
    case Kind::KeyRefused: return {aboutKey(outcome.subject, kKeyRefused)};
    case Kind::MarkRefused: return {aboutKey(outcome.subject, kMarkRefused)};
    case Kind::UnmarkedUnicode: return {aboutPath(outcome.subject, kUnmarkedUnicode)};
    case Kind::CopyFailed:
        return {aboutPath(outcome.detail == kIconResourceKey ? kIconCopyFailed : kCopyFailed,
                          kNewFileName + outcome.subject),
                MB_ICONSTOP, true};
    case Kind::SourceUnreadable:
        return {aboutPath(outcome.detail == kIconResourceKey ? kIconCopyFailed : kCopyFailed,
                          kSourceUnreadable + outcome.subject),
                MB_ICONSTOP, true};
    case Kind::SaveFailed: return {aboutPath(outcome.subject, kSaveFailed)};
    case Kind::DiskFull: return {aboutPath(outcome.subject, kDiskFull)};
    case Kind::LineChanged: return {aboutPath(outcome.subject, aboutChangedLine(outcome.detail))};
    case Kind::FolderNotMarked: return {aboutPath(outcome.subject, kFolderNotMarked)};
    case Kind::RecordFailed: return {aboutPath(outcome.subject, kRecordFailed), MB_ICONSTOP, true};
    }
    return {kInternalError};
}

CloudClient folderCloud(const std::wstring& folder)
{
    std::wstring full(GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr), L'\0');
    if (!full.empty())
        full.resize(GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    if (full.empty())
        return CloudClient::None;
    const CloudProbe system {
        .environment =
            [](const wchar_t* name) {
                std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
                value.resize(
                    value.empty() ? 0 : GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
                return value;
            },
        .exists =
            [](const std::wstring& pattern) {
                WIN32_FIND_DATAW found;
                return static_cast<bool>(FindHandle(FindFirstFileW(pattern.c_str(), &found)));
            },
    };
    return cloudClientOf(full, system);
}

bool showOutcome(Components& components, HWND owner, const CommandOutcome& outcome, const std::wstring& folder)
{
    const bool applied = outcome.kind == CommandOutcome::Kind::Done && outcome.applied;
    const OutcomeMessage message = outcomeMessage(outcome, applied ? folderCloud(folder) : CloudClient::None);
    if (message.reported) {
        // No owner: the reporter takes the active window, the one the user works in.
        std::int16_t response = 0;
        components.errorReporter().report(errorInfo(outcome.error), message.icon, nullptr, message.text, response);
    } else {
        components.tell(owner, message.text, message.icon);
    }
    if (outcome.kind != CommandOutcome::Kind::Done)
        return false;
    components.folderChanged(folder, outcome.formerIcon);
    return true;
}
