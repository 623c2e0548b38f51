#pragma once
#include "folderview/AnotherComputer.h"
#include "folderview/FolderLookState.h"

#include <string>

// Which picture the preview shows for the window's state: the one Apply would write.
struct PictureChoice {
    enum class Kind {
        None, // no picture
        File, // path: the file to show
        Withheld, // path: a network picture the folder's file names, not opened until asked
        Refused, // the picture to copy is one Apply refuses
    };
    Kind kind = Kind::None;
    std::wstring path;

    bool operator==(const PictureChoice&) const = default;
};

// A bare or relative name is found in the folder, as the shell finds it; with copying
// ticked the copy's source is the same file, so that is what shows. A picture on
// another computer (readsWithoutAsking) whose text is still what the folder's file gave
// (loadedPicture) is withheld unless it is the one the user asked to see (shownAnyway):
// opening a preview must not make the machine connect to a server someone else named.
// A picture the user typed or picked is theirs to show.
PictureChoice choosePicture(const FolderLookState& state, const std::wstring& loadedPicture,
                            const std::wstring& shownAnyway, DriveTypeQuery driveType = GetDriveTypeW);
