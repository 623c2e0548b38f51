#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/FolderLookState.h"

#include <cstdint>
#include <string>

enum class SkinAction { Apply, Remove };

// What one run of Apply or Remove came to. The window turns it into what the user
// sees; subject is the text or path that the message names.
struct SkinOutcome {
    enum class Kind {
        Done,
        NoFolder, // the folder text is empty
        TextRefused, // subject: a folder or picture text the ANSI code page cannot hold
        PathTooLong, // subject: the settings file or the picture's copy
        CopyFailed, // subject: the copy's path; error: the system's error
        SaveFailed, // subject: the settings file
        FolderNotMarked, // subject: the folder, whose settings are saved
    };
    Kind kind = Kind::Done;
    std::wstring subject;
    std::uint32_t error = 0;
};

// Apply copies the picture into the folder when state asks for it, then saves the
// settings with the copy's bare name or the picture text as it stands; Remove only
// removes them. Whatever can be refused is refused before anything is copied or
// written. Shows nothing.
SkinOutcome runSkinCommand(FolderFiles& files, const FolderLookState& state, SkinAction action);
