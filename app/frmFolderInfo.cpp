#include "app/frmFolderInfo.h"

#include "app/Controls.h"
#include "app/OutcomeMessage.h"
#include "resources/Texts.h"
#include "support/BusyPointer.h"
#include "support/ShellFunctions.h"
#include "support/tsPath.h"

#include <algorithm>

namespace {

// Typing waits this long for a pause before the icon or picture is read, so that a
// half-typed server path sends no request.
constexpr UINT kTypingPauseMs = 300;
constexpr UINT_PTR kIconTimer = 1;
constexpr UINT_PTR kLogoTimer = 2;
constexpr UINT kLogoDecoded = WM_APP + 1;

// Where the icon picker starts when the box is empty: the shell's own icons.
constexpr wchar_t kShellIcons[] = L"%SystemRoot%\\system32\\shell32.dll";

// The largest rectangle of the picture's proportions that fits the area, centred.
RECT fitted(const RECT& area, SIZE picture)
{
    const LONG width = area.right - area.left, height = area.bottom - area.top;
    SIZE size = {width, MulDiv(width, picture.cy, picture.cx)};
    if (size.cy > height)
        size = {MulDiv(height, picture.cx, picture.cy), height};
    const LONG left = area.left + (width - size.cx) / 2, top = area.top + (height - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
}

} // namespace

const WindowSpec frmFolderInfo::kSpec = {
    .className = kClassName,
    .caption = kFolderInfoCaption,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    .exStyle = WS_EX_DLGMODALFRAME,
    .clientWidth = kFolderInfoClientWidth,
    .clientHeight = kFolderInfoClientHeight,
    .controls = kFolderInfoControls,
    .defaultButton = cmdInfoApply,
};

const CommandRoute<frmFolderInfo> frmFolderInfo::kRoutes[] = {
    {txtIcon, EN_CHANGE, &frmFolderInfo::onTyped},
    {txtLogo, EN_CHANGE, &frmFolderInfo::onTyped},
    {cmdPickIcon, BN_CLICKED, &frmFolderInfo::onPickIcon},
    {cmdPickLogo, BN_CLICKED, &frmFolderInfo::onPickLogo},
    // The areas are enabled only while their file waits for the user.
    {picIcon, BN_CLICKED, &frmFolderInfo::onAskedFor},
    {picLogo, BN_CLICKED, &frmFolderInfo::onAskedFor},
    {cmdInfoApply, BN_CLICKED, &frmFolderInfo::runCommand},
    {cmdInfoRemove, BN_CLICKED, &frmFolderInfo::runCommand},
    {IDCANCEL, BN_CLICKED, &frmFolderInfo::onCancel}, // Esc, from the dialog manager
    {cmdInfoCancel, BN_CLICKED, &frmFolderInfo::onCancel},
};

frmFolderInfo::frmFolderInfo(Components& components, FolderFiles& files) : components_(components), files_(files) {}

void frmFolderInfo::showModal(HWND owner, const std::wstring& folder, const FolderInfo& info)
{
    folder_ = folder;
    loaded_ = info;
    if (!create(owner))
        return;
    // The folder picture is averaged down to the area (within its sunken edge) on the
    // decoding thread: the dialog never holds more than its small drawing.
    RECT area;
    GetClientRect(control(picLogo), &area);
    const SIZE box = {std::max(1L, area.right - 2), std::max(1L, area.bottom - 2)};
    logoLoader_.emplace(box);
    loading_ = true;
    showSettings<FolderInfo>(window_, kFolderInfoSettings, info);
    loading_ = false;
    showIcon(TextOrigin::SettingsFile);
    showLogo(TextOrigin::SettingsFile);
    lastFocus_ = control(txtIcon);
    runModal();
}

void frmFolderInfo::onTyped(int box)
{
    if (!loading_)
        SetTimer(window_, box == txtIcon ? kIconTimer : kLogoTimer, kTypingPauseMs, nullptr);
}

void frmFolderInfo::onPickIcon(int)
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

// The same picker, with the same filter, as the main window's picture.
void frmFolderInfo::onPickLogo(int)
{
    const auto dialog = components_.newPictureFileDialog();
    const std::wstring picture = windowText(control(txtLogo));
    dialog->fileName = picture;
    dialog->filter = kPictureFilter;
    dialog->options = 0;
    (void)tsGetFilePath(picture, dialog->initialFolder); // cannot fail
    dialog->owner = window_;
    if (!dialog->show())
        return;
    SetWindowTextW(control(txtLogo), dialog->fileName.c_str());
    showLogo(TextOrigin::User);
}

void frmFolderInfo::onAskedFor(int area)
{
    if (area == picIcon)
        showIcon(TextOrigin::User);
    else
        showLogo(TextOrigin::User);
}

void frmFolderInfo::runCommand(int button)
{
    const BusyPointer busy;
    FolderInfo info = loaded_;
    readSettings<FolderInfo>(window_, kFolderInfoSettings, info);
    const Command action = button == cmdInfoApply ? Command::Apply : Command::Remove;
    if (showOutcome(components_, window_, runFolderInfoCommand(files_, folder_, info, loaded_, action), folder_))
        close();
}

void frmFolderInfo::onCancel(int)
{
    close();
}

void frmFolderInfo::showIcon(TextOrigin origin)
{
    KillTimer(window_, kIconTimer);
    const std::wstring text = windowText(control(txtIcon));
    std::wstring path;
    int index = 0;
    splitIconText(text, path, index);
    const std::wstring file = settingFile(SettingKind::Icon, text, folder_);
    iconWaits_ = !path.empty() && !readsWithoutAsking(file, origin);
    icon_.reset();
    if (!path.empty() && !iconWaits_)
        icon_ = extractIcon(file, index);
    enableArea(picIcon, txtIcon, iconWaits_);
}

// The picture is decoded off the window's thread, within the preview's bounds; it is
// drawn when it comes (kLogoDecoded).
void frmFolderInfo::showLogo(TextOrigin origin)
{
    KillTimer(window_, kLogoTimer);
    const std::wstring text = windowText(control(txtLogo));
    const std::wstring file = settingFile(SettingKind::Text, text, folder_);
    logoWaits_ = !text.empty() && !readsWithoutAsking(file, origin);
    logoLoader_->cancel();
    logo_ = {};
    logoResult_.reset();
    // Without a thread to decode on the picture is not drawn; the dialog works on.
    if (!text.empty() && !logoWaits_ && !logoLoader_->start(window_, kLogoDecoded, file))
        logoResult_ = DecodeResult::Undecodable;
    enableArea(picLogo, txtLogo, logoWaits_);
}

void frmFolderInfo::takeLogo()
{
    DecodeResult result = DecodeResult::Missing;
    DecodedPicture picture;
    if (!logoLoader_->take(result, picture))
        return;
    logo_ = result == DecodeResult::Decoded ? std::move(picture) : DecodedPicture {};
    logoResult_ = result;
    InvalidateRect(control(picLogo), nullptr, TRUE);
}

// Disabled, an area takes neither clicks nor the focus while there is nothing to ask
// for; the focus it had goes back to its text.
void frmFolderInfo::enableArea(int area, int box, bool waits)
{
    if (!waits && GetFocus() == control(area))
        SetFocus(control(box));
    EnableWindow(control(area), waits);
    InvalidateRect(control(area), nullptr, TRUE);
}

void frmFolderInfo::paintArea(int area, HDC dc, const RECT& rect, bool focused) const
{
    RECT inside = rect;
    DrawEdge(dc, &inside, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    FillRect(dc, &inside, GetSysColorBrush(COLOR_BTNFACE));
    const int size = scale(kFolderInfoIconSize);
    if (area == picIcon && icon_) {
        DrawIconEx(dc, (rect.left + rect.right - size) / 2, (rect.top + rect.bottom - size) / 2, icon_.get(), size,
                   size, 0, nullptr, DI_NORMAL);
    } else if (area == picLogo && logoResult_) {
        paintLogo(dc, inside);
    } else if (area == picIcon ? iconWaits_ : logoWaits_) {
        // Drawn as a link, which the click on the area follows.
        const SelectedObject font(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_HOTLIGHT));
        DrawTextW(dc, windowText(control(area)).c_str(), -1, &inside,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (focused) {
        InflateRect(&inside, -1, -1);
        DrawFocusRect(dc, &inside);
    }
}

// The picture small and whole, in its own proportions, or why it cannot be shown.
void frmFolderInfo::paintLogo(HDC dc, const RECT& inside) const
{
    if (!logo_.bitmap) {
        const wchar_t* why = *logoResult_ == DecodeResult::Missing ? kPictureAreaMissing
            : *logoResult_ == DecodeResult::TooLarge               ? kPictureAreaTooLarge
                                                                   : kPictureAreaUnreadable;
        const SelectedObject font(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        RECT text = inside;
        DrawTextW(dc, why, -1, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        const LONG height = text.bottom - text.top;
        text = {inside.left, (inside.top + inside.bottom - height) / 2, inside.right, inside.bottom};
        DrawTextW(dc, why, -1, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        return;
    }
    const MemoryDC source(CreateCompatibleDC(dc));
    const SelectedObject picture(source.get(), logo_.bitmap.get());
    const RECT target = fitted(inside, logo_.size);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source.get(), 0, 0,
               logo_.size.cx, logo_.size.cy, SRCCOPY);
}

bool frmFolderInfo::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kIconTimer)
            showIcon(TextOrigin::User);
        else if (wParam == kLogoTimer)
            showLogo(TextOrigin::User);
        return true;
    case kLogoDecoded: takeLogo(); return true;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != picIcon && item->CtlID != picLogo)
            return false;
        paintArea(static_cast<int>(item->CtlID), item->hDC, item->rcItem, (item->itemState & ODS_FOCUS) != 0);
        result = TRUE;
        return true;
    }
    case WM_DESTROY:
        if (logoLoader_)
            logoLoader_->cancel();
        return false;
    default: return false;
    }
}
