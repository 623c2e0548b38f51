#pragma once
#include "folderview/FolderLookState.h"
#include "preview/PictureDecoder.h"
#include "preview/PreviewModel.h"
#include "preview/ShellIcons.h"
#include "support/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

// Everything the preview draws, given: painting reads no file and no window.
struct PreviewScene {
    const FolderLookState& look; // the folder and the caption colours
    const std::vector<PreviewItem>& items;
    const DecodedPicture* picture; // none: the window colour
    const std::wstring& notice; // a line on why no picture or item shows; empty: none
    HFONT font; // the captions' and the notice's
    int scrollTop; // how far the icon area is scrolled down
};

// Where things go in the client area: the notice line at the top when there is one,
// the icon area below it.
struct PreviewLayout {
    RECT notice;
    RECT icons;
    IconGrid grid;
};

// The font the shell gives icon captions.
FontHandle iconTitleFont();

PreviewLayout previewLayout(HDC dc, const RECT& client, const PreviewScene& scene);

// Draws the folder as the shells of Windows 98 to XP draw it in large icons: the
// picture tiled at its own size from the icon area's top-left, the items on their grid,
// captions in the text colour (else the window-text colour) on a box of the background
// colour (else straight over the picture). Draws into any device context, so that
// tests can read the pixels back.
void paintPreview(HDC dc, const RECT& client, const PreviewScene& scene, ShellIcons& icons);
