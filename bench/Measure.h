#pragma once
// What the benchmark probes measure with: a clock, the median and percentiles, the RUNS
// argument, a settings file as a folder customised earlier holds it, and a folder of
// the probe's own to work in and clear again.
#include "support/Handles.h"
#include "undo/Win32JournalStore.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

inline double millisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The value below which percent of the values lie (nearest rank).
inline double percentile(std::vector<double> values, int percent)
{
    std::sort(values.begin(), values.end());
    const std::size_t rank = (values.size() * static_cast<std::size_t>(percent) + 99) / 100;
    return values[rank == 0 ? 0 : rank - 1];
}

// The number of runs from the command line; 0 (after saying why) when it is no positive number.
inline long runsArgument(const wchar_t* text)
{
    const long runs = std::wcstol(text, nullptr, 10);
    if (runs < 1)
        std::fwprintf(stderr, L"RUNS must be a positive number\n");
    return runs < 1 ? 0 : runs;
}

// RUNS, the one argument of a probe that takes nothing else; 0, after saying how to
// call the probe, when it is missing or no positive number.
inline long onlyRunsArgument(int argc, wchar_t** argv, const wchar_t* probe)
{
    if (argc == 2)
        return runsArgument(argv[1]);
    std::fwprintf(stderr, L"Usage: %ls RUNS\n", probe);
    return 0;
}

// Our sections, as an earlier Apply left them, padded with another program's to 1 KiB.
inline std::string oneKiBFile()
{
    std::string text = "[ExtShellFolderViews]\r\n"
                       "{BE098140-A513-11D0-A3A4-00C04FD706EC}={BE098140-A513-11D0-A3A4-00C04FD706EC}\r\n"
                       "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
                       "Attributes=1\r\n"
                       "IconArea_Image=sea.jpg\r\n"
                       "IconArea_Text=0x00FFFFFF\r\n"
                       "IconArea_TextBackground=0x00804000\r\n"
                       "[.ShellClassInfo]\r\n"
                       "ConfirmFileOp=0\r\n"
                       "[Other]\r\n";
    for (int key = 0; text.size() < 1024 - 40; ++key)
        text += "Entry" + std::to_string(key) + "=value of another program's setting\r\n";
    return text;
}

// Writes the file as if saved an hour ago, as a folder customised earlier would hold it.
// The age matters under Wine: it re-reads a profile file on every call while the file
// is under about two seconds old, and keeps a parsed copy of an older one.
inline bool writeOldFile(const std::wstring& path, const std::string& content)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    const FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time {{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= 3600ull * 10000000ull;
    const FILETIME hourAgo = {time.LowPart, time.HighPart};
    DWORD written = 0;
    return file && WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr)
        && written == content.size() && SetFileTime(file.get(), nullptr, nullptr, &hourAgo);
}

// A new folder of the probe's own in the temporary folder, named for the process; empty,
// after saying why, when it cannot be made.
inline std::wstring makeProbeFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp, length < MAX_PATH ? length : 0) + name + std::to_wstring(GetCurrentProcessId());
    if (length == 0 || length >= MAX_PATH || !CreateDirectoryW(folder.c_str(), nullptr)) {
        std::fwprintf(stderr, L"cannot make %ls, error %lu\n", folder.c_str(), GetLastError());
        return L"";
    }
    return folder;
}

// Deletes a folder that Apply changed, with its settings file: Apply made the file
// hidden and system and the folder read-only.
inline void removeAppliedFolder(const std::wstring& folder)
{
    const std::wstring settings = folder + L"\\Desktop.INI";
    SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(settings.c_str());
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
}

// Deletes a journal's folder that a probe wrote to, with its entries.
inline void removeJournalStore(const std::wstring& root)
{
    Win32JournalStore store(root);
    std::vector<JournalStore::Entry> entries;
    if (store.list(entries)) {
        for (const JournalStore::Entry& entry : entries)
            (void)store.remove(entry.id);
    }
    RemoveDirectoryW(root.c_str());
}
