#include "app/OutcomeMessage.h"

#include "resources/Texts.h"

OutcomeMessage outcomeMessage(const SkinOutcome& outcome)
{
    using Kind = SkinOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Done: return {kDone, MB_ICONINFORMATION};
    case Kind::NoFolder: return {kNoFolder};
    case Kind::TextRefused: return {aboutPath(outcome.subject, kNotSaved, kUnrepresentable)};
    case Kind::PathTooLong: return {aboutPath(outcome.subject, kNotSaved, kPathTooLong)};
    case Kind::ControlCharacter: return {aboutKey(outcome.subject, kControlCharacter)};
    case Kind::KeyRefused: return {aboutKey(outcome.subject, kKeyRefused)};
    case Kind::CopyFailed: return {aboutPath(kCopyFailed, kNewFileName + outcome.subject), MB_ICONSTOP, true};
    case Kind::SaveFailed: return {aboutPath(outcome.subject, kSaveFailed)};
    case Kind::FolderNotMarked: return {aboutPath(outcome.subject, kFolderNotMarked)};
    }
    return {kInternalError};
}
