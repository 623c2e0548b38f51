#pragma once
#include "undo/JournalStore.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

// The journal's entries in memory, for the rules of reading them: ids "0001", "0002", …
// in the order made; largestRead tells how much one read asked for.
class MemoryJournalStore : public JournalStore {
public:
    std::map<std::wstring, std::string> entries;
    std::set<std::wstring> finished, running;
    std::size_t largestRead = 0;

    TsStatus list(std::vector<Entry>& listed) override
    {
        listed.clear();
        for (const auto& [id, bytes] : entries)
            listed.push_back({id, bytes.size(), finished.count(id) != 0, running.count(id) != 0});
        return {};
    }
    TsStatus listUnfinished(std::vector<Entry>& listed) override
    {
        (void)list(listed);
        std::erase_if(listed, [](const Entry& entry) { return entry.finished; });
        return {};
    }
    TsStatus create(std::wstring& id) override
    {
        id = std::to_wstring(10000 + ++made_).substr(1);
        entries[id];
        open_ = id;
        return {};
    }
    TsStatus resume(const std::wstring& id, std::uint64_t length) override
    {
        entries[id].resize(static_cast<std::size_t>(length));
        open_ = id;
        return {};
    }
    TsStatus append(const std::string& bytes) override
    {
        entries[open_] += bytes;
        return {};
    }
    TsStatus flush() override { return {}; }
    TsStatus finish() override
    {
        finished.insert(open_);
        open_.clear();
        return {};
    }
    void close() override { open_.clear(); }
    TsStatus size(const std::wstring& id, std::uint64_t& bytes) override
    {
        bytes = entries.count(id) ? entries[id].size() : 0;
        return entries.count(id) ? TsStatus() : TsStatus::failure(ERROR_FILE_NOT_FOUND);
    }
    TsStatus readAt(const std::wstring& id, std::uint64_t offset, std::size_t size, std::string& bytes) override
    {
        largestRead = std::max(largestRead, size);
        const std::string& entry = entries[id];
        if (offset + size > entry.size())
            return TsStatus::failure(ERROR_HANDLE_EOF);
        bytes = entry.substr(static_cast<std::size_t>(offset), size);
        return {};
    }
    TsStatus remove(const std::wstring& id) override
    {
        entries.erase(id);
        return {};
    }
    std::wstring where() const override { return L"C:\\Журнал"; }

private:
    int made_ = 0;
    std::wstring open_;
};
