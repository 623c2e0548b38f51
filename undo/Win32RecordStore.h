#pragma once
#include "support/Handles.h"
#include "undo/RecordStore.h"

// The records as files of one folder, made on the first write and open to its user only.
class Win32RecordStore : public RecordStore {
public:
    // root: the store's folder, which tests give; by default "Quenmark" in the user's local
    // application data folder, looked up on first use so that start-up loads nothing more.
    explicit Win32RecordStore(std::wstring root = L"") : root_(std::move(root)) {}

    TsStatus read(const std::wstring& name, std::string& bytes) override;
    TsStatus stage(const std::wstring& name, const std::string& bytes) override;
    TsStatus keep(const std::wstring& name) override;
    void unstage(const std::wstring& name) override;
    TsStatus remove(const std::wstring& name) override;
    TsStatus list(std::vector<Entry>& entries) override;
    std::wstring where() const override { return root(); }

private:
    const std::wstring& root() const;
    TsStatus makeRoot();
    mutable std::wstring root_;
    bool rootMade_ = false;
    // The staged record stays open from its command's start to its end: rewriting it
    // through the handle and renaming it once costs a fraction of a new file each time.
    FileHandle staged_;
    std::wstring stagedName_;
    std::uint64_t stagedSize_ = 0;
    // Listed once a run and followed since: the store is the user's alone, and another
    // copy of the program writing meanwhile only makes the bound approximate.
    bool listed_ = false;
    std::vector<Entry> entries_;
};
