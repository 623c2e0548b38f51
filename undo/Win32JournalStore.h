#pragma once
#include "support/Handles.h"
#include "undo/JournalStore.h"

// The journal's entries as files of one folder, made on the first write and open to its
// user only: "<id>.run" while its command runs, held open by it alone so that another
// copy of the program can tell a command in hand from one whose program has gone, and
// "<id>.qmj" once it ended.
class Win32JournalStore : public JournalStore {
public:
    // root: the store's folder, which tests give; by default "Quenmark" in the user's
    // local application data folder, settled here, before any thread asks.
    explicit Win32JournalStore(std::wstring root = defaultRoot());
    static std::wstring defaultRoot();

    TsStatus list(std::vector<Entry>& entries) override { return listOf(L"*", entries); }
    TsStatus listUnfinished(std::vector<Entry>& entries) override { return listOf(L"*.run", entries); }
    TsStatus create(std::wstring& id) override;
    TsStatus resume(const std::wstring& id, std::uint64_t length) override;
    TsStatus append(const std::string& bytes) override;
    TsStatus flush() override;
    TsStatus finish() override;
    void close() override;
    TsStatus size(const std::wstring& id, std::uint64_t& bytes) override;
    TsStatus readAt(const std::wstring& id, std::uint64_t offset, std::size_t size, std::string& bytes) override;
    TsStatus remove(const std::wstring& id) override;
    std::wstring where() const override { return root_; }

protected:
    // Asked before each call that changes a file: a store that says no fails there and
    // every call after, as a program ended at that moment would. Tests stop it so.
    virtual bool proceed() { return true; }

private:
    TsStatus listOf(const wchar_t* pattern, std::vector<Entry>& entries);
    TsStatus makeRoot();
    TsStatus refused();
    std::wstring pathOf(const std::wstring& id, bool finished) const;
    TsStatus openReader(const std::wstring& id);

    std::wstring root_;
    bool rootMade_ = false;
    FileHandle open_; // the entry being written
    std::wstring openId_;
    FileHandle reader_; // the entry last read, kept for its next frames
    std::wstring readerId_;
};
