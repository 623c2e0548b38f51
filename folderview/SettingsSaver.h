#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/FolderLookState.h"

enum class SaveResult {
    Saved,
    // Nothing more was written after the first failure, and the file keeps the
    // normal attributes it was given for writing. Also when it cannot be told what
    // is at the file's path: then nothing at all is touched.
    NotWritten,
    // The settings are written, but the folder could not be made read-only, which
    // the shell needs before it reads them.
    FolderNotMarked,
};

// Writes the folder view settings of state, with picture as the picture to save, into
// the settings file of state.folder, or with remove deletes them and nothing else.
// The file is made writable first and hidden and system after; Apply adds the
// read-only bit to the folder (not to a drive root). Every write is checked. path is
// set to the settings file's path, for the caller's message.
SaveResult saveFolderLook(FolderFiles& files, const FolderLookState& state, const std::wstring& picture, bool remove,
                          std::wstring& path);
