// System libraries come from the system folder, whatever lies beside the exe.
#include "common/TestFiles.h"
#include "preview/PictureDecoder.h"
#include "support/Handles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// The two runs of the test below, each in a copy of this program beside the planted
// library: the preview's decoding, and a load by the bare name as it once was.
TEST(SystemLibrary, DISABLED_DecodesWithTheSystemsGdiplus)
{
    const TempFolder folder;
    writeFile(folder.at(L"лес.bmp"), bmpBytes(4, 4, RGB(0, 128, 0), RGB(0, 128, 0)));
    DecodedPicture picture;
    EXPECT_EQ(decodePicture(folder.at(L"лес.bmp"), picture), DecodeResult::Decoded);
}

TEST(SystemLibrary, DISABLED_LoadsByTheBareName)
{
    EXPECT_NE(LoadLibraryW(L"gdiplus.dll"), nullptr);
}

// Wine told to prefer a gdiplus.dll of its own (for this exe's name alone: Wine reads no
// WINEDLLOVERRIDES that a Windows program sets for its child) looks for it beside the
// exe first, as Windows does: the bare name runs the planted one, the program's
// decoding does not, and decodes with the system's.
TEST(SystemLibrary, AGdiplusBesideTheExeIsNotLoaded)
{
    const TempFolder beside;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring name = L"quenmark-beside-planted.exe", exe = beside.at(name),
                       planted = beside.at(L"gdiplus.dll");
    ASSERT_TRUE(CopyFileW(self, exe.c_str(), TRUE));
    ASSERT_TRUE(CopyFileW(QUENMARK_PLANTED_LIBRARY, planted.c_str(), TRUE));
    const std::wstring app = L"Software\\Wine\\AppDefaults\\" + name, overrides = app + L"\\DllOverrides";
    RegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                              nullptr),
              ERROR_SUCCESS);
    const wchar_t nativeFirst[] = L"native,builtin";
    RegSetValueExW(key.get(), L"gdiplus", 0, REG_SZ, reinterpret_cast<const BYTE*>(nativeFirst), sizeof nativeFirst);
    key.reset();
    for (const auto& [test, runs] : {std::pair(L"DISABLED_DecodesWithTheSystemsGdiplus", false),
                                     std::pair(L"DISABLED_LoadsByTheBareName", true)}) {
        EXPECT_EQ(runTestAlone(std::wstring(L"SystemLibrary.") + test, exe, beside.path()), 0u) << utf8(test);
        EXPECT_EQ(GetFileAttributesW((planted + L".ran").c_str()) != INVALID_FILE_ATTRIBUTES, runs) << utf8(test);
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, overrides.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, app.c_str());
}

} // namespace
