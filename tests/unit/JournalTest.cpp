#include "FakeFolderFiles.h"
#include "MemoryJournalStore.h"
#include "app/UndoCommand.h"
#include "folderview/LookCommand.h"
#include "resources/Texts.h"
#include "undo/CommandJournal.h"
#include "undo/Journal.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// An entry written frame by frame as a command leaves it: kind, the entry it undoes,
// its folders, and what it came to in each (none: reached, never ended).
struct Written {
    EntryKind kind = EntryKind::Command;
    std::wstring undoes = {};
    std::vector<std::wstring> folders = {};
    std::vector<std::optional<FolderEnd>> ends = {};
    bool finished = true;
};

std::wstring write(MemoryJournalStore& store, const Written& entry)
{
    std::wstring id;
    EXPECT_TRUE(store.create(id));
    std::string bytes =
        frameOf(FrameType::Header, encodeHeader({entry.kind, entry.undoes, {L"Установить!", L"Quenmark", {}}, entry.folders}));
    for (std::uint32_t i = 0; i < entry.folders.size(); ++i) {
        const RecordedPath path {.path = entry.folders[i] + L"\\Desktop.INI", .bytes = "[a]\r\n"};
        bytes += frameOf(FrameType::Before, encodeBefore({i, {path}}));
        if (entry.ends[i])
            bytes += frameOf(FrameType::Left, encodeLeft({i, *entry.ends[i], true, {path}}));
    }
    if (entry.finished)
        bytes += frameOf(FrameType::Finished, "");
    EXPECT_TRUE(store.append(bytes));
    if (entry.finished)
        EXPECT_TRUE(store.finish());
    else
        store.close();
    return id;
}

JournalEntry read(MemoryJournalStore& store, const std::wstring& id)
{
    JournalEntry entry;
    (void)readEntry(store, {id, 0, false, false}, true, entry);
    return entry;
}

} // namespace

// A command's entry read back cut at every length, and with each byte damaged: it ends at
// its last whole frame, and no claim of a frame makes the reader ask for more than a
// frame's header before the frame is found to fit.
TEST(Journal, EntryEndsAtItsFirstDamagedFrameAndNoClaimIsReadBeyondItsFile)
{
    FakeFolderFiles files;
    MemoryJournalStore store;
    files.texts[L"C:\\А\\Desktop.INI"] = L"[.ShellClassInfo]\r\nInfoTip=мой\r\n";
    files.attributes[L"C:\\А\\Desktop.INI"] = kAttrHidden;
    files.attributes[L"C:\\А"] = kAttrDirectory;
    {
        CommandJournal journal(store, files, {EntryKind::Command, L"", {L"Удалить", L"Quenmark", {}}, {L"C:\\А"}});
        ASSERT_EQ(journal
                      .run(0, [](FolderFiles& f, const std::wstring& folder) {
                          return runLookCommand(f, {.folder = folder, .textColorOn = kTicked}, Command::Apply);
                      })
                      .kind,
                  CommandOutcome::Kind::Done);
    }
    const std::string whole = store.entries.begin()->second;
    const std::wstring id = store.entries.begin()->first;
    const JournalEntry complete = read(store, id);
    ASSERT_TRUE(complete.finished);
    ASSERT_TRUE(complete.folders.at(0).changed() && complete.folders[0].ended);
    std::uint64_t last = 0;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        store.entries[id] = whole.substr(0, length);
        const JournalEntry cut = read(store, id);
        EXPECT_LE(cut.length, length);
        EXPECT_GE(cut.length, last); // what was whole stays whole
        last = cut.length;
        EXPECT_EQ(cut.finished, length == whole.size());
    }
    store.largestRead = 0;
    for (std::size_t at = 0; at < whole.size(); ++at) {
        store.entries[id] = whole;
        store.entries[id][at] ^= 0x40;
        EXPECT_LT(read(store, id).length, whole.size()) << at;
    }
    // A length field that claims 2 GB.
    store.entries[id] = whole;
    store.entries[id][4 + 3] = '\x7F';
    EXPECT_EQ(read(store, id).length, 0u);
    EXPECT_LE(store.largestRead, whole.size());
}

// "Вернуть как было" takes back the newest command of the folders, never an undo, and
// goes one command further back each time; undoing an undo makes its command the
// newest again.
TEST(Journal, LatestCommandSkipsUndosAndWhatTheyTookBack)
{
    MemoryJournalStore store;
    const std::wstring a = L"C:\\А", b = L"C:\\Б";
    const std::wstring first = write(store, {.folders = {a, b}, .ends = {FolderEnd::Done, FolderEnd::Done}});
    const std::wstring second = write(store, {.folders = {b}, .ends = {FolderEnd::Done}});
    (void)write(store, {.folders = {a}, .ends = {FolderEnd::Failed}}); // refused: changed nothing
    const std::wstring undo =
        write(store, {.kind = EntryKind::Undo, .undoes = second, .folders = {b}, .ends = {FolderEnd::Done}});
    Journal journal(store);
    ASSERT_TRUE(journal.refresh());
    const auto idOf = [&](std::size_t place) { return place < journal.entries().size() ? journal.entries()[place].id : L""; };
    EXPECT_EQ(idOf(journal.latestFor({b})), first);
    EXPECT_EQ(idOf(journal.latestFor({L"c:\\А"})), first); // ASCII case folded, as the file system does
    const std::vector<std::wstring> onlyB = {b};
    EXPECT_EQ(journal.toUndo(0, &onlyB), std::vector<std::size_t> {1});

    (void)write(store, {.kind = EntryKind::Undo, .undoes = undo, .folders = {b}, .ends = {FolderEnd::Done}});
    const std::wstring cut = write(store, {.folders = {a}, .ends = {std::nullopt}, .finished = false});
    ASSERT_TRUE(journal.refresh());
    EXPECT_EQ(idOf(journal.latestFor({b})), second);
    EXPECT_EQ(idOf(journal.latestFor({a})), cut);
    ASSERT_EQ(journal.unfinished().size(), 1u);
    EXPECT_EQ(idOf(journal.unfinished()[0]), cut);
    EXPECT_EQ(journal.latestFor({L"C:\\В"}), static_cast<std::size_t>(-1));
}

// The journal window's row: its folders, and whether it can be undone, greyed when not.
TEST(Journal, WindowRowSaysWhatCanBeUndone)
{
    FakeFolderFiles files;
    MemoryJournalStore store;
    const std::wstring a = L"C:\\А", b = L"C:\\Б";
    files.texts[b + L"\\Desktop.INI"] = L"[a]\r\n[другое]\r\n";
    files.attributes[a + L"\\Desktop.INI"] = files.attributes[b + L"\\Desktop.INI"] = 0;
    std::string left;
    ASSERT_TRUE(files.readFile(a + L"\\Desktop.INI", left));
    // What the fake's files leave: a's file as the command left it, b's changed since.
    const auto leftOf = [&](const std::wstring& folder) {
        return RecordedPath {.path = folder + L"\\Desktop.INI", .leftExists = true,
                             .leftHash = hashBytes(left.data(), left.size())};
    };
    std::wstring id;
    ASSERT_TRUE(store.create(id));
    std::string bytes =
        frameOf(FrameType::Header, encodeHeader({EntryKind::Command, L"", {L"Удалить", L"Quenmark", {}}, {a, b}}));
    for (std::uint32_t i = 0; i < 2; ++i) {
        const RecordedPath path = leftOf(i == 0 ? a : b);
        bytes += frameOf(FrameType::Before, encodeBefore({i, {path}}));
        bytes += frameOf(FrameType::Left, encodeLeft({i, FolderEnd::Done, true, {path}}));
    }
    ASSERT_TRUE(store.append(bytes + frameOf(FrameType::Finished, "")) && store.finish());
    const std::wstring nothing = write(store, {.folders = {a}, .ends = {FolderEnd::Failed}});
    const std::wstring running = write(store, {.folders = {a}, .ends = {std::nullopt}, .finished = false});
    store.running.insert(running);
    Journal journal(store);
    ASSERT_TRUE(journal.refresh());
    bool undoable = false;
    EXPECT_EQ(std::tuple(entryState(files, journal, 0, undoable), undoable), std::tuple(EntryState::Partly, true));
    EXPECT_EQ(std::tuple(entryState(files, journal, 1, undoable), undoable), std::tuple(EntryState::Nothing, false));
    EXPECT_EQ(std::tuple(entryState(files, journal, 2, undoable), undoable), std::tuple(EntryState::Running, false));
    files.texts[b + L"\\Desktop.INI"] = files.texts[a + L"\\Desktop.INI"];
    EXPECT_EQ(std::tuple(entryState(files, journal, 0, undoable), undoable), std::tuple(EntryState::Undoable, true));
    (void)write(store, {.kind = EntryKind::Undo, .undoes = id, .folders = {a, b}, .ends = {FolderEnd::Done, FolderEnd::Done}});
    ASSERT_TRUE(journal.refresh());
    EXPECT_EQ(std::tuple(entryState(files, journal, 0, undoable), undoable), std::tuple(EntryState::Undone, false));
    EXPECT_EQ(entryFolders(journal.entries()[0]), L"2 папки: C:\\А; C:\\Б");
    EXPECT_EQ(entryFolders(journal.entries()[1]), a);
}
