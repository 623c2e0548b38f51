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
};
