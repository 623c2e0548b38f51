#include "undo/FolderRecord.h"

std::uint64_t hashBytes(const void* data, std::size_t size, std::uint64_t seed)
{
    // FNV-1a: enough to notice damage and edits; nothing here guards against forgery,
    // which needs the user's own rights over the store anyway.
    std::uint64_t hash = seed;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

std::wstring comparablePath(const std::wstring& path)
{
    std::wstring result = path;
    for (wchar_t& c : result) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return result;
}
