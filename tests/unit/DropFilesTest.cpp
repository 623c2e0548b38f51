// A drop's list of paths, read within its block however the block lies.
#include "support/ShellFunctions.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A DROPFILES header with its list at list, then the bytes of names.
std::string dropBlock(DWORD list, bool wide, const std::string& names)
{
    DROPFILES header = {list, {}, FALSE, wide};
    return std::string(reinterpret_cast<const char*>(&header), sizeof header) + names;
}

std::string wideNames(const std::wstring& names)
{
    return {reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t)};
}

// The block at the very end of a page, with one that no one may read right after it:
// a read past the block is an access violation, which ends the test program.
class GuardedBlock {
public:
    explicit GuardedBlock(const std::string& bytes)
        : pages_(static_cast<char*>(VirtualAlloc(nullptr, 2 * kPage, MEM_COMMIT, PAGE_READWRITE)))
    {
        DWORD old = 0;
        VirtualProtect(pages_ + kPage, kPage, PAGE_NOACCESS, &old);
        block_ = pages_ + kPage - bytes.size();
        std::memcpy(block_, bytes.data(), bytes.size());
    }
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;
    ~GuardedBlock() { VirtualFree(pages_, 0, MEM_RELEASE); }
    const void* get() const { return block_; }

private:
    static constexpr std::size_t kPage = 4096;
    char* pages_;
    char* block_;
};

bool read(const std::string& bytes, std::vector<std::wstring>& paths)
{
    const GuardedBlock block(bytes);
    return readDropFiles(block.get(), bytes.size(), paths);
}

TEST(DropFiles, ANamesListEndedByAnEmptyNameIsReadInEitherWidth)
{
    std::vector<std::wstring> paths;
    EXPECT_TRUE(read(dropBlock(sizeof(DROPFILES), true, wideNames(std::wstring(L"C:\\Фото\0D:\\b\0\0", 14))), paths));
    EXPECT_EQ(paths, (std::vector<std::wstring> {L"C:\\Фото", L"D:\\b"}));
    // A list further on, not aligned, and one of ANSI names.
    EXPECT_TRUE(read(dropBlock(sizeof(DROPFILES) + 1, true, "x" + wideNames(std::wstring(L"C:\\a\0\0", 6))), paths));
    EXPECT_EQ(paths, std::vector<std::wstring> {L"C:\\a"});
    EXPECT_TRUE(read(dropBlock(sizeof(DROPFILES), false, std::string("C:\\a\0\0", 6)), paths));
    EXPECT_EQ(paths, std::vector<std::wstring> {L"C:\\a"});
}

// Refused whole, without a read outside the block: no room for the header, a list that
// starts past the block or inside the header, a name the block cuts, no end to the list.
TEST(DropFiles, ABlockThatBreaksItsBoundsIsRefused)
{
    const std::string header = dropBlock(sizeof(DROPFILES), true, "");
    for (const std::string& damaged : std::vector<std::string> {
             header.substr(0, sizeof(DROPFILES) - 1), dropBlock(sizeof(DROPFILES) + 100, true, wideNames(L"C:\\a")),
             dropBlock(4, true, wideNames(std::wstring(L"\0\0", 2))),
             header + wideNames(std::wstring(L"C:\\a\0D:\\b", 8)), header + wideNames(std::wstring(L"C:\\a\0", 5)),
             header + "C"}) {
        std::vector<std::wstring> paths = {L"kept"};
        EXPECT_FALSE(read(damaged, paths));
        EXPECT_TRUE(paths.empty());
    }
}

} // namespace
