#pragma once
#include "folderview/FolderFiles.h"
#include "folderview/FolderInfo.h"
#include "folderview/AnotherComputer.h"
#include "resources/FolderInfoLayout.h"
#include "support/Components.h"
#include "support/Handles.h"
#include "support/WindowBinding.h"

#include <windows.h>

#include <string>

// The dialog for a folder's icon and comment, modal to the window that opens it. It
// shows them, draws the icon, and applies or removes them through the folder view logic.
class frmFolderInfo {
public:
    static constexpr wchar_t kClassName[] = L"QuenmarkFolderInfo";

    frmFolderInfo(Components& components, FolderFiles& files);
    frmFolderInfo(const frmFolderInfo&) = delete;
    frmFolderInfo& operator=(const frmFolderInfo&) = delete;
    ~frmFolderInfo();

    // Shows the folder's icon and comment as loaded, with the owner disabled, until the
    // user cancels or a command is done.
    void showModal(HWND owner, const std::wstring& folder, const FolderInfo& info);

private:
    template <typename T> friend LRESULT CALLBACK boundWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void reportInternalError() const;
    bool create();
    void runMessageLoop();
    void close();
    void onCommand(int id, int code);
    void onPickIcon();
    void onSkinClick(SkinAction action);
    void showIcon(TextOrigin origin);
    void paintIconArea(HDC dc, const RECT& area, bool focused) const;
    HWND control(FolderInfoControlId id) const { return GetDlgItem(window_, id); }
    int scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    Components& components_;
    FolderFiles& files_;
    std::wstring folder_;
    FolderInfo loaded_; // what the fields were opened with; Apply writes only what differs
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HWND lastFocus_ = nullptr;
    int dpi_ = 96;
    FontHandle font_;
    IconHandle icon_;
    bool iconWaits_ = false; // an icon on another computer, read only when the user asks
    bool loading_ = false;
};
