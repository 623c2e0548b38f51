#include "app/FolderSteps.h"

#include "app/OutcomeMessage.h"
#include "folderview/LookCommand.h"
#include "resources/Texts.h"
#include "support/ErrorReporter.h"

namespace {

// A message's paragraphs on one line, for a row of the list.
std::wstring oneLine(std::wstring text)
{
    for (std::size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;)
        text.replace(at, text.compare(at, 4, L"\r\n\r\n") == 0 ? 4 : 2, L" ");
    return text;
}

FolderOutcome failed(const std::wstring& text, std::uint32_t error)
{
    const std::wstring why = oneLine(text);
    return {FolderOutcome::State::Failed, error ? why + L" " + errorText(errorInfo(error), kErrorNumber) : why};
}

} // namespace

FolderOutcome folderOutcome(const CommandOutcome& outcome)
{
    if (outcome.kind == CommandOutcome::Kind::Done)
        return {FolderOutcome::State::Done, L"", outcome.undoable};
    const OutcomeMessage message = outcomeMessage(outcome);
    return failed(message.text, message.reported ? outcome.error : 0);
}

FolderStep lookStep(FolderFiles& files, RecordStore& store, const CommandName& name, const FolderLookState& look,
                    Command action)
{
    return [&files, &store, name, look, action](const std::wstring& folder) {
        FolderLookState own = look;
        own.folder = folder;
        return folderOutcome(runRecorded(files, store, folder, name,
                                         [&](FolderFiles& recorded) { return runLookCommand(recorded, own, action); }));
    };
}

FolderStep folderInfoStep(FolderFiles& files, RecordStore& store, const CommandName& name, const FolderInfo& edited,
                          const FolderInfo& loaded, Command action)
{
    return [&files, &store, name, edited, loaded, action](const std::wstring& folder) {
        FolderInfo own;
        if (const TsStatus status = loadFolderInfo(files, folder, own); !status)
            return failed(aboutPath(folder, kLoadFailed), status.error());
        const FolderInfo info = withChangedFields(own, edited, loaded);
        return folderOutcome(runRecorded(files, store, folder, name, [&](FolderFiles& recorded) {
            return runFolderInfoCommand(recorded, folder, info, own, action);
        }));
    };
}

FolderStep undoStep(FolderFiles& files, RecordStore& store, bool evenIfChanged)
{
    return [&files, &store, evenIfChanged](const std::wstring& folder) {
        using Kind = UndoOutcome::Kind;
        const UndoOutcome outcome = undoFolder(files, store, folder, evenIfChanged);
        switch (outcome.kind) {
        case Kind::Done: return FolderOutcome {FolderOutcome::State::Done};
        case Kind::Nothing: return failed(kUndoNothing, 0);
        case Kind::Unusable: return failed(aboutPath(outcome.subject, kUndoUnusable), 0);
        case Kind::Changed: return FolderOutcome {FolderOutcome::State::Changed, oneLine(outcome.subject)};
        case Kind::Failed: break;
        }
        return failed(aboutPath(outcome.subject, kUndoFailed), outcome.error);
    };
}
