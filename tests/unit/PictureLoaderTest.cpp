// The picture loader's thread, with stand-in decoders: no file is read.
#include "preview/PictureLoader.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <new>
#include <string>
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

} // namespace

TEST(PictureLoader, ADecoderThatThrowsIsAPictureThatCannotBeShown)
{
    PictureLoader loader([](const std::wstring&, DecodedPicture&) -> DecodeResult { throw std::bad_alloc(); });
    ASSERT_TRUE(loader.start(nullptr, WM_APP, L"a.png"));
    EXPECT_EQ(outcome(loader), DecodeResult::Undecodable);
}

// Paths asked for while one decodes wait for it on the same thread; of them only the
// newest is decoded.
TEST(PictureLoader, ANewerRequestOutdatesTheOlderAndOneDecodes)
{
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<std::wstring> decoded;
    std::vector<DWORD> threads;
    LONG running = 0, most = 0;
    {
        PictureLoader loader([&](const std::wstring& path, DecodedPicture&) {
            most = std::max(most, InterlockedIncrement(&running));
            WaitForSingleObject(release, INFINITE);
            decoded.push_back(path);
            threads.push_back(GetCurrentThreadId());
            InterlockedDecrement(&running);
            return path == L"c" ? DecodeResult::Missing : DecodeResult::TooLarge;
        });
        for (const wchar_t* path : {L"a", L"b", L"c"})
            ASSERT_TRUE(loader.start(nullptr, WM_APP, path));
        SetEvent(release);
        EXPECT_EQ(outcome(loader), DecodeResult::Missing);
    }
    EXPECT_EQ(decoded.back(), L"c");
    EXPECT_EQ(std::count(decoded.begin(), decoded.end(), L"b"), 0);
    EXPECT_EQ(most, 1);
    EXPECT_EQ(std::count(threads.begin(), threads.end(), threads.front()), static_cast<long>(threads.size()));
    CloseHandle(release);
}
