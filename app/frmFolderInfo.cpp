#include "app/frmFolderInfo.h"

#include "app/Controls.h"
#include "app/OutcomeMessage.h"
#include "resources/Texts.h"
#include "support/BusyPointer.h"
#include "support/ShellFunctions.h"
#include "support/tsWindow.h"

namespace {

// Typing waits this long for a pause before the icon is read, so that a half-typed
// server path sends no request.
constexpr UINT kTypingPauseMs = 300;
constexpr UINT_PTR kTypingTimer = 1;

// Where the icon picker starts when the box is empty: the shell's own icons.
constexpr wchar_t kShellIcons[] = L"%SystemRoot%\\system32\\shell32.dll";

} // namespace

frmFolderInfo::frmFolderInfo(Components& components, FolderFiles& files) : components_(components), files_(files) {}

frmFolderInfo::~frmFolderInfo()
{
    close();
}

void frmFolderInfo::showModal(HWND owner, const std::wstring& folder, const FolderInfo& info)
{
    owner_ = owner;
    folder_ = folder;
    loaded_ = info;
    if (!create())
        return;
    loading_ = true;
    showSettings<FolderInfo>(window_, kFolderInfoSettings, info);
    loading_ = false;
    showIcon(TextOrigin::SettingsFile);
    EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
    runMessageLoop();
}

bool frmFolderInfo::create()
{
    if (!registerWindowClass(kClassName, boundWindowProc<frmFolderInfo>, GetSysColorBrush(COLOR_BTNFACE)))
        return false;
    dpi_ = screenDpi();
    constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    constexpr DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT frame = {0, 0, scale(kFolderInfoClientWidth), scale(kFolderInfoClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    if (!CreateWindowExW(exStyle, kClassName, kFolderInfoCaption, style, 0, 0, frame.right - frame.left,
                         frame.bottom - frame.top, owner_, nullptr, GetModuleHandleW(nullptr), this))
        return false;
    font_.reset(createWindowFont(dpi_));
    createLayoutControls(window_, kFolderInfoControls, dpi_, font_.get());
    (void)tsCenterFormEx(window_); // a dialog off centre still works
    lastFocus_ = control(txtIcon);
    return true;
}

void frmFolderInfo::runMessageLoop()
{
    MSG message;
    while (window_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the dialog goes, and the main loop gets the quit.
            close();
            if (got == 0)
                PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void frmFolderInfo::close()
{
    if (!window_)
        return;
    // The owner first, so that the system gives it back the activation.
    EnableWindow(owner_, TRUE);
    DestroyWindow(window_);
}

void frmFolderInfo::onCommand(int id, int code)
{
    if (id == txtIcon && code == EN_CHANGE && !loading_)
        SetTimer(window_, kTypingTimer, kTypingPauseMs, nullptr);
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case cmdPickIcon: onPickIcon(); break;
    case picIcon: showIcon(TextOrigin::User); break; // only enabled while the icon waits
    case cmdInfoApply: onSkinClick(SkinAction::Apply); break;
    case cmdInfoRemove: onSkinClick(SkinAction::Remove); break;
    case IDCANCEL: // Esc, from the dialog manager
    case cmdInfoCancel: close(); break;
    default: break;
    }
}

void frmFolderInfo::onPickIcon()
{
    const auto dialog = components_.newIconDialog();
    dialog->owner = window_;
    splitIconText(windowText(control(txtIcon)), dialog->icon.file, dialog->icon.index);
    if (dialog->icon.file.empty())
        dialog->icon.file = kShellIcons;
    if (!dialog->show())
        return;
    SetWindowTextW(control(txtIcon), (dialog->icon.file + L"," + std::to_wstring(dialog->icon.index)).c_str());
    showIcon(TextOrigin::User);
}

void frmFolderInfo::onSkinClick(SkinAction action)
{
    const BusyPointer busy;
    FolderInfo info;
    readSettings<FolderInfo>(window_, kFolderInfoSettings, info);
    if (showOutcome(components_, window_, runFolderInfoCommand(files_, folder_, info, loaded_, action), folder_))
        close();
}

void frmFolderInfo::showIcon(TextOrigin origin)
{
    KillTimer(window_, kTypingTimer);
    std::wstring path;
    int index = 0;
    splitIconText(windowText(control(txtIcon)), path, index);
    const std::wstring file = settingFile(SettingKind::Icon, windowText(control(txtIcon)), folder_);
    iconWaits_ = !path.empty() && !readsWithoutAsking(file, origin);
    icon_.reset();
    if (!path.empty() && !iconWaits_)
        icon_ = extractIcon(file, index);
    // Disabled, the area takes neither clicks nor the focus while there is nothing to ask
    // for; the focus it had goes back to the icon's text.
    if (!iconWaits_ && GetFocus() == control(picIcon))
        SetFocus(control(txtIcon));
    EnableWindow(control(picIcon), iconWaits_);
    InvalidateRect(control(picIcon), nullptr, TRUE);
}

void frmFolderInfo::paintIconArea(HDC dc, const RECT& area, bool focused) const
{
    RECT inside = area;
    DrawEdge(dc, &inside, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    FillRect(dc, &inside, GetSysColorBrush(COLOR_BTNFACE));
    const int size = scale(kFolderInfoIconSize);
    if (icon_) {
        DrawIconEx(dc, (area.left + area.right - size) / 2, (area.top + area.bottom - size) / 2, icon_.get(), size,
                   size, 0, nullptr, DI_NORMAL);
    } else if (iconWaits_) {
        // Drawn as a link, which the click on the area follows.
        const SelectedObject font(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_HOTLIGHT));
        DrawTextW(dc, windowText(control(picIcon)).c_str(), -1, &inside,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (focused) {
        InflateRect(&inside, -1, -1);
        DrawFocusRect(dc, &inside);
    }
}

void frmFolderInfo::reportInternalError() const
{
    MessageBoxW(window_, kInternalError, kMainCaption, MB_OK | MB_ICONSTOP);
}

LRESULT frmFolderInfo::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_TIMER:
        if (wParam == kTypingTimer)
            showIcon(TextOrigin::User);
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != picIcon)
            break;
        paintIconArea(item->hDC, item->rcItem, (item->itemState & ODS_FOCUS) != 0);
        return TRUE;
    }
    case WM_SETCURSOR:
        if (BusyPointer::setCursor())
            return TRUE;
        break;
    case DM_GETDEFID: // lets the dialog manager press Apply on Enter
        return MAKELRESULT(cmdInfoApply, DC_HASDEFID);
    case WM_CLOSE: close(); return 0;
    case WM_ACTIVATE: keepFocus(window_, LOWORD(wParam), lastFocus_); return 0;
    case WM_DESTROY: window_ = nullptr; return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
