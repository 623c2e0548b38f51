#pragma once
#include "folderview/FolderFiles.h"

#include <cstdint>
#include <string>
#include <vector>

class Win32FolderFiles : public FolderFiles {
public:
    TsStatus isFileExist(const std::wstring& path, bool& result) override;
    TsStatus readString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultText,
                        const std::wstring& path, std::wstring& result) override;
    TsStatus readLong(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue,
                      const std::wstring& path, std::int32_t& result) override;
    TsStatus isKeyExist(const std::wstring& section, const std::wstring& key, const std::wstring& path,
                        bool& result) override;
    TsStatus writeINI(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                      const std::wstring& path) override;
    TsStatus getAttributes(const std::wstring& path, std::uint32_t& result) override;
    TsStatus setAttributes(const std::wstring& path, std::uint32_t attributes) override;
    TsStatus copyFile(const std::wstring& source, const std::wstring& target) override;
    TsStatus isSameFile(const std::wstring& first, const std::wstring& second, bool& result) override;
    TsStatus canRead(const std::wstring& path) override;
    TsStatus makeTempFile(const std::wstring& folder, std::wstring& path) override;
    TsStatus makeFile(const std::wstring& path) override;
    TsStatus moveFile(const std::wstring& from, const std::wstring& to) override;
    TsStatus replaceFile(const std::wstring& replacement, const std::wstring& replaced) override;
    TsStatus readFile(const std::wstring& path, std::string& result) override;
    TsStatus writeFile(const std::wstring& path, const std::string& bytes) override;
    TsStatus deleteFile(const std::wstring& path) override;
    TsStatus readSections(const std::string& bytes, std::vector<ProfileSection>& result) override;
    TsStatus freeSpace(const std::wstring& folder, std::uint64_t& bytes) override;
    TsStatus fullPath(const std::wstring& path, std::wstring& result) override;
};

// What tells one file from another: the volume and file index the system reports,
// and the full path.
struct FileIdentity {
    std::uint32_t volume = 0;
    std::uint64_t index = 0;
    std::wstring fullPath;
};

// Some file systems (some network servers among them) report the index 0 for every
// file: then only the full paths, compared without regard to case, tell.
bool isSameIdentity(const FileIdentity& first, const FileIdentity& second);
