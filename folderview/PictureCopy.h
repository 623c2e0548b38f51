#pragma once
#include "folderview/FolderFiles.h"

#include <string>

// Copies the picture into the folder for Apply, replacing an earlier copy of the same
// name, and hides the copy. A relative picture text (the bare name read from the
// folder's own file) names a file in that folder. When the picture already is that
// file nothing is copied, so it is never overwritten by itself.
//
// target: the copy's path, as far as it could be built. savedName: the copy's bare
// file name, the picture text to save. On failure the status carries the error of
// the step that failed last, the copy's own when the copy failed.
TsStatus copyPictureIntoFolder(FolderFiles& files, const std::wstring& folder, const std::wstring& picture,
                               std::wstring& target, std::wstring& savedName);
