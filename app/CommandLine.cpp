#include "app/CommandLine.h"

std::wstring commandArguments(const std::wstring& commandLine)
{
    std::size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        end = commandLine.find(L'"', 1);
        end = end == std::wstring::npos ? commandLine.size() : end + 1;
    } else {
        while (end < commandLine.size() && commandLine[end] != L' ' && commandLine[end] != L'\t')
            ++end;
    }
    return commandLine.substr(end);
}

std::vector<std::wstring> severalFolders(const std::wstring& arguments,
                                         const std::function<bool(const std::wstring&)>& isFolder)
{
    const auto blank = [&](std::size_t at) { return arguments[at] == L' ' || arguments[at] == L'\t'; };
    std::vector<std::wstring> folders;
    std::size_t at = 0;
    while (true) {
        while (at < arguments.size() && blank(at))
            ++at;
        if (at == arguments.size())
            break;
        const std::size_t close = arguments[at] == L'"' ? arguments.find(L'"', at + 1) : std::wstring::npos;
        if (close == std::wstring::npos || (close + 1 < arguments.size() && !blank(close + 1)))
            return {};
        folders.push_back(arguments.substr(at + 1, close - at - 1));
        if (!isFolder(folders.back()))
            return {};
        at = close + 1;
    }
    return folders.size() > 1 ? folders : std::vector<std::wstring> {};
}
