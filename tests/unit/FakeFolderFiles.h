#pragma once
#include "folderview/FolderFiles.h"
#include "support/tsText.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// A folder in memory, for the failures and attribute bits that real files under Wine
// cannot show. The settings file's keys are held by name, all in one section. Writes,
// attribute changes and copies are logged in call order; a call whose log line, or
// "exist PATH", "test KEY" or "read KEY", is in errors fails with that error.
class FakeFolderFiles : public FolderFiles {
public:
    std::map<std::wstring, std::wstring> values;
    std::map<std::wstring, std::uint32_t> attributes; // by path; a path without entry does not exist
    std::map<std::wstring, std::uint32_t> errors;
    std::vector<std::wstring> log;

    static std::wstring attributesLine(const std::wstring& path, std::uint32_t value)
    {
        return L"attributes " + path + L" = " + std::to_wstring(value);
    }
    bool logged(const std::wstring& start) const
    {
        return std::any_of(log.begin(), log.end(), [&](const std::wstring& line) { return line.starts_with(start); });
    }

    TsStatus isFileExist(const std::wstring& path, bool& result) override
    {
        result = attributes.count(path) != 0;
        return check(L"exist " + path);
    }
    TsStatus readString(const std::wstring&, const std::wstring& key, const std::wstring& defaultText,
                        const std::wstring&, std::wstring& result) override
    {
        result = values.count(key) ? values[key] : defaultText;
        return check(L"read " + key);
    }
    TsStatus readLong(const std::wstring&, const std::wstring& key, std::int32_t defaultValue, const std::wstring&,
                      std::int32_t& result) override
    {
        result = defaultValue;
        const TsStatus status = check(L"read " + key);
        return status && values.count(key) ? tsParseLong(values[key], result) : status;
    }
    TsStatus isKeyExist(const std::wstring&, const std::wstring& key, const std::wstring&, bool& result) override
    {
        result = values.count(key) != 0;
        return check(L"test " + key);
    }
    // Creates the file, but is refused on a read-only one, as Windows does.
    TsStatus writeINI(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                      const std::wstring& path) override
    {
        log.push_back((value ? L"write [" : L"delete [") + section + L"]" + (key ? L" " + *key : L"")
                      + (value ? L"=" + *value : L""));
        return attributes[path] & FILE_ATTRIBUTE_READONLY ? TsStatus::failure(ERROR_ACCESS_DENIED) : check(log.back());
    }
    TsStatus getAttributes(const std::wstring& path, std::uint32_t& result) override
    {
        result = attributes.count(path) ? attributes[path] : 0;
        return attributes.count(path) ? TsStatus() : TsStatus::failure(ERROR_FILE_NOT_FOUND);
    }
    TsStatus setAttributes(const std::wstring& path, std::uint32_t value) override
    {
        log.push_back(attributesLine(path, value));
        const TsStatus status = attributes.count(path) ? check(log.back()) : TsStatus::failure(ERROR_FILE_NOT_FOUND);
        if (status)
            attributes[path] = value;
        return status;
    }
    TsStatus copyFile(const std::wstring& source, const std::wstring& target) override
    {
        log.push_back(L"copy " + source + L" > " + target);
        if (!attributes.count(source))
            return TsStatus::failure(ERROR_FILE_NOT_FOUND);
        // As Windows, which will not replace a hidden or read-only file.
        if (attributes.count(target) && (attributes[target] & (kAttrHidden | kAttrReadOnly)))
            return TsStatus::failure(ERROR_ACCESS_DENIED);
        attributes[target] = kAttrNormal;
        return {};
    }
    TsStatus isSameFile(const std::wstring& first, const std::wstring& second, bool& result) override
    {
        result = first == second && attributes.count(first);
        return {};
    }

private:
    TsStatus check(const std::wstring& line) const
    {
        return errors.count(line) ? TsStatus::failure(errors.at(line)) : TsStatus();
    }
};
