#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/SettingsFormat.h"
#include "support/tsAnsi.h"
#include "support/tsText.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A folder in memory, for the failures and attribute bits that real files under Wine
// cannot show. Settings files are held as text and edited as the profile writer edits
// them (the first section of a name, one copy at a time), so what is saved can be
// loaded. Writes, attribute changes, copies and renames are logged in call order, and
// the file each profile write went to in profilePaths; a call whose log line, or
// "exist PATH", "read KEY", "open PATH" or "temp FOLDER", is in errors fails with that
// error, and a write whose log line is in shortWrites reports success but cuts the
// file's last line.
class FakeFolderFiles : public FolderFiles {
public:
    std::map<std::wstring, std::wstring> texts; // settings files by path, lines ending in "\r\n"
    std::map<std::wstring, std::uint32_t> attributes; // by path; a path without entry does not exist
    std::map<std::wstring, std::uint32_t> errors;
    std::vector<std::wstring> shortWrites;
    std::vector<std::wstring> log;
    std::vector<std::wstring> profilePaths;
    bool unicode = false; // whether the settings files are UTF-16
    std::uint64_t freeBytes = 1 << 30;
    std::wstring currentFolder = L"C:\\Текущий";
    int temps = 0;

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
    TsStatus readString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultText,
                        const std::wstring& path, std::wstring& result) override
    {
        result = find(section, key, path).value_or(defaultText);
        return check(L"read " + key);
    }
    TsStatus readLong(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue,
                      const std::wstring& path, std::int32_t& result) override
    {
        result = defaultValue;
        const auto value = find(section, key, path);
        const TsStatus status = check(L"read " + key);
        return status && value ? tsParseLong(*value, result) : status;
    }
    TsStatus isKeyExist(const std::wstring& section, const std::wstring& key, const std::wstring& path,
                        bool& result) override
    {
        result = find(section, key, path).has_value();
        return check(L"test " + key);
    }
    // Creates the file, but is refused on a read-only one, as Windows does.
    TsStatus writeINI(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                      const std::wstring& path) override
    {
        log.push_back((value ? L"write [" : L"delete [") + section + L"]" + (key ? L" " + *key : L"")
                      + (value ? L"=" + *value : L""));
        profilePaths.push_back(path);
        if (attributes[path] & FILE_ATTRIBUTE_READONLY)
            return TsStatus::failure(ERROR_ACCESS_DENIED);
        if (const TsStatus status = check(log.back()); !status)
            return status;
        edit(texts[path], section, key, value);
        if (std::count(shortWrites.begin(), shortWrites.end(), log.back()))
            texts[path].erase(texts[path].rfind(L"\r\n", texts[path].size() - 3) + 2);
        return {};
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
        if (attributes.count(target) && (attributes[target] & kAttrReadOnly))
            return TsStatus::failure(ERROR_ACCESS_DENIED);
        if (const TsStatus status = check(log.back()); !status)
            return status;
        attributes.try_emplace(target, kAttrNormal);
        return {};
    }
    TsStatus isSameFile(const std::wstring& first, const std::wstring& second, bool& result) override
    {
        result = first == second && attributes.count(first);
        return {};
    }
    TsStatus canRead(const std::wstring& path) override
    {
        if (!attributes.count(path))
            return TsStatus::failure(ERROR_FILE_NOT_FOUND);
        return check(L"open " + path);
    }
    // Temporary files are numbered "~1.tmp", "~2.tmp", … in the folder.
    TsStatus makeTempFile(const std::wstring& folder, std::wstring& path) override
    {
        path = folder + L"\\~" + std::to_wstring(++temps) + L".tmp";
        log.push_back(L"temp " + path);
        const TsStatus status = check(L"temp " + folder);
        if (status)
            attributes[path] = kAttrHidden;
        return status;
    }
    TsStatus makeFile(const std::wstring& path) override
    {
        log.push_back(L"make " + path);
        if (attributes.count(path))
            return TsStatus::failure(ERROR_FILE_EXISTS);
        if (const TsStatus status = check(log.back()); !status)
            return status;
        attributes[path] = kAttrHidden;
        return {};
    }
    // As Windows, which will not replace a read-only file.
    TsStatus moveFile(const std::wstring& from, const std::wstring& to) override
    {
        log.push_back(L"move " + from + L" > " + to);
        if (attributes.count(to) && (attributes[to] & kAttrReadOnly))
            return TsStatus::failure(ERROR_ACCESS_DENIED);
        if (const TsStatus status = check(log.back()); !status)
            return status;
        attributes[to] = attributes[from];
        attributes.erase(from);
        return {};
    }
    // As Windows: the replaced file's attributes stay, and a read-only one is refused.
    TsStatus replaceFile(const std::wstring& replacement, const std::wstring& replaced) override
    {
        log.push_back(L"replace " + replacement + L" > " + replaced);
        if (!attributes.count(replacement))
            return TsStatus::failure(ERROR_FILE_NOT_FOUND);
        if (attributes.count(replaced) && (attributes[replaced] & kAttrReadOnly))
            return TsStatus::failure(ERROR_ACCESS_DENIED);
        if (const TsStatus status = check(log.back()); !status)
            return status;
        attributes.try_emplace(replaced, attributes[replacement]);
        attributes.erase(replacement);
        texts[replaced] = texts[replacement];
        texts.erase(replacement);
        return {};
    }
    TsStatus readFile(const std::wstring& path, std::string& result) override
    {
        const std::wstring& text = texts[path];
        if (unicode)
            result = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
        return unicode ? TsStatus() : tsToAnsi(text, result);
    }
    TsStatus writeFile(const std::wstring& path, const std::string& bytes) override
    {
        log.push_back(L"fill " + path);
        if (const TsStatus status = check(log.back()); !status)
            return status;
        texts[path] = textOf(bytes);
        return {};
    }
    TsStatus deleteFile(const std::wstring& path) override
    {
        log.push_back(L"delete " + path);
        texts.erase(path);
        attributes.erase(path);
        return {};
    }
    // Each header's name with the lines under it: the fake's files hold no section twice.
    TsStatus readSections(const std::string& bytes, std::vector<ProfileSection>& result) override
    {
        result.clear();
        for (const std::wstring& line : linesOf(textOf(bytes))) {
            if (line.starts_with(L"["))
                result.push_back({line.substr(1, line.size() - 2), {}});
            else if (!result.empty() && !line.empty())
                result.back().lines.push_back(line);
        }
        return {};
    }
    TsStatus freeSpace(const std::wstring&, std::uint64_t& bytes) override
    {
        bytes = freeBytes;
        return {};
    }
    TsStatus fullPath(const std::wstring& path, std::wstring& result) override
    {
        result = path == L"." ? currentFolder : path == L".." ? currentFolder.substr(0, 3) : path;
        return {};
    }

private:
    std::wstring textOf(const std::string& bytes) const
    {
        std::wstring text;
        if (unicode && bytes.size() >= 2)
            text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
        else if (!unicode)
            (void)tsFromAnsi(bytes, text); // code page 1251 reads every byte
        return text;
    }
    TsStatus check(const std::wstring& line) const
    {
        return errors.count(line) ? TsStatus::failure(errors.at(line)) : TsStatus();
    }
    // The key's value in the first section of that name, read as plain text: the fake
    // writes "key=value" lines under "[section]" headers.
    std::optional<std::wstring> find(const std::wstring& section, const std::wstring& key, const std::wstring& path)
    {
        const std::vector<std::wstring> lines = linesOf(texts[path]);
        auto line = std::find_if(lines.begin(), lines.end(), [&](auto& l) { return same(l, L"[" + section + L"]"); });
        while (line != lines.end() && ++line != lines.end() && !line->starts_with(L"[")) {
            if (const std::size_t equals = line->find(L'=');
                equals != std::wstring::npos && same(line->substr(0, equals), key))
                return line->substr(equals + 1);
        }
        return std::nullopt;
    }
    static bool same(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }
    static std::vector<std::wstring> linesOf(const std::wstring& text)
    {
        std::vector<std::wstring> lines;
        for (std::size_t start = 0; start < text.size(); start = text.find(L"\r\n", start) + 2)
            lines.push_back(text.substr(start, text.find(L"\r\n", start) - start));
        return lines;
    }
    // The profile writer's edit: in the first section of the name, the key set in place
    // or added at the section's end, or deleted; or that whole section deleted.
    static void edit(std::wstring& text, const std::wstring& section, const std::wstring* key,
                     const std::wstring* value)
    {
        std::vector<std::wstring> lines = linesOf(text);
        auto header = std::find_if(lines.begin(), lines.end(), [&](auto& l) { return same(l, L"[" + section + L"]"); });
        auto end = header == lines.end()
            ? header
            : std::find_if(header + 1, lines.end(), [](auto& l) { return l.starts_with(L"["); });
        auto line = std::find_if(header, end, [&](auto& l) { return key && same(l.substr(0, l.find(L'=')), *key); });
        if (!key && header != lines.end())
            lines.erase(header, end);
        else if (!value && line != end)
            lines.erase(line);
        else if (value && line != end)
            *line = *key + L"=" + *value;
        else if (value && header != lines.end())
            lines.insert(end, *key + L"=" + *value);
        else if (value)
            lines.insert(lines.end(), {L"[" + section + L"]", *key + L"=" + *value});
        text.clear();
        for (const std::wstring& l : lines)
            text += l + L"\r\n";
    }
};
