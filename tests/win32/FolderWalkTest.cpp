#include "batch/FolderWalk.h"
#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

// Wine lets a Windows program make neither a junction nor a name that Windows refuses;
// a Unix tool can, and Wine shows what it made as Windows shows such entries: a link to
// a folder as a reparse point, a name with "?" as a folder that cannot be opened.
class FolderWalk : public testing::Test {
protected:
    void TearDown() override { runUnixTool(L"rm -rf \"" + unixRoot() + L"\"", root.path(), false); }

    std::wstring unixRoot() const
    {
        using UnixFileName = char* CDECL(const wchar_t*);
        const auto convert = reinterpret_cast<UnixFileName*>(
            reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        char* path = convert ? convert(root.path().c_str()) : nullptr;
        if (!path)
            throw systemError("wine_get_unix_file_name", root.path());
        const int length = static_cast<int>(std::strlen(path));
        std::wstring result(length, L'\0');
        result.resize(MultiByteToWideChar(CP_UTF8, 0, path, length, result.data(), length));
        HeapFree(GetProcessHeap(), 0, path);
        return result;
    }

    // Wine does not wait for a Unix process: the test waits until made appears (or goes).
    static void runUnixTool(const std::wstring& command, const std::wstring& made, bool appears)
    {
        std::wstring line = L"Z:\\bin\\" + command;
        STARTUPINFOW startup {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process {};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            throw systemError("CreateProcessW", line);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        for (int tries = 0; tries < 200 && (GetFileAttributesW(made.c_str()) != INVALID_FILE_ATTRIBUTES) != appears;
             ++tries)
            Sleep(25);
    }

    TempFolder root;
    const std::atomic<bool> go {false};
};

// A link back to the top would make the walk endless; a path past 260 characters needs
// the system's long form, yet comes back as the user spells it.
TEST_F(FolderWalk, ListsEachFolderOnceParentsFirst)
{
    const std::wstring longName(120, L'ф');
    const std::vector<std::wstring> made = {root.at(L"a"), root.at(L"a\\b"), root.at(longName),
                                            root.at(longName + L"\\" + longName)};
    for (const std::wstring& folder : made)
        makeFolder(L"\\\\?\\" + folder);
    runUnixTool(L"ln -s \"" + unixRoot() + L"\" \"" + unixRoot() + L"/a/b/up\"", root.at(L"a\\b\\up"), true);

    const Subfolders found = listSubfolders(root.path(), go);
    EXPECT_TRUE(found.unreadable.empty());
    for (auto folder = found.folders.begin(); folder != found.folders.end(); ++folder) {
        const std::wstring parent = folder->substr(0, folder->rfind(L'\\'));
        EXPECT_TRUE(parent == root.path() || std::find(found.folders.begin(), folder, parent) != folder);
    }
    std::vector<std::wstring> sorted = found.folders;
    std::ranges::sort(sorted);
    EXPECT_EQ(sorted, made);
    EXPECT_EQ(listSubfolders(L"\\\\?\\" + root.path() + L"\\", go).folders, found.folders);
}

// What cannot be entered is told, and the walk goes on beside it.
TEST_F(FolderWalk, TellsWhatItCannotEnter)
{
    makeFolder(root.at(L"a"));
    runUnixTool(L"mkdir -p \"" + unixRoot() + L"/why?/below\" \"" + unixRoot() + L"/b\"", root.at(L"b"), true);

    Subfolders found = listSubfolders(root.path(), go);
    std::ranges::sort(found.folders);
    EXPECT_EQ(found.folders, (std::vector {root.at(L"a"), root.at(L"b")}));
    EXPECT_EQ(found.unreadable, std::vector {root.at(L"why?")});
    EXPECT_EQ(listSubfolders(root.at(L"нет"), go).unreadable, std::vector {root.at(L"нет")});
    const std::atomic<bool> stop {true};
    EXPECT_TRUE(listSubfolders(root.path(), stop).folders.empty());
}

} // namespace
