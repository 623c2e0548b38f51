#include "support/tsPath.h"

namespace {

bool isSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// "C:" at the start of a path names a drive; a colon anywhere else is part of a name.
bool startsWithDrive(const std::wstring& path)
{
    return path.size() >= 2 && path[1] == L':'
        && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

// "\\?\", "\\.\" or "\??\", once forward slashes are backslashes.
bool startsWithDevicePrefix(const std::wstring& path)
{
    return path.size() >= 4 && path[0] == L'\\' && path[3] == L'\\'
        && ((path[1] == L'\\' && (path[2] == L'?' || path[2] == L'.')) || (path[1] == L'?' && path[2] == L'?'));
}

// Index just past the folder part: after the last separator, or after "X:" in "X:name".
std::size_t fileNameStart(const std::wstring& path)
{
    std::size_t pos = path.size();
    while (pos > 0 && !isSeparator(path[pos - 1]) && !(pos == 2 && startsWithDrive(path)))
        --pos;
    return pos;
}

} // namespace

TsStatus tsBuildFileName(const std::wstring& folder, const std::wstring& fileName, std::wstring& result)
{
    std::size_t skip = 0;
    while (skip < fileName.size() && isSeparator(fileName[skip]))
        ++skip;
    if (skip == fileName.size() || folder.empty())
        return TsStatus::failure(TsStatus::kInvalidName);
    std::wstring joined = folder;
    while (!joined.empty() && isSeparator(joined.back()))
        joined.pop_back();
    joined += L'\\';
    joined.append(fileName, skip, std::wstring::npos);
    result = std::move(joined);
    return {};
}

TsStatus tsGetFileName(const std::wstring& path, std::wstring& result)
{
    result = path.substr(fileNameStart(path));
    return {};
}

TsStatus tsGetFilePath(const std::wstring& path, std::wstring& result)
{
    std::wstring folder = path.substr(0, fileNameStart(path));
    // Keep the backslash of a root ("C:\", "\"), drop any other trailing one.
    if (folder.size() > 1 && isSeparator(folder.back()) && !(folder.size() == 3 && startsWithDrive(folder)))
        folder.pop_back();
    result = std::move(folder);
    return {};
}

TsStatus tsRemoveBackslash(const std::wstring& path, std::wstring& result)
{
    std::wstring trimmed = path;
    while (!trimmed.empty() && isSeparator(trimmed.back()))
        trimmed.pop_back();
    result = std::move(trimmed);
    return {};
}

TsStatus tsPlainPath(const std::wstring& path, std::wstring& result)
{
    std::wstring plain = path;
    for (wchar_t& c : plain) {
        if (c == L'/')
            c = L'\\';
    }
    while (startsWithDevicePrefix(plain)) {
        const std::wstring rest = plain.substr(4);
        if (rest.size() >= 4 && (rest[0] | 0x20) == L'u' && (rest[1] | 0x20) == L'n' && (rest[2] | 0x20) == L'c'
            && rest[3] == L'\\')
            plain = L"\\\\" + rest.substr(4);
        else if (startsWithDrive(rest) || startsWithDevicePrefix(rest))
            plain = rest; // a drive, or another prefix
        else
            break;
    }
    result = std::move(plain);
    return {};
}

TsStatus tsIsRelativePath(const std::wstring& path, bool& result)
{
    result = !startsWithDrive(path) && !(!path.empty() && isSeparator(path[0]));
    return {};
}
