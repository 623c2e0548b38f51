// The picture loader's thread, with stand-in decoders: no file is read.
#include "preview/PictureLoader.h"
#include "common/TestFiles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <new>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// What the newest request came to, once it comes (at most ten seconds).
DecodeResult outcome(PictureLoader& loader)
{
    DecodeResult result = DecodeResult::Decoded;
    DecodedPicture picture;
    for (int wait = 0; wait < 1000 && !loader.take(result, picture); ++wait)
        Sleep(10);
    return result;
}

TEST(PictureLoader, ADecoderThatThrowsIsAPictureThatCannotBeShown)
{
    PictureLoader loader({},
                         [](const std::wstring&, SIZE, DecodedPicture&) -> DecodeResult { throw std::bad_alloc(); });
    ASSERT_TRUE(loader.start(nullptr, WM_APP, L"a.png"));
    EXPECT_EQ(outcome(loader), DecodeResult::Undecodable);
}

// What the stand-in below saw: each path it decoded, on which thread, and the most
// decodings at once.
HANDLE release = nullptr;
std::vector<std::pair<std::wstring, DWORD>> decoded;
LONG running = 0, most = 0;

DecodeResult decodeOnRelease(const std::wstring& path, SIZE, DecodedPicture&)
{
    most = std::max(most, InterlockedIncrement(&running));
    WaitForSingleObject(release, INFINITE);
    decoded.emplace_back(path, GetCurrentThreadId());
    InterlockedDecrement(&running);
    return path == L"c" ? DecodeResult::Missing : DecodeResult::TooLarge;
}

// Paths asked for while one decodes wait for it on the same thread; of them only the
// newest is decoded.
TEST(PictureLoader, ANewerRequestOutdatesTheOlderAndOneDecodes)
{
    release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    PictureLoader loader({}, decodeOnRelease);
    for (const wchar_t* path : {L"a", L"b", L"c"})
        ASSERT_TRUE(loader.start(nullptr, WM_APP, path));
    SetEvent(release);
    EXPECT_EQ(outcome(loader), DecodeResult::Missing);
    ASSERT_FALSE(decoded.empty());
    EXPECT_EQ(decoded.back().first, L"c");
    for (const auto& [path, thread] : decoded)
        EXPECT_EQ(std::pair(path == L"b", thread), std::pair(false, decoded.front().second));
    EXPECT_EQ(most, 1);
}

// This process's threads, as the system lists them.
std::set<DWORD> threads()
{
    std::set<DWORD> found;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread = {};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread)) {
        if (thread.th32OwnerProcessID == GetCurrentProcessId())
            found.insert(thread.th32ThreadID);
    }
    CloseHandle(snapshot);
    return found;
}

// A thread function is stdcall in a 32-bit build, which a lambda's is not.
DWORD WINAPI releaseSoon(void*)
{
    Sleep(100);
    SetEvent(release);
    return 0;
}

// Alone in a program of its own, started by the test below: the program's end cannot
// be undone. Two windows go while one decodes and the other's thread waits its turn;
// the end waits for the decoding in hand, decodes nothing after it, and leaves no
// thread of theirs.
TEST(PictureLoader, DISABLED_TheProgramsEndJoinsEveryThread)
{
    release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const std::set<DWORD> before = threads();
    {
        PictureLoader first({}, decodeOnRelease), second({}, decodeOnRelease);
        ASSERT_TRUE(first.start(nullptr, WM_APP, L"a"));
        ASSERT_TRUE(second.start(nullptr, WM_APP, L"b"));
    }
    const HANDLE releaser = CreateThread(nullptr, 0, releaseSoon, nullptr, 0, nullptr);
    PictureLoader::stopDecoding();
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
    EXPECT_EQ(decoded.size(), 1u);
    EXPECT_EQ(threads(), before);
    PictureLoader late({}, decodeOnRelease);
    EXPECT_FALSE(late.start(nullptr, WM_APP, L"c"));
}

TEST(PictureLoader, TheProgramsEndJoinsEveryThread)
{
    EXPECT_EQ(runTestAlone(L"PictureLoader.DISABLED_TheProgramsEndJoinsEveryThread"), 0u);
}

} // namespace
