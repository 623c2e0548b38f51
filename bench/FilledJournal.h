#pragma once
// A journal as many earlier commands leave it, made far faster than by running them: one
// real Apply through the journal, on a folder of its own, and its finished entry copied
// under earlier ids.
#include "folderview/LookCommand.h"
#include "folderview/LookSettings.h"
#include "folderview/Win32FolderFiles.h"
#include "support/Handles.h"
#include "undo/CommandJournal.h"
#include "undo/Win32JournalStore.h"

#include "Measure.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

struct FilledJournal {
    std::wstring newest; // the real entry's id: every copy sorts before it
    std::uint64_t entryBytes = 0;
};

// count finished entries in the store folder root (made if need be, and empty before).
// False, after saying why, when the Apply or a copy fails.
inline bool fillJournal(const std::wstring& root, std::size_t count, FilledJournal& filled)
{
    const std::wstring folder = root + L".folder";
    Win32FolderFiles files;
    Win32JournalStore store(root);
    FolderLookState look;
    look.folder = folder;
    if (!CreateDirectoryW(folder.c_str(), nullptr) || !writeOldFile(folder + L"\\Desktop.INI", oneKiBFile())
        || !loadFolderLook(files, look)) {
        std::fwprintf(stderr, L"cannot make %ls, error %lu\n", folder.c_str(), GetLastError());
        removeAppliedFolder(folder);
        return false;
    }
    look.textColor = 0x0000FF;
    const CommandOutcome outcome = runRecorded(files, store, folder, {L"Установить!", L"Quenmark", {}},
                                               [&](FolderFiles& through, const std::wstring& at) {
                                                   FolderLookState own = look;
                                                   own.folder = at;
                                                   return runLookCommand(through, own, Command::Apply);
                                               });
    removeAppliedFolder(folder);
    std::vector<JournalStore::Entry> entries;
    std::string bytes;
    if (outcome.kind != CommandOutcome::Kind::Done || !store.list(entries) || entries.size() != 1
        || !entries[0].finished || !store.readAt(entries[0].id, 0, static_cast<std::size_t>(entries[0].size), bytes)) {
        std::fwprintf(stderr, L"cannot make a journal entry in %ls\n", root.c_str());
        return false;
    }
    filled = {entries[0].id, entries[0].size};
    // Ids are FILETIME values in 16 hex digits: those of commands run a moment earlier.
    const std::uint64_t newest = std::wcstoull(filled.newest.c_str(), nullptr, 16);
    for (std::size_t i = 1; i < count; ++i) {
        wchar_t name[32];
        std::swprintf(name, std::size(name), L"%016llx.qmj", static_cast<unsigned long long>(newest - i));
        const FileHandle copy(CreateFileW((root + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!copy || !WriteFile(copy.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
            || written != bytes.size()) {
            std::fwprintf(stderr, L"cannot copy the journal entry to %ls, error %lu\n", name, GetLastError());
            return false;
        }
    }
    return true;
}
