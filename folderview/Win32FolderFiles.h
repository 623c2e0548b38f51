#pragma once
#include "folderview/FolderFiles.h"

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
};
