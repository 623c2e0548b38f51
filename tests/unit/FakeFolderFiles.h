#pragma once
#include "folderview/FolderFiles.h"
#include "support/tsText.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Windows matches paths, section names and key names without regard to case.
struct NoCaseLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
            return std::towupper(static_cast<std::wint_t>(x)) < std::towupper(static_cast<std::wint_t>(y));
        });
    }
};

// Files and folders held in memory, for the failures and attributes that real files
// under Wine cannot be made to show. It keeps the Windows rules the logic relies on:
// a profile write creates the file but is refused on a read-only one, a copy is
// refused over a hidden or read-only file, and a copy takes the source's attributes.
// Every change asked for is logged in call order, whether or not it succeeded.
class FakeFolderFiles : public FolderFiles {
public:
    template <class T> using ByName = std::map<std::wstring, T, NoCaseLess>;

    struct Entry {
        std::uint32_t attributes = FILE_ATTRIBUTE_ARCHIVE;
        ByName<ByName<std::wstring>> sections;
        std::wstring content; // stands for the bytes, so that a copy can be told from an earlier one
    };

    // Switches that make a call fail with the error given.
    std::uint32_t fileExistError = 0;
    ByName<std::uint32_t> keyTestErrors; // by key name
    ByName<std::uint32_t> readStringErrors; // by key name
    ByName<std::uint32_t> readLongErrors; // by key name
    ByName<std::uint32_t> getAttributesErrors; // by path
    ByName<std::uint32_t> setAttributesErrors; // by path
    std::map<int, std::uint32_t> writeErrors; // by the write's number, the first being 1
    std::uint32_t copyError = 0;

    void addFolder(const std::wstring& path, std::uint32_t attributes = FILE_ATTRIBUTE_DIRECTORY)
    {
        entries_[path].attributes = attributes | FILE_ATTRIBUTE_DIRECTORY;
    }
    void addFile(const std::wstring& path, std::uint32_t attributes = FILE_ATTRIBUTE_ARCHIVE,
                 const std::wstring& content = L"")
    {
        Entry& entry = entries_[path];
        entry.attributes = attributes;
        entry.content = content;
    }
    void setValue(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                  const std::wstring& value)
    {
        entries_[path].sections[section][key] = value;
    }

    bool isFile(const std::wstring& path) const
    {
        const Entry* entry = find(path);
        return entry && (entry->attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    std::optional<std::uint32_t> attributesOf(const std::wstring& path) const
    {
        const Entry* entry = find(path);
        return entry ? std::optional(entry->attributes) : std::nullopt;
    }
    std::optional<std::wstring> contentOf(const std::wstring& path) const
    {
        const Entry* entry = find(path);
        return entry ? std::optional(entry->content) : std::nullopt;
    }
    bool hasSection(const std::wstring& path, const std::wstring& section) const
    {
        const Entry* entry = find(path);
        return entry && entry->sections.count(section) != 0;
    }
    std::optional<std::wstring> value(const std::wstring& path, const std::wstring& section,
                                      const std::wstring& key) const
    {
        const std::wstring* found = findValue(path, section, key);
        return found ? std::optional(*found) : std::nullopt;
    }

    std::vector<std::wstring> log() const
    {
        std::vector<std::wstring> lines;
        for (const auto& [path, line] : log_)
            lines.push_back(line);
        return lines;
    }
    // The logged changes asked of one path (a copy counts for its target).
    std::vector<std::wstring> changesTo(const std::wstring& path) const
    {
        std::vector<std::wstring> lines;
        for (const auto& [changed, line] : log_)
            if (!NoCaseLess()(changed, path) && !NoCaseLess()(path, changed))
                lines.push_back(line);
        return lines;
    }

    // The log's lines, for the expected logs.
    static std::wstring written(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                                const std::wstring& value)
    {
        return L"write " + path + L" [" + section + L"] " + key + L"=" + value;
    }
    static std::wstring deleted(const std::wstring& path, const std::wstring& section, const std::wstring& key)
    {
        return L"delete " + path + L" [" + section + L"] " + key;
    }
    static std::wstring deleted(const std::wstring& path, const std::wstring& section)
    {
        return L"delete " + path + L" [" + section + L"]";
    }
    static std::wstring attributesSet(const std::wstring& path, std::uint32_t attributes)
    {
        std::wstring hex;
        tsHexEx4(static_cast<std::int32_t>(attributes), hex);
        return L"attributes " + path + L" = " + hex;
    }
    static std::wstring copied(const std::wstring& source, const std::wstring& target)
    {
        return L"copy " + source + L" -> " + target;
    }

    TsStatus isFileExist(const std::wstring& path, bool& result) override
    {
        if (fileExistError)
            return TsStatus::failure(fileExistError);
        result = isFile(path);
        return {};
    }

    TsStatus readString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultText,
                        const std::wstring& path, std::wstring& result) override
    {
        if (const std::uint32_t error = errorFor(readStringErrors, key))
            return TsStatus::failure(error);
        const std::wstring* found = findValue(path, section, key);
        result = found ? *found : defaultText;
        return {};
    }

    // A value that is there but is no number fails, as it does in a real file.
    TsStatus readLong(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue,
                      const std::wstring& path, std::int32_t& result) override
    {
        if (const std::uint32_t error = errorFor(readLongErrors, key))
            return TsStatus::failure(error);
        const std::wstring* found = findValue(path, section, key);
        if (!found) {
            result = defaultValue;
            return {};
        }
        return tsParseLong(*found, result);
    }

    TsStatus isKeyExist(const std::wstring& section, const std::wstring& key, const std::wstring& path,
                        bool& result) override
    {
        if (const std::uint32_t error = errorFor(keyTestErrors, key))
            return TsStatus::failure(error);
        result = findValue(path, section, key) != nullptr;
        return {};
    }

    TsStatus writeINI(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                      const std::wstring& path) override
    {
        ++writes_;
        if (key && value)
            record(path, written(path, section, *key, *value));
        else if (key)
            record(path, deleted(path, section, *key));
        else if (!value)
            record(path, deleted(path, section));
        else
            return TsStatus::failure(ERROR_INVALID_PARAMETER);

        if (const auto failing = writeErrors.find(writes_); failing != writeErrors.end())
            return TsStatus::failure(failing->second);
        Entry* entry = find(path);
        if (entry && (entry->attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
            return TsStatus::failure(ERROR_ACCESS_DENIED);
        if (!value) {
            if (entry && !key)
                entry->sections.erase(section);
            else if (entry && entry->sections.count(section))
                entry->sections[section].erase(*key);
            return {};
        }
        entries_[path].sections[section][*key] = *value;
        return {};
    }

    TsStatus getAttributes(const std::wstring& path, std::uint32_t& result) override
    {
        if (const std::uint32_t error = errorFor(getAttributesErrors, path))
            return TsStatus::failure(error);
        const Entry* entry = find(path);
        if (!entry)
            return TsStatus::failure(ERROR_FILE_NOT_FOUND);
        result = entry->attributes;
        return {};
    }

    // The directory bit says what the entry is; setting attributes cannot change it.
    TsStatus setAttributes(const std::wstring& path, std::uint32_t attributes) override
    {
        record(path, attributesSet(path, attributes));
        if (const std::uint32_t error = errorFor(setAttributesErrors, path))
            return TsStatus::failure(error);
        Entry* entry = find(path);
        if (!entry)
            return TsStatus::failure(ERROR_FILE_NOT_FOUND);
        entry->attributes = (attributes & ~FILE_ATTRIBUTE_DIRECTORY) | (entry->attributes & FILE_ATTRIBUTE_DIRECTORY);
        return {};
    }

    TsStatus copyFile(const std::wstring& source, const std::wstring& target) override
    {
        record(target, copied(source, target));
        if (copyError)
            return TsStatus::failure(copyError);
        if (!isFile(source))
            return TsStatus::failure(ERROR_FILE_NOT_FOUND);
        if (isSame(source, target))
            return TsStatus::failure(ERROR_SHARING_VIOLATION);
        const Entry* existing = find(target);
        if (existing
            && (existing->attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
            return TsStatus::failure(ERROR_ACCESS_DENIED);
        const Entry copy = *find(source);
        entries_[target] = copy;
        return {};
    }

    TsStatus isSameFile(const std::wstring& first, const std::wstring& second, bool& result) override
    {
        result = isFile(first) && isFile(second) && isSame(first, second);
        return {};
    }

private:
    static bool isSame(const std::wstring& first, const std::wstring& second)
    {
        return !NoCaseLess()(first, second) && !NoCaseLess()(second, first);
    }
    static std::uint32_t errorFor(const ByName<std::uint32_t>& errors, const std::wstring& name)
    {
        const auto found = errors.find(name);
        return found == errors.end() ? 0 : found->second;
    }

    const Entry* find(const std::wstring& path) const
    {
        const auto found = entries_.find(path);
        return found == entries_.end() ? nullptr : &found->second;
    }
    Entry* find(const std::wstring& path)
    {
        const auto found = entries_.find(path);
        return found == entries_.end() ? nullptr : &found->second;
    }
    const std::wstring* findValue(const std::wstring& path, const std::wstring& section, const std::wstring& key) const
    {
        const Entry* entry = find(path);
        if (!entry)
            return nullptr;
        const auto keys = entry->sections.find(section);
        if (keys == entry->sections.end())
            return nullptr;
        const auto found = keys->second.find(key);
        return found == keys->second.end() ? nullptr : &found->second;
    }

    void record(const std::wstring& path, std::wstring line) { log_.emplace_back(path, std::move(line)); }

    ByName<Entry> entries_;
    std::vector<std::pair<std::wstring, std::wstring>> log_;
    int writes_ = 0;
};
