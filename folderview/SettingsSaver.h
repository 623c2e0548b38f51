#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/FolderLookState.h"

// Writes the folder view settings of state, with picture as the picture to save, into
// the settings file of state.folder, or with remove deletes them and nothing else.
// The file is made writable first and hidden and system after; Apply adds the
// read-only bit to the folder (not to a drive root). Only the first write is
// checked: false means it failed and nothing further was written. path is set to
// the settings file's path either way, for the caller's message.
bool saveFolderLook(FolderFiles& files, const FolderLookState& state, const std::wstring& picture, bool remove,
                    std::wstring& path);
