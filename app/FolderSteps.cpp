#include "app/FolderSteps.h"

#include "app/OutcomeMessage.h"
#include "folderview/LookCommand.h"

namespace {

// One entry for the whole command: the records of a group of folders go to the disk in
// one flush before any of them is changed.
class JournalWork : public BatchWork {
public:
    using PerFolder = std::function<FolderOutcome(CommandJournal& journal, std::size_t index)>;
    JournalWork(JournalStore& store, FolderFiles& files, EntryHeader header, PerFolder perFolder)
        : journal_(store, files, std::move(header)),
          perFolder_(std::move(perFolder))
    {
    }
    void prepare(std::size_t first, std::size_t last) override
    {
        for (std::size_t i = first; i < last; ++i)
            journal_.prepare(i);
        (void)journal_.sync(); // a failure refuses each folder as it comes
    }
    FolderOutcome run(std::size_t index) override { return perFolder_(journal_, index); }
    void end() override { journal_.finish(); }

private:
    CommandJournal journal_;
    PerFolder perFolder_;
};

FolderStep stepOf(FolderFiles& files, JournalStore& store, EntryHeader header, JournalWork::PerFolder perFolder)
{
    return [&files, &store, header = std::move(header),
            perFolder = std::move(perFolder)](const std::vector<std::wstring>& folders) -> std::unique_ptr<BatchWork> {
        EntryHeader own = header;
        own.folders = folders;
        return std::make_unique<JournalWork>(store, files, std::move(own), perFolder);
    };
}

} // namespace

FolderOutcome folderOutcome(const CommandOutcome& outcome, const std::wstring& folder)
{
    if (outcome.kind == CommandOutcome::Kind::Done)
        return {FolderOutcome::State::Done, {}, outcome.undoable, outcome.formerIcon,
                outcome.applied ? folderCloud(folder) : CloudClient::None};
    return {FolderOutcome::State::Failed, outcome};
}

FolderOutcome folderOutcome(const UndoOutcome& outcome)
{
    using Kind = UndoOutcome::Kind;
    if (outcome.kind == Kind::Done)
        return {FolderOutcome::State::Done};
    return {outcome.kind == Kind::Changed ? FolderOutcome::State::Altered : FolderOutcome::State::Failed, outcome};
}

FolderStep lookStep(FolderFiles& files, JournalStore& store, const CommandName& name, const FolderLookState& look,
                    Command action)
{
    return stepOf(files, store, {EntryKind::Command, L"", name, {}},
                  [look, action](CommandJournal& journal, std::size_t index) {
                      return folderOutcome(journal.run(index,
                                                       [&](FolderFiles& recorded, const std::wstring& folder) {
                                                           FolderLookState own = look;
                                                           own.folder = folder;
                                                           return runLookCommand(recorded, own, action);
                                                       }),
                                           journal.header().folders[index]);
                  });
}

FolderStep folderInfoStep(FolderFiles& files, JournalStore& store, const CommandName& name, const FolderInfo& edited,
                          const FolderInfo& loaded, Command action)
{
    return stepOf(files, store, {EntryKind::Command, L"", name, {}},
                  [&files, edited, loaded, action](CommandJournal& journal, std::size_t index) {
                      const std::wstring& folder = journal.header().folders[index];
                      FolderInfo own;
                      if (const TsStatus status = loadFolderInfo(files, folder, own); !status)
                          return FolderOutcome {
                              FolderOutcome::State::Failed,
                              CommandOutcome {CommandOutcome::Kind::Unreadable, folder, status.error()}};
                      const FolderInfo info = withChangedFields(own, edited, loaded);
                      return folderOutcome(journal.run(index,
                                                       [&](FolderFiles& recorded, const std::wstring& at) {
                                                           return runFolderInfoCommand(recorded, at, info, own, action);
                                                       }),
                                           folder);
                  });
}

FolderStep undoStep(FolderFiles& files, JournalStore& store, std::shared_ptr<const JournalEntry> undone,
                    const CommandName& name, bool evenIfChanged)
{
    return stepOf(files, store, {EntryKind::Undo, undone->id, name, {}},
                  [undone, evenIfChanged](CommandJournal& journal, std::size_t index) {
                      return folderOutcome(undoInJournal(journal, index, *undone, evenIfChanged));
                  });
}
