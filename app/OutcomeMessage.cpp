#include "app/OutcomeMessage.h"

#include "folderview/SettingsFormat.h"
#include "resources/Messages.h"
#include "support/ErrorReporter.h"
#include "support/Handles.h"

#include <variant>

namespace {

// A message's paragraphs on one line, for a row of the list.
std::wstring oneLine(std::wstring text)
{
    for (std::size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;)
        text.replace(at, text.compare(at, 4, L"\r\n\r\n") == 0 ? 4 : 2, L" ");
    return text;
}

// In a box owned by owner, or through the error reporter with the system's error.
void tellOrReport(Components& components, HWND owner, const OutcomeMessage& message, std::uint32_t error)
{
    if (message.reported) {
        // No owner: the reporter takes the active window, the one the user works in.
        std::int16_t response = 0;
        components.errorReporter().report(errorInfo(error), message.icon, nullptr, message.text, response);
    } else {
        components.tell(owner, message.text, message.icon);
    }
}

} // namespace

OutcomeMessage outcomeMessage(const CommandOutcome& outcome, CloudClient cloud)
{
    using Kind = CommandOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Done:
        return {std::wstring(kDone) + (outcome.undoable ? L"" : L"\r\n\r\n" + std::wstring(kNotUndoable))
                    + (cloud == CloudClient::None ? L"" : L"\r\n\r\n" + cloudFolderNote(cloudClientName(cloud))),
                MB_ICONINFORMATION};
    case Kind::NoFolder: return {kNoFolder.c_str()};
    case Kind::Unreadable: return {aboutPath(outcome.subject, kLoadFailed.c_str()), MB_ICONSTOP, true};
    case Kind::TextRefused: return {aboutPath(outcome.subject, kNotSaved.c_str(), kUnrepresentable.c_str())};
    case Kind::PathTooLong: return {aboutPath(outcome.subject, kNotSaved.c_str(), kPathTooLong.c_str())};
    case Kind::ControlCharacter: return {aboutKey(outcome.subject, kControlCharacter.c_str())};
    case Kind::KeyRefused: return {aboutKey(outcome.subject, kKeyRefused.c_str())};
    case Kind::MarkRefused: return {aboutKey(outcome.subject, kMarkRefused.c_str())};
    case Kind::UnmarkedUnicode: return {aboutPath(outcome.subject, kUnmarkedUnicode.c_str())};
    case Kind::CopyFailed:
        return {aboutPath(outcome.detail == kIconResourceKey ? kIconCopyFailed.c_str() : kCopyFailed.c_str(),
                          kNewFileName + outcome.subject),
                MB_ICONSTOP, true};
    case Kind::SourceUnreadable:
        return {aboutPath(outcome.detail == kIconResourceKey ? kIconCopyFailed.c_str() : kCopyFailed.c_str(),
                          kSourceUnreadable + outcome.subject),
                MB_ICONSTOP, true};
    case Kind::SaveFailed: return {aboutPath(outcome.subject, kSaveFailed.c_str())};
    case Kind::DiskFull: return {aboutPath(outcome.subject, kDiskFull.c_str())};
    case Kind::LineChanged: return {aboutPath(outcome.subject, aboutChangedLine(outcome.detail))};
    case Kind::FolderNotMarked: return {aboutPath(outcome.subject, kFolderNotMarked.c_str())};
    case Kind::RecordFailed: return {aboutPath(outcome.subject, kRecordFailed.c_str()), MB_ICONSTOP, true};
    }
    return {kInternalError.c_str()};
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

OutcomeMessage outcomeMessage(const UndoOutcome& outcome)
{
    using Kind = UndoOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Done: return {kDone.c_str(), MB_ICONINFORMATION};
    case Kind::Nothing: return {kUndoNothing.c_str(), MB_ICONINFORMATION};
    case Kind::Unusable: return {aboutPath(outcome.subject, kUndoUnusable.c_str())};
    case Kind::RecordFailed: return {aboutPath(outcome.subject, kRecordFailed.c_str()), MB_ICONSTOP, true};
    case Kind::Changed:
    case Kind::Failed: break;
    }
    return {aboutPath(outcome.subject, kUndoFailed.c_str()), MB_ICONSTOP, true};
}

std::wstring whyNotDone(const FolderOutcome& outcome)
{
    OutcomeMessage message = {kInternalError.c_str()};
    std::uint32_t error = 0;
    if (const auto* command = std::get_if<CommandOutcome>(&outcome.why)) {
        message = outcomeMessage(*command);
        error = command->error;
    } else if (const auto* undo = std::get_if<UndoOutcome>(&outcome.why)) {
        if (undo->kind == UndoOutcome::Kind::Changed)
            return kFolderChangedSince.c_str();
        message = outcomeMessage(*undo);
        error = undo->error;
    }
    const std::wstring why = oneLine(message.text);
    return message.reported && error ? why + L" " + errorText(errorInfo(error), kErrorNumber.c_str()) : why;
}

bool showOutcome(Components& components, HWND owner, const CommandOutcome& outcome, const std::wstring& folder)
{
    const bool applied = outcome.kind == CommandOutcome::Kind::Done && outcome.applied;
    tellOrReport(components, owner, outcomeMessage(outcome, applied ? folderCloud(folder) : CloudClient::None),
                 outcome.error);
    if (outcome.kind != CommandOutcome::Kind::Done)
        return false;
    components.folderChanged(folder, outcome.formerIcon);
    return true;
}

bool showOutcome(Components& components, HWND owner, const UndoOutcome& outcome, const std::wstring& folder)
{
    tellOrReport(components, owner, outcomeMessage(outcome), outcome.error);
    if (outcome.kind != UndoOutcome::Kind::Done)
        return false;
    components.folderChanged(folder, L"");
    return true;
}
