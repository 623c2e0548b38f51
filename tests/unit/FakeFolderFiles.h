#pragma once
#include "folderview/FolderFiles.h"
#include "support/tsText.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// One folder's Desktop.INI in memory, for the failures and attribute bits that real files
// under Wine cannot show. Changes are logged in call order; a call whose log line, or
// "exist", "test KEY" or "read KEY", is in errors fails with that error.
class FakeFolderFiles : public FolderFiles {
public:
    std::map<std::wstring, std::wstring> values; // by key, all in one section
    std::map<std::wstring, std::uint32_t> attributes; // by path; a path without entry does not exist
    std::map<std::wstring, std::uint32_t> errors;
    std::vector<std::wstring> log;

    static std::wstring attributesLine(const std::wstring& path, std::uint32_t value)
    {
        std::wstring hex;
        tsHexEx4(static_cast<std::int32_t>(value), hex);
        return L"attributes " + path + L" = " + hex;
    }

    TsStatus isFileExist(const std::wstring& path, bool& result) override
    {
        result = attributes.count(path) != 0;
        return check(L"exist");
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
        std::wstring line = (value ? L"write [" : L"delete [") + section + L"]";
        if (key)
            line += L" " + *key + (value ? L"=" + *value : L"");
        log.push_back(line);
        if (attributes[path] & FILE_ATTRIBUTE_READONLY)
            return TsStatus::failure(ERROR_ACCESS_DENIED);
        return check(line);
    }
    TsStatus getAttributes(const std::wstring& path, std::uint32_t& result) override
    {
        if (!attributes.count(path))
            return TsStatus::failure(ERROR_FILE_NOT_FOUND);
        result = attributes[path];
        return {};
    }
    TsStatus setAttributes(const std::wstring& path, std::uint32_t value) override
    {
        log.push_back(attributesLine(path, value));
        if (!attributes.count(path))
            return TsStatus::failure(ERROR_FILE_NOT_FOUND);
        attributes[path] = value;
        return {};
    }
    TsStatus copyFile(const std::wstring&, const std::wstring&) override
    {
        return TsStatus::failure(ERROR_NOT_SUPPORTED);
    }
    TsStatus isSameFile(const std::wstring&, const std::wstring&, bool&) override { return copyFile({}, {}); }

private:
    TsStatus check(const std::wstring& line) const
    {
        return errors.count(line) ? TsStatus::failure(errors.at(line)) : TsStatus();
    }
};
