#pragma once
#include "app/BaseWindow.h"
#include "app/FolderSteps.h"
#include "folderview/AnotherComputer.h"
#include "folderview/FolderFiles.h"
#include "folderview/FolderInfo.h"
#include "preview/PictureLoader.h"
#include "resources/FolderInfoLayout.h"
#include "support/Components.h"
#include "support/Handles.h"
#include "undo/JournalStore.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// The dialog for a folder's icon and comment, its type and picture, modal to the
// window that opens it. It shows them, draws the icon and the picture, and applies or
// removes them through the folder view logic.
class frmFolderInfo : public BaseWindow<frmFolderInfo> {
public:
    static constexpr wchar_t kClassName[] = L"QuenmarkFolderInfo";

    frmFolderInfo(Components& components, FolderFiles& files, JournalStore& store);
    ~frmFolderInfo() { close(); }

    // Shows the folder's settings as loaded, with the owner disabled, until the user
    // cancels or a command is done.
    void showModal(HWND owner, const std::wstring& folder, const FolderInfo& info);

    // With several folders listed: runs the command's step over all of them, and the
    // dialog closes once it is handed over.
    std::function<void(FolderStep)> forEachFolder;
    // With several folders listed: Ctrl+Z undoes the latest command in each.
    std::function<void()> undoEachFolder;
    // With one: Ctrl+Z undoes the latest command there; true when done.
    std::function<bool()> undoFolder;

private:
    friend class BaseWindow<frmFolderInfo>;
    static const WindowSpec kSpec;
    static const CommandRoute<frmFolderInfo> kRoutes[];
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void onTyped(int box);
    void onPickIcon(int);
    void onPickLogo(int);
    void onAskedFor(int area);
    void runCommand(int button);
    void onCancel(int);
    void undo();
    void showIcon(TextOrigin origin);
    void showLogo(TextOrigin origin);
    void takeLogo();
    // An area that shows a file: drawn into whatever DC it is given.
    void paintArea(int area, HDC dc, const RECT& rect, bool focused) const;
    void paintLogo(HDC dc, const RECT& inside) const;
    void paintNote(HDC dc, const RECT& inside, const std::wstring& text, int color) const;
    void enableArea(int area, int box, bool waits);

    Components& components_;
    FolderFiles& files_;
    JournalStore& store_;
    std::wstring folder_;
    FolderInfo loaded_; // what the fields were opened with; Apply writes only what differs
    IconHandle icon_;
    bool iconFailed_ = false; // the icon cannot be shown; the area's text says why
    bool iconWaits_ = false; // an icon on another computer, read only when the user asks
    std::optional<PictureLoader> logoLoader_; // made with the window, for the size of picLogo
    DecodedPicture logo_; // the small drawing only
    std::optional<DecodeResult> logoResult_; // why the picture is not drawn, once that is known
    bool logoWaits_ = false; // the same for the folder picture
    bool loading_ = false;
};
