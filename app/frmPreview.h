#pragma once
#include "app/BaseWindow.h"
#include "folderview/FolderLookState.h"
#include "preview/PictureChoice.h"
#include "preview/PictureDecoder.h"
#include "preview/PictureLoader.h"
#include "preview/PreviewModel.h"
#include "preview/PreviewPainter.h"
#include "preview/ShellIcons.h"
#include "support/Handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The live preview: a modeless, resizable window owned by the main window that draws
// the folder as the shell will, from the same FolderLookState the main window holds.
// It takes each new state as it comes; only a changed picture path is decoded again,
// on a thread of its own.
// The system closes it with its owner.
class frmPreview : public BaseWindow<frmPreview> {
public:
    static constexpr wchar_t kClassName[] = L"QuenmarkPreview";

    explicit frmPreview(Components& components) : components_(components) {}
    ~frmPreview() { close(); }

    // Opens the window on the state, or brings it to the front when it is open.
    // loadedPicture: the picture text as the folder's file gave it. False when the
    // window could not be made.
    bool open(HWND owner, const FolderLookState& state, const std::wstring& loadedPicture);
    // Shows the state, when the window is open.
    void follow(const FolderLookState& state, const std::wstring& loadedPicture);

private:
    friend class BaseWindow<frmPreview>;
    static const WindowSpec kSpec;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    PreviewScene scene() const;
    PreviewLayout layout() const;
    std::wstring notice() const;
    void paint(HDC dc, const RECT& area);
    void onPaint();
    void onKeyDown(WPARAM key);
    void onScroll(WORD request);
    void scrollTo(int top);
    void updateScrollBar();
    // Takes the state; atOnce: a changed picture is decoded without waiting for a pause.
    void show(const FolderLookState& state, const std::wstring& loadedPicture, bool atOnce);
    // Chooses the picture for the state taken, decodes it when its path changed (atOnce,
    // or after a pause in the typing), and repaints.
    void showPicture(bool atOnce);
    void showWithheldPicture();
    void decodeWaitingPicture();
    void startDecoding();
    // Takes the picture the loader has decoded, if any; true when one came.
    bool takePicture();
    // The notice, the scroll bar and the drawing, for a changed picture.
    void refresh();
    void release();

    Components& components_;
    ShellIcons icons_;
    FolderLookState state_;
    std::wstring loadedPicture_;
    std::wstring shownAnyway_; // the server picture the user asked to see
    std::optional<std::wstring> listedFolder_;
    bool listed_ = false;
    std::vector<PreviewItem> items_;
    PictureChoice choice_;
    std::wstring decodedPath_;
    DecodeResult decoded_ = DecodeResult::Missing;
    bool waiting_ = false; // a picture to be decoded once the text has rested
    bool loading_ = false; // the loader decodes the picture
    PictureLoader loader_;
    DecodedPicture picture_;
    std::wstring notice_;
    int scrollTop_ = 0;
};
