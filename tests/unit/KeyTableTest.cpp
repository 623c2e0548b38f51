// The windows' keys, as the accelerator tables that hand them to the windows.
#include "app/frmFolders.h"
#include "app/frmMain.h"
#include "resources/FoldersLayout.h"
#include "resources/MainLayout.h"
#include "resources/Texts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Entry = std::tuple<int, int, int>; // what is held with the key, the key, the id sent

std::vector<Entry> entries(const std::vector<ACCEL>& table)
{
    std::vector<Entry> found;
    std::set<std::pair<int, int>> keys;
    for (const ACCEL& key : table) {
        found.emplace_back(key.fVirt, key.key, key.cmd);
        EXPECT_TRUE(keys.emplace(key.fVirt, key.key).second) << "twice: " << key.key;
    }
    return found;
}

constexpr int kAlone = FVIRTKEY, kShift = FVIRTKEY | FSHIFT, kCtrl = FVIRTKEY | FCONTROL;

// The system menu's commands by their places (F3, F4, the folders' command has none,
// Ctrl+Z, F5, F6), as their captions name them, then the about box and Esc.
TEST(KeyTable, TheMainWindowsKeysAreItsMenuCommandsEachOnce)
{
    EXPECT_EQ(entries(frmMain::keyTable()),
              (std::vector<Entry> {{kAlone, VK_F3, keyCommandId(0)},
                                   {kAlone, VK_F4, keyCommandId(1)},
                                   {kCtrl, 'Z', keyCommandId(3)},
                                   {kAlone, VK_F5, keyCommandId(4)},
                                   {kAlone, VK_F6, keyCommandId(5)},
                                   {kShift, VK_F1, keyAboutBox},
                                   {kAlone, VK_ESCAPE, keyClose}}));
    for (const Language language : {Language::Russian, Language::English}) {
        for (const auto& [caption, key] :
             {std::pair(kPreviewMenuItem.in(language), L"\tF3"), std::pair(kFolderInfoMenuItem.in(language), L"\tF4"),
              std::pair(kFoldersMenuItem.in(language), L"\tF5"), std::pair(kJournalMenuItem.in(language), L"\tF6")})
            EXPECT_TRUE(std::wstring(caption).ends_with(key)) << caption;
    }
    EXPECT_STREQ(kUndoKey, L"\tCtrl+Z");
}

TEST(KeyTable, TheListsKeysAreEscCtrlZAndDeleteEachOnce)
{
    EXPECT_EQ(entries(frmFolders::keyTable()),
              (std::vector<Entry> {
                  {kAlone, VK_ESCAPE, keyHideList}, {kCtrl, 'Z', keyUndoBatch}, {kAlone, VK_DELETE, keyTakeOut}}));
}

} // namespace
