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
