#pragma once
#include "app/Controls.h"
#include "folderview/FolderInfo.h"
#include "folderview/FolderLookState.h"
#include "resources/FolderInfoLayout.h"
#include "resources/MainLayout.h"

// Which controls of each window show the rows of its settings table, row for row.

inline constexpr SettingControls kLookSettingControls[] = {
    {kImageKey, txtPicture, chkCopyPicture},
    {kTextColorKey, shpTextColor, chkTextColor},
    {kTextBackgroundKey, shpBackColor, chkBackColor},
};
static_assert(controlsFollowRows<FolderLookState>(kLookSettings, kLookSettingControls));

inline constexpr SettingControls kFolderInfoSettingControls[] = {
    {kIconResourceKey, txtIcon, chkCopyIcon},
    {kInfoTipKey, txtInfoTip},
    {kFolderTypeKey, lstFolderType},
    {kLogoKey, txtLogo, chkCopyLogo},
};
static_assert(controlsFollowRows<FolderInfo>(kFolderInfoSettings, kFolderInfoSettingControls));
