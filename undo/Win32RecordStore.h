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
    TsStatus open(const std::wstring& name, std::uint64_t recordSize);
    mutable std::wstring root_;
    bool rootMade_ = false;
    // A folder's file holds its records one after another, the latest last (see the .cpp).
    // The file written in a command stays open from its start to its end.
    FileHandle open_;
    std::wstring openName_;
    bool compacting_ = false; // writing the staged file that will replace the folder's
    std::uint64_t frameAt_ = 0, frameSize_ = 0;
    // Listed once a run and followed since: the store is the user's alone, and another
    // copy of the program writing meanwhile only makes the bound approximate.
    bool listed_ = false;
    std::vector<Entry> entries_;
};
