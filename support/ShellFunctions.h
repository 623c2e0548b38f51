#pragma once
#include <windows.h>

#include <shellapi.h>

#include <cstddef>
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

// The paths a DROPFILES block of size bytes lists, in their order. False, and no paths,
// when the block is damaged: too short for its header, its list starting outside it, a
// name not ended inside it, or no empty name ending the list. A drop comes from another
// program, and the shell's own reader trusts the block.
bool readDropFiles(const void* block, std::size_t size, std::vector<std::wstring>& paths);

// Every path of a drop, in its order; false when its block is damaged. The drop stays
// for its owner to free.
bool droppedPaths(HDROP drop, std::vector<std::wstring>& paths);

// Every path dropped on a window (none from a damaged block); ends the drop.
std::vector<std::wstring> takeDroppedPaths(HDROP drop);
