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
    // ERROR_FILE_NOT_FOUND when there is no record of that name.
    virtual TsStatus read(const std::wstring& name, std::string& bytes) = 0;
    // Whole or not at all: an earlier record of the name stays until the new one replaces it.
    virtual TsStatus write(const std::wstring& name, const std::string& bytes) = 0;
    virtual TsStatus remove(const std::wstring& name) = 0;
    virtual TsStatus list(std::vector<Entry>& entries) = 0;
    // The store's folder, as the messages name it.
    virtual std::wstring where() const = 0;
};
