#include "app/frmFolderInfo.h"
#include "support/tsText.h"

#include "app/Controls.h"
#include "app/FolderSteps.h"
#include "app/OutcomeMessage.h"
#include "app/PicturePicker.h"
#include "app/SettingControls.h"
#include "app/UndoCommand.h"
#include "folderview/IconFile.h"
#include "resources/Texts.h"
#include "support/BusyPointer.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Typing waits this long for a pause before the icon or picture is read, so that a
// half-typed server path sends no request.
constexpr UINT kTypingPauseMs = 200;
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

// The icon drawn at size × size from its checked bytes. Older systems cannot draw a PNG
// image, so an icon of those alone is none there.
IconHandle iconToDraw(const std::string& ico, int size)
{
    std::vector<IconImage> images;
    (void)iconImages(ico, images);
    const std::optional<IconImage> image = bestImage(images, static_cast<unsigned>(size));
    if (!image)
        return {};
    auto* bytes = reinterpret_cast<PBYTE>(const_cast<char*>(ico.data() + image->offset));
    constexpr DWORD kIconFormat = 0x00030000; // every icon since Windows 3
    return IconHandle(CreateIconFromResourceEx(bytes, static_cast<DWORD>(image->size), TRUE, kIconFormat, size, size,
                                               LR_DEFAULTCOLOR));
}

const wchar_t* whyNotShown(IconRead read)
{
    switch (read) {
    case IconRead::Read: return L"";
    case IconRead::Missing: return kAreaMissing;
    case IconRead::TooLarge: return kAreaTooLarge;
    case IconRead::Unreadable: break;
    }
    return kAreaUnreadable;
}

const wchar_t* whyNotShown(DecodeResult result)
{
    switch (result) {
    case DecodeResult::Decoded: return L"";
    case DecodeResult::Missing: return kAreaMissing;
    case DecodeResult::TooLarge: return kAreaTooLarge;
    default: return kAreaUnreadable;
    }
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

frmFolderInfo::frmFolderInfo(Components& components, FolderFiles& files, JournalStore& store)
    : components_(components),
      files_(files),
      store_(store)
{
}

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
    showSettings<FolderInfo>(window_, kFolderInfoSettings, kFolderInfoSettingControls, info);
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
    SetWindowTextW(control(txtIcon), (dialog->icon.file + L"," + tsDecimal(dialog->icon.index)).c_str());
    showIcon(TextOrigin::User);
}

void frmFolderInfo::onPickLogo(int)
{
    if (pickPicture(components_, window_, control(txtLogo)))
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
    readSettings<FolderInfo>(window_, kFolderInfoSettings, kFolderInfoSettingControls, info);
    const Command action = button == cmdInfoApply ? Command::Apply : Command::Remove;
    if (forEachFolder) {
        const CommandName name = commandName(control(button), window_);
        close();
        forEachFolder(folderInfoStep(files_, store_, name, info, loaded_, action));
        return;
    }
    const CommandOutcome outcome = runRecorded(files_, store_, folder_, commandName(control(button), window_),
                                               [&](FolderFiles& files, const std::wstring& folder) {
                                                   return runFolderInfoCommand(files, folder, info, loaded_, action);
                                               });
    if (showOutcome(components_, window_, outcome, folder_))
        close();
}

// The same undo as the main window's, for this folder; done, the dialog closes as after Apply.
void frmFolderInfo::undo()
{
    if (undoEachFolder) {
        close();
        undoEachFolder();
    } else if (undoFolder && undoFolder()) {
        close();
    }
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
    // Only the file's own icon waits, as the dialog opens: the area keeps its link caption.
    // Once read, its text says why no icon is drawn (nothing when it is), for the eye and
    // for a screen reader alike.
    IconRead read = IconRead::Read;
    if (!path.empty() && !iconWaits_) {
        std::string ico;
        read = readIconFile(file, index, ico);
        if (read == IconRead::Read && !(icon_ = iconToDraw(ico, scale(kFolderInfoIconSize))))
            read = IconRead::Unreadable;
    }
    iconFailed_ = read != IconRead::Read;
    if (!iconWaits_)
        SetWindowTextW(control(picIcon), whyNotShown(read));
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
    if (!logoWaits_)
        SetWindowTextW(control(picLogo), logoResult_ ? whyNotShown(*logoResult_) : L"");
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
    SetWindowTextW(control(picLogo), whyNotShown(result));
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
    } else if (area == picLogo && logo_.bitmap) {
        paintLogo(dc, inside);
    } else if (area == picIcon ? iconWaits_ : logoWaits_) {
        // Drawn as a link, which the click on the area follows.
        paintNote(dc, inside, windowText(control(area)), COLOR_HOTLIGHT);
    } else if (area == picIcon ? iconFailed_ : logoResult_.has_value()) {
        paintNote(dc, inside, windowText(control(area)), COLOR_BTNTEXT);
    }
    if (focused) {
        InflateRect(&inside, -1, -1);
        DrawFocusRect(dc, &inside);
    }
}

// Words in an area instead of its picture, centred, on more lines where one is too narrow.
void frmFolderInfo::paintNote(HDC dc, const RECT& inside, const std::wstring& text, int color) const
{
    const SelectedObject font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(color));
    constexpr UINT kFormat = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    RECT lines = inside;
    DrawTextW(dc, text.c_str(), -1, &lines, kFormat | DT_CALCRECT);
    RECT target = inside;
    target.top += std::max(0L, (inside.bottom - inside.top - (lines.bottom - lines.top)) / 2);
    DrawTextW(dc, text.c_str(), -1, &target, kFormat);
}

// The picture small and whole, in its own proportions.
void frmFolderInfo::paintLogo(HDC dc, const RECT& inside) const
{
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
    case kModalKeyDown:
        // Ctrl+Z alone: the folder's undo, not the text box's.
        if (wParam != 'Z' || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0)
            return false;
        undo();
        result = 1;
        return true;
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
