// The picture loader's thread, with stand-in decoders: no file is read.
#include "preview/PictureLoader.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <new>
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

} // namespace
