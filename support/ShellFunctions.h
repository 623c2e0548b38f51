#pragma once
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

// The shell library's functions other than its dialogs, loaded on first use like them
// (support/SystemFunction.h).

// Tells the shell that the folder's settings changed, so that open windows show its
// new icon and look without a restart; formerIcon ("full path,index", or empty) is the
// icon they named before, whose image the shell's cache keeps by that location.
void notifyFolderChanged(const std::wstring& folder, const std::wstring& formerIcon);

// Tells the shell that the registry's commands or file types changed, so that its
// menus show them without a restart.
void notifyAssociationsChanged();

// Every path of a drop, in its order; the drop stays for its owner to free.
std::vector<std::wstring> droppedPaths(HDROP drop);

// Every path dropped on a window; ends the drop.
std::vector<std::wstring> takeDroppedPaths(HDROP drop);
