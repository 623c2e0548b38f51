// Commands over several real folders, on the batch's own thread.
#include "app/FolderSteps.h"
#include "batch/BatchRun.h"
#include "batch/FolderList.h"
#include "common/TestFiles.h"
#include "folderview/Win32FolderFiles.h"
#include "undo/Win32RecordStore.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

using State = FolderOutcome::State;

class Batch : public testing::Test {
protected:
    // Runs step over the folders to its end; each folder's outcome, by place.
    std::vector<FolderOutcome> run(const std::vector<std::wstring>& each, FolderStep step)
    {
        EXPECT_TRUE(batch.start(each, std::move(step), nullptr, 0));
        batch.wait();
        std::vector<FolderOutcome> outcomes(each.size());
        for (auto& [place, outcome] : batch.take())
            outcomes[place] = outcome;
        return outcomes;
    }
    FolderStep apply(const std::wstring& picture)
    {
        return lookStep(files, store, name, {L"", picture, kUnticked, kTicked, 0xFF, kUnticked, 0}, Command::Apply);
    }

    std::array<TempFolder, 3> folders {TempFolder {L" А"}, TempFolder {L" Б"}, TempFolder {L" В"}};
    std::vector<std::wstring> paths {folders[0].path(), folders[1].path(), folders[2].path()};
    Win32FolderFiles files;
    TempFolder records {L" записи"};
    Win32RecordStore store {records.path()};
    CommandName name {L"Установить!", L"Quenmark", {2026, 12, 7, 16, 40}};
    BatchRun batch;
};

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
    EXPECT_FALSE(outcomes[1].why.empty());
    EXPECT_EQ(readFile(folders[1].desktopIni()), held);

    FolderList list;
    list.add(paths);
    for (std::size_t i = 0; i < 3; ++i)
        list[i].outcome = outcomes[i];
    EXPECT_EQ(list.notDone(), std::vector<std::size_t> {1});
    const std::wstring report = batchReport(list, {0, 1, 2});
    EXPECT_EQ(report.rfind(L"Готово: 2 из 3. Не удалось: 1.\r\n\r\n" + paths[1] + L"\r\n", 0), 0u) << utf8(report);
}

TEST_F(Batch, CancelStopsBeforeTheNextFolderAndKeepsWhatIsDone)
{
    const FolderStep applied = apply(L"fon.bmp");
    const auto outcomes = run(paths, [&](const std::wstring& folder) {
        batch.cancel(); // as the button would, while the first folder is in hand
        return applied(folder);
    });
    EXPECT_EQ(outcomes[0].state, State::Done);
    EXPECT_EQ(outcomes[1].state, State::Waiting);
    EXPECT_EQ(iniValue(folders[0].desktopIni(), kView, L"IconArea_Image"), L"fon.bmp");
    EXPECT_EQ(GetFileAttributesW(folders[1].desktopIni().c_str()), INVALID_FILE_ATTRIBUTES);
}

// The type set for all, each folder's own comment kept; then the whole batch undone.
TEST_F(Batch, DialogWritesOnlyTheChangedFieldAndUndoPutsEveryFolderBack)
{
    const std::string before[] = {ansiBytes(L"[.ShellClassInfo]\r\nInfoTip=первая\r\n"),
                                  ansiBytes(L"[.ShellClassInfo]\r\nInfoTip=вторая\r\n")};
    writeFile(folders[0].desktopIni(), before[0]);
    writeFile(folders[1].desktopIni(), before[1]);
    const FolderInfo loaded {.infoTip = L"первая"};
    const FolderInfo edited {.infoTip = L"первая", .folderType = L"Pictures"};
    const auto applied = run({paths[0], paths[1]}, folderInfoStep(files, store, name, edited, loaded, Command::Apply));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(applied[i].state, State::Done) << utf8(applied[i].why);
        EXPECT_EQ(iniValue(folders[i].desktopIni(), L"ViewState", L"FolderType"), L"Pictures");
        EXPECT_EQ(iniValue(folders[i].desktopIni(), L".ShellClassInfo", L"InfoTip"), i ? L"вторая" : L"первая");
    }
    const auto undone = run({paths[0], paths[1]}, undoStep(files, store, false));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(undone[i].state, State::Done) << utf8(undone[i].why);
        EXPECT_EQ(readFile(folders[i].desktopIni()), before[i]);
    }
}

} // namespace
