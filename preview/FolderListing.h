#pragma once
#include "preview/PreviewModel.h"

#include <string>
#include <vector>

// The folder's items as the shell's view lists them by default (see shownItems), in
// Explorer's name order: digits by their value where the system has that order
// (shlwapi's StrCmpLogicalW, loaded on first use), else case-blind. False when the
// folder cannot be read.
bool listShownItems(const std::wstring& folder, std::vector<PreviewItem>& items);
