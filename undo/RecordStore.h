#pragma once
#include "support/TsStatus.h"

#include <cstdint>
#include <string>
#include <vector>

// Where the records live, one file per folder, behind an interface so that tests can
// force a store that fails. Win32RecordStore is the real one.
class RecordStore {
public:
    struct Entry {
        std::wstring name;
        std::uint64_t size = 0;
        std::uint64_t written = 0; // later records have larger numbers
    };
    virtual ~RecordStore() = default;
    // The folder's record: a staged one first, since it outlives only a run that ended in
    // the middle of a command, whose folder it holds as it was before. ERROR_FILE_NOT_FOUND
    // when there is none.
    virtual TsStatus read(const std::wstring& name, std::string& bytes) = 0;
    // The record of a command about to run (or running on), written whole; the folder's
    // earlier record stays until keep. Each call rewrites it whole; a failure leaves no
    // staged record.
    virtual TsStatus stage(const std::wstring& name, const std::string& bytes) = 0;
    // The staged record becomes the folder's record, in place of the earlier one.
    virtual TsStatus keep(const std::wstring& name) = 0;
    // The staged record goes; the earlier one stays.
    virtual void unstage(const std::wstring& name) = 0;
    // The folder's record goes, and a staged one with it.
    virtual TsStatus remove(const std::wstring& name) = 0;
    virtual TsStatus list(std::vector<Entry>& entries) = 0;
    // The store's folder, as the messages name it.
    virtual std::wstring where() const = 0;
};
