#pragma once
#include "support/TsStatus.h"
#include "support/tsProfile.h"

#include <cstdint>
#include <string>
#include <vector>

// Everything the folder view logic asks of the file system, behind one interface so
// that tests can force the failures and file attributes that Wine cannot produce.
// Win32FolderFiles is the real one.
class FolderFiles {
public:
    virtual ~FolderFiles() = default;

    virtual TsStatus isFileExist(const std::wstring& path, bool& result) = 0;
    virtual TsStatus readString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultText,
                                const std::wstring& path, std::wstring& result) = 0;
    virtual TsStatus readLong(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue,
                              const std::wstring& path, std::int32_t& result) = 0;
    virtual TsStatus isKeyExist(const std::wstring& section, const std::wstring& key, const std::wstring& path,
                                bool& result) = 0;

    // A null value deletes the key; a null key and value delete the section.
    virtual TsStatus writeINI(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                              const std::wstring& path) = 0;
    virtual TsStatus getAttributes(const std::wstring& path, std::uint32_t& result) = 0;
    virtual TsStatus setAttributes(const std::wstring& path, std::uint32_t attributes) = 0;
    // The source's bytes written over target's, which keeps its hidden and system bits.
    virtual TsStatus copyFile(const std::wstring& source, const std::wstring& target) = 0;
    // Whether both paths name one existing file, however each is spelt.
    virtual TsStatus isSameFile(const std::wstring& first, const std::wstring& second, bool& result) = 0;
    // Whether the file opens for reading, as a copy opens its source.
    virtual TsStatus canRead(const std::wstring& path) = 0;
    // A new empty hidden file of a name no other file has, in folder: where a copy is
    // written before it takes its own name.
    virtual TsStatus makeTempFile(const std::wstring& folder, std::wstring& path) = 0;
    // A new empty hidden file at path, where nothing is (ERROR_FILE_EXISTS otherwise): a
    // temporary file whose name was chosen, and recorded, before it is made.
    virtual TsStatus makeFile(const std::wstring& path) = 0;
    // Renames from to to in one step, replacing a file at to that is not read-only.
    virtual TsStatus moveFile(const std::wstring& from, const std::wstring& to) = 0;
    // Puts replacement in replaced's place in one step, keeping replaced's attributes and,
    // where the file system has them, its security, short name and streams; when replaced
    // does not exist it is a plain rename. A read-only replaced is refused. A failure
    // leaves replacement under its own name and replaced as it was, but where the system
    // had already taken replaced from its name (Win32FolderFiles says when).
    virtual TsStatus replaceFile(const std::wstring& replacement, const std::wstring& replaced) = 0;

    // The whole file as it is on disk, and its replacement by bytes, which must all be
    // written (a hidden or system file keeps those bits): what fills a copy's temporary
    // file, and what puts a file back as it was.
    virtual TsStatus readFile(const std::wstring& path, std::string& result) = 0;
    virtual TsStatus writeFile(const std::wstring& path, const std::string& bytes) = 0;
    virtual TsStatus deleteFile(const std::wstring& path) = 0;
    // What the system's profile reader reads from a settings file of these bytes.
    virtual TsStatus readSections(const std::string& bytes, std::vector<ProfileSection>& result) = 0;
    // The room left for the caller on the volume that holds the folder.
    virtual TsStatus freeSpace(const std::wstring& folder, std::uint64_t& bytes) = 0;
    // The path made full as the system resolves it, for a relative folder such as ".".
    virtual TsStatus fullPath(const std::wstring& path, std::wstring& result) = 0;
};
