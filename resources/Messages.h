#pragma once
#include "resources/Texts.h"

#include <string>

// The messages made of a text and values, in the interface's language.

// A message about a path (a folder, a file): the path, then what is said of it, and
// why when that is told apart.
inline std::wstring aboutPath(const std::wstring& path, const std::wstring& text, const std::wstring& why = L"")
{
    return path + L"\r\n\r\n" + text + (why.empty() ? L"" : L" " + why);
}

// A line of the settings file that the system's writer would change: it is named as
// the file spells it, cut to fit a message, with control characters made visible.
inline std::wstring aboutChangedLine(const std::wstring& line)
{
    constexpr std::size_t kShown = 60;
    std::wstring shown = line.substr(0, kShown);
    for (wchar_t& c : shown) {
        if (c < L' ')
            c = L'·';
    }
    return fillText(kChangedLine, {shown + (line.size() > kShown ? L"…" : L"")});
}

// A refused value, named by its key in the settings file.
inline std::wstring aboutKey(const std::wstring& key, const std::wstring& why)
{
    return fillText(kRefusedKey, {key, why}) + L"\r\n\r\n" + kNotSaved;
}

inline std::wstring previewPictureTooLarge(unsigned long width, unsigned long height, const std::wstring& path)
{
    return fillText(kPreviewPictureTooLarge, {tsDecimal(width), tsDecimal(height), path});
}

inline std::wstring unfinishedQuestion(const std::wstring& command, const std::wstring& when,
                                       const std::wstring& folders)
{
    return fillText(kUnfinishedQuestion, {command, when, folders});
}

inline std::wstring foldersCount(std::size_t count)
{
    return kFoldersCount(count);
}

inline std::wstring cloudFolderNote(const std::wstring& client)
{
    return fillText(kCloudFolderNote, {client});
}

inline std::wstring cloudFoldersNote(std::size_t count, const std::wstring& clients)
{
    return fillText(kCloudFoldersNote, {foldersCount(count), clients});
}

inline std::wstring batchAccount(std::size_t done, std::size_t total, std::size_t failed)
{
    return fillText(kBatchAccount, {tsDecimal(done), tsDecimal(total), tsDecimal(failed)});
}

inline std::wstring batchProgress(std::size_t place, std::size_t total, const std::wstring& folder)
{
    return fillText(kBatchProgress, {tsDecimal(place), tsDecimal(total), folder});
}
