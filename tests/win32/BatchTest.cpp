// Commands over several real folders, on the batch's own thread.
#include "app/FolderListText.h"
#include "app/FolderSteps.h"
#include "app/OutcomeMessage.h"
#include "app/UndoCommand.h"
#include "batch/BatchRun.h"
#include "common/TestFiles.h"
#include "folderview/Win32FolderFiles.h"
#include "support/tsFile.h"
#include "undo/Win32JournalStore.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <variant>

namespace {

using State = FolderOutcome::State;

// The folder's files and attributes, as plain bytes; without a command's own temporary
// files (hidden, named "~qmk….tmp") when withTemporary is false.
std::pair<DWORD, std::vector<std::pair<std::wstring, std::string>>> snapshot(const std::wstring& folder,
                                                                              bool withTemporary = true)
{
    std::pair<DWORD, std::vector<std::pair<std::wstring, std::string>>> result {attributesOf(folder), {}};
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L".." && (withTemporary || !name.starts_with(L"~qmk")))
            result.second.push_back({name + L" " + std::to_wstring(found.dwFileAttributes), readFile(folder + L"\\" + name)});
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return result;
}

// Writes the settings file through the profile writer's own path until the chosen
// write, where the program ends as the task manager would end it.
class EndingFiles : public Win32FolderFiles {
public:
    explicit EndingFiles(int writes) : writes_(writes) {}
    TsStatus writeINI(const std::wstring& s, const std::wstring* k, const std::wstring* v, const std::wstring& p) override
    {
        if (writes_-- == 0)
            TerminateProcess(GetCurrentProcess(), 9);
        return Win32FolderFiles::writeINI(s, k, v, p);
    }

private:
    int writes_;
};

class Batch : public testing::Test {
protected:
    // Runs step over the folders to its end, as the list does; each folder's outcome, by place.
    std::vector<FolderOutcome> run(const std::vector<std::wstring>& each, const FolderStep& step,
                                   const std::function<void(BatchRun&)>& during = {})
    {
        std::vector<std::wstring> canonical;
        for (const std::wstring& folder : each)
            canonical.push_back(tsCanonicalFolder(folder));
        class Watched : public BatchWork {
        public:
            Watched(std::unique_ptr<BatchWork> work, std::function<void()> during)
                : work_(std::move(work)), during_(std::move(during)) {}
            void prepare(std::size_t first, std::size_t last) override { work_->prepare(first, last); }
            FolderOutcome run(std::size_t index) override
            {
                if (during_)
                    during_();
                return work_->run(index);
            }
            void end() override { work_->end(); }

        private:
            std::unique_ptr<BatchWork> work_;
            std::function<void()> during_;
        };
        std::function<void()> hook;
        if (during)
            hook = [&] { during(batch); };
        EXPECT_TRUE(batch.start(each.size(), std::make_unique<Watched>(step(canonical), hook), nullptr, 0));
        batch.wait();
        std::vector<FolderOutcome> outcomes(each.size());
        for (auto& [place, outcome] : batch.take())
            outcomes[place] = outcome;
        return outcomes;
    }
    FolderStep apply(const std::wstring& picture, FolderFiles& through)
    {
        return lookStep(through, store, name, {L"", picture, kUnticked, kTicked, 0xFF, kUnticked, 0}, Command::Apply);
    }
    FolderStep apply(const std::wstring& picture) { return apply(picture, files); }
    // Every folder the latest command over them changed put back, as a later start's
    // "Вернуть как было" does.
    std::vector<FolderOutcome> undoLatest(const std::vector<std::wstring>& each, bool evenIfChanged = false)
    {
        Win32JournalStore later(records.path());
        Journal journal(later);
        std::vector<std::wstring> canonical;
        for (const std::wstring& folder : each)
            canonical.push_back(tsCanonicalFolder(folder));
        EXPECT_TRUE(journal.refresh());
        const std::size_t latest = journal.latestFor(canonical);
        EXPECT_LT(latest, journal.entries().size());
        const auto whole = readWholeEntry(later, journal.entries().at(latest));
        EXPECT_TRUE(whole);
        return run(each, undoStep(files, later, whole, {L"Вернуть как было", L"Quenmark", {}}, evenIfChanged));
    }
    void prepareFolders()
    {
        const std::wstring utf16 = L"[.ShellClassInfo]\r\nInfoTip=Дача\r\n";
        writeFile(folders[0].desktopIni(),
                  "\xFF\xFE" + std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2));
        SetFileAttributesW(folders[0].desktopIni().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        writeFile(folders[1].desktopIni(), ansiBytes(L"[.ShellClassInfo]\r\nInfoTip=мой\r\n"));
        for (const std::wstring& path : paths)
            before.push_back(snapshot(path));
    }
    bool done(std::size_t i) const
    {
        return iniValue(folders[i].desktopIni(), kView, L"IconArea_Image") == L"fon.bmp"
            && attributesOf(folders[i].desktopIni()) & FILE_ATTRIBUTE_SYSTEM;
    }

    std::array<TempFolder, 3> folders {TempFolder {L" А"}, TempFolder {L" Б"}, TempFolder {L" В"}};
    std::vector<std::wstring> paths {folders[0].path(), folders[1].path(), folders[2].path()};
    std::vector<decltype(snapshot(L""))> before;
    Win32FolderFiles files;
    TempFolder records {L" журнал"};
    Win32JournalStore store {records.path()};
    CommandName name {L"Установить!", L"Quenmark", {2026, 12, 7, 16, 40}};
    BatchRun batch;
};

} // namespace

TEST_F(Batch, FolderHeldOpenFailsAloneNamedAndUntouched)
{
    const std::string held = ansiBytes(L"[.ShellClassInfo]\r\nInfoTip=мой\r\n");
    writeFile(folders[1].desktopIni(), held);
    std::vector<FolderOutcome> outcomes;
    {
        const HANDLE open =
            CreateFileW(folders[1].desktopIni().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(open, INVALID_HANDLE_VALUE);
        outcomes = run(paths, apply(L"fon.bmp"));
        CloseHandle(open);
    }
    EXPECT_EQ(outcomes[0].state, State::Done);
    EXPECT_EQ(outcomes[2].state, State::Done);
    EXPECT_EQ(iniValue(folders[2].desktopIni(), kView, L"IconArea_Image"), L"fon.bmp");
    ASSERT_EQ(outcomes[1].state, State::Failed);
    EXPECT_NE(std::get_if<CommandOutcome>(&outcomes[1].why), nullptr);
    EXPECT_EQ(readFile(folders[1].desktopIni()), held);

    FolderList list;
    list.add(paths);
    for (std::size_t i = 0; i < 3; ++i)
        list[i].outcome = outcomes[i];
    EXPECT_EQ(list.notDone(), std::vector<std::size_t> {1});
    const std::wstring report = batchReport(list, {0, 1, 2});
    EXPECT_EQ(report.rfind(L"Готово: 2 из 3. Не удалось: 1.\r\n\r\n" + list[1].folder + L"\r\n", 0), 0u) << utf8(report);
}

TEST_F(Batch, CancelStopsBeforeTheNextFolderAndKeepsWhatIsDone)
{
    const auto outcomes = run(paths, apply(L"fon.bmp"), [](BatchRun& running) { running.cancel(); });
    EXPECT_EQ(outcomes[0].state, State::Done);
    EXPECT_EQ(outcomes[1].state, State::Waiting);
    EXPECT_EQ(iniValue(folders[0].desktopIni(), kView, L"IconArea_Image"), L"fon.bmp");
    EXPECT_EQ(GetFileAttributesW(folders[1].desktopIni().c_str()), INVALID_FILE_ATTRIBUTES);
}

// A batch that succeeded is undone by a later start in every folder, byte for byte and
// attribute for attribute, but one whose files someone changed since, which is named
// and kept until the user says otherwise.
TEST_F(Batch, LaterStartUndoesTheWholeBatchButAFolderChangedSince)
{
    prepareFolders();
    for (const FolderOutcome& outcome : run(paths, apply(L"fon.bmp")))
        EXPECT_EQ(outcome.state, State::Done) << utf8(whyNotDone(outcome));
    SetFileAttributesW(folders[1].desktopIni().c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string edited = readFile(folders[1].desktopIni()) + "[Другое]\r\n";
    writeFile(folders[1].desktopIni(), edited);
    const auto undone = undoLatest(paths);
    EXPECT_EQ(std::tuple(undone[0].state, undone[1].state, undone[2].state),
              std::tuple(State::Done, State::Altered, State::Done));
    const auto* altered = std::get_if<UndoOutcome>(&undone[1].why);
    ASSERT_NE(altered, nullptr);
    EXPECT_NE(altered->subject.find(L"Desktop.INI"), std::wstring::npos) << utf8(altered->subject);
    EXPECT_EQ(snapshot(paths[0]), before[0]);
    EXPECT_EQ(readFile(folders[1].desktopIni()), edited);
    EXPECT_EQ(snapshot(paths[2]), before[2]);
}

// The type set for all, each folder's own comment kept.
TEST_F(Batch, DialogWritesOnlyTheChangedField)
{
    writeFile(folders[0].desktopIni(), ansiBytes(L"[.ShellClassInfo]\r\nInfoTip=первая\r\n"));
    writeFile(folders[1].desktopIni(), ansiBytes(L"[.ShellClassInfo]\r\nInfoTip=вторая\r\n"));
    const FolderInfo loaded {.infoTip = L"первая"};
    const FolderInfo edited {.infoTip = L"первая", .folderType = L"Pictures"};
    const auto applied = run({paths[0], paths[1]}, folderInfoStep(files, store, name, edited, loaded, Command::Apply));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(applied[i].state, State::Done) << utf8(whyNotDone(applied[i]));
        EXPECT_EQ(iniValue(folders[i].desktopIni(), L"ViewState", L"FolderType"), L"Pictures");
        EXPECT_EQ(iniValue(folders[i].desktopIni(), L".ShellClassInfo", L"InfoTip"), i ? L"вторая" : L"первая");
    }
}

// Stopped between two folders and in the middle of one (the program ending there): each
// folder is as it was or fully done, the next start finds the command, and its "Да"
// puts every folder back.
TEST_F(Batch, StoppedBetweenOrInsideFoldersIsFoundAndPutBack)
{
    prepareFolders();
    for (const int writes : {6, 9, 14}) {
        const std::wstring exe = [] {
            wchar_t path[MAX_PATH];
            GetModuleFileNameW(nullptr, path, MAX_PATH);
            return std::wstring(path);
        }();
        SetEnvironmentVariableW(L"QUENMARK_END_AT", std::to_wstring(writes).c_str());
        SetEnvironmentVariableW(L"QUENMARK_END_IN",
                                (paths[0] + L"|" + paths[1] + L"|" + paths[2] + L"|" + records.path()).c_str());
        std::wstring line = L"\"" + exe + L"\" --gtest_filter=Batch.DISABLED_EndsAtTheChosenWrite --gtest_also_run_disabled_tests";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        WaitForSingleObject(process.hProcess, 60000);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(code, 9u) << writes;
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_TRUE(snapshot(paths[i], false) == before[i] || done(i)) << writes << " " << i;
        const std::vector<JournalEntry> cut = findUnfinished(store, files);
        ASSERT_EQ(cut.size(), 1u) << writes;
        ASSERT_TRUE(closeUnfinished(store, files, cut[0]));
        const auto whole = readWholeEntry(store, cut[0]);
        ASSERT_TRUE(whole);
        std::vector<std::wstring> reached;
        for (const JournalFolder& folder : whole->folders) {
            if (folder.changed())
                reached.push_back(folder.folder);
        }
        for (const FolderOutcome& outcome :
             run(reached, undoStep(files, store, whole, {L"Вернуть как было", L"Quenmark", {}}, false)))
            EXPECT_EQ(outcome.state, State::Done) << writes << " " << utf8(whyNotDone(outcome));
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(snapshot(paths[i]), before[i]) << writes << " " << i;
    }
}

// The program the test above starts, which ends itself at the chosen write of a batch.
TEST_F(Batch, DISABLED_EndsAtTheChosenWrite)
{
    wchar_t at[16] = {}, in[4096] = {};
    ASSERT_TRUE(GetEnvironmentVariableW(L"QUENMARK_END_AT", at, 16) && GetEnvironmentVariableW(L"QUENMARK_END_IN", in, 4096));
    std::vector<std::wstring> parts;
    for (std::wstring rest = in; !rest.empty();) {
        const std::size_t bar = rest.find(L'|');
        parts.push_back(rest.substr(0, bar));
        rest = bar == std::wstring::npos ? L"" : rest.substr(bar + 1);
    }
    ASSERT_EQ(parts.size(), 4u);
    Win32JournalStore theirs(parts[3]);
    EndingFiles ending(std::stoi(at));
    const std::vector<std::wstring> theirFolders(parts.begin(), parts.begin() + 3);
    (void)run(theirFolders, lookStep(ending, theirs, name, {L"", L"fon.bmp", kUnticked, kTicked, 0xFF, kUnticked, 0},
                                Command::Apply));
}
