#include "app/OutcomeMessage.h"

#include "folderview/SettingsFormat.h"
#include "resources/Texts.h"
#include "support/ErrorReporter.h"

OutcomeMessage outcomeMessage(const CommandOutcome& outcome)
{
    using Kind = CommandOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Done:
        return {outcome.undoable ? std::wstring(kDone) : kDone + std::wstring(L"\r\n\r\n") + kNotUndoable,
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

bool showOutcome(Components& components, HWND owner, const CommandOutcome& outcome, const std::wstring& folder)
{
    const OutcomeMessage message = outcomeMessage(outcome);
    if (message.reported) {
        // No owner: the reporter takes the active window, the one the user works in.
        std::int16_t response = 0;
        components.errorReporter().report(errorInfo(outcome.error), message.icon, nullptr, message.text, response);
    } else {
        MessageBoxW(owner, message.text.c_str(), kMainCaption, MB_OK | message.icon);
    }
    if (outcome.kind != CommandOutcome::Kind::Done)
        return false;
    components.folderChanged(folder);
    return true;
}
