#include "app/frmPreview.h"

#include "folderview/AnotherComputer.h"
#include "preview/FolderListing.h"
#include "resources/Messages.h"
#include "resources/PreviewLayout.h"
#include "support/tsWindow.h"

#include <algorithm>
#include <utility>

namespace {

constexpr UINT_PTR kPauseTimer = 1;
// A changed path is decoded once the typing has paused this long, so that a path typed
// letter by letter starts one decoding, not one per key; on another computer it waits
// longer, since each request goes over the network.
constexpr UINT kTypingPauseMs = 200;
constexpr UINT kServerPauseMs = 500;
// Posted by the loader when the picture is decoded.
constexpr UINT kPictureReady = WM_APP + 1;

} // namespace

const WindowSpec frmPreview::kSpec = {
    .className = kClassName,
    .caption = kPreviewCaption,
    .style = WS_OVERLAPPEDWINDOW | WS_VSCROLL,
    .exStyle = 0,
    .clientWidth = kPreviewMetrics.clientWidth,
    .clientHeight = kPreviewMetrics.clientHeight,
    .controls = {},
    // It opens where the system puts a new window, and paints all of itself.
    .centred = false,
    .background = -1,
};

bool frmPreview::open(HWND owner, const FolderLookState& state, const std::wstring& loadedPicture)
{
    if (!window_) {
        if (!create(owner))
            return false;
        font_ = iconTitleFont();
        show(state, loadedPicture, true);
    }
    follow(state, loadedPicture);
    // An open preview keeps the size the user gave it.
    if (IsIconic(window_))
        ShowWindow(window_, SW_RESTORE);
    else if (!IsWindowVisible(window_))
        ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
    return true;
}

void frmPreview::follow(const FolderLookState& state, const std::wstring& loadedPicture)
{
    // Most commands of the main window (focus moving, a cancelled picker) change nothing.
    if (window_ && !(listedFolder_ && state == state_ && loadedPicture == loadedPicture_))
        show(state, loadedPicture, false);
}

void frmPreview::show(const FolderLookState& state, const std::wstring& loadedPicture, bool atOnce)
{
    state_ = state;
    loadedPicture_ = loadedPicture;
    if (listedFolder_ != state.folder) {
        listedFolder_ = state.folder;
        items_.clear();
        listed_ = listShownItems(state.folder, items_);
        scrollTop_ = 0;
        SetWindowTextW(window_, (kPreviewCaption + state.folder).c_str());
    }
    showPicture(atOnce);
}

void frmPreview::showPicture(bool atOnce)
{
    choice_ = choosePicture(state_, loadedPicture_, shownAnyway_);
    const std::wstring path = choice_.kind == PictureChoice::Kind::File ? choice_.path : L"";
    if (path != decodedPath_) {
        // The picture shown before goes first, so that two are never held at once.
        picture_ = {};
        loader_.cancel();
        loading_ = false;
        decodedPath_ = path;
        decoded_ = DecodeResult::Missing;
        const bool distant = !path.empty() && onAnotherComputer(path);
        waiting_ = !path.empty() && (distant || !atOnce);
        if (waiting_)
            SetTimer(window_, kPauseTimer, distant ? kServerPauseMs : kTypingPauseMs, nullptr);
        else if (!path.empty())
            startDecoding();
    }
    refresh();
}

void frmPreview::startDecoding()
{
    loading_ = loader_.start(window_, kPictureReady, decodedPath_);
    if (!loading_)
        decoded_ = DecodeResult::Undecodable;
    takePicture();
}

bool frmPreview::takePicture()
{
    if (!loading_ || !loader_.take(decoded_, picture_))
        return false;
    loading_ = false;
    return true;
}

void frmPreview::refresh()
{
    notice_ = notice();
    updateScrollBar();
    InvalidateRect(window_, nullptr, FALSE);
}

std::wstring frmPreview::notice() const
{
    using Kind = PictureChoice::Kind;
    if (state_.folder.empty())
        return kPreviewNoFolder.c_str();
    if (!listed_)
        return kPreviewFolderUnreadable + state_.folder;
    switch (choice_.kind) {
    case Kind::None: return {};
    case Kind::Refused: return kPreviewPictureRefused.c_str();
    case Kind::Withheld: return kPreviewPictureOnServer + choice_.path + kPreviewShowHint;
    case Kind::File: break;
    }
    if (waiting_ || loading_)
        return kPreviewPictureOpening + choice_.path;
    switch (decoded_) {
    case DecodeResult::Decoded: return {};
    case DecodeResult::Missing: return kPreviewPictureMissing + choice_.path;
    case DecodeResult::TooLarge:
        return previewPictureTooLarge(picture_.declared.width, picture_.declared.height, choice_.path);
    case DecodeResult::Undecodable: break;
    }
    return kPreviewPictureUnreadable + choice_.path;
}

PreviewScene frmPreview::scene() const
{
    return {state_, items_, picture_.bitmap ? &picture_ : nullptr, notice_, font_.get(), scrollTop_};
}

PreviewLayout frmPreview::layout() const
{
    RECT client;
    GetClientRect(window_, &client);
    return previewLayout(WindowDC(window_).get(), client, scene());
}

void frmPreview::updateScrollBar()
{
    const PreviewLayout area = layout();
    const int page = std::max(0L, area.icons.bottom - area.icons.top);
    const int content = area.grid.height(items_.size());
    scrollTop_ = std::clamp(scrollTop_, 0, std::max(0, content - page));
    SCROLLINFO bar = {
        sizeof bar, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, content - 1), static_cast<UINT>(page), scrollTop_,
        0};
    SetScrollInfo(window_, SB_VERT, &bar, TRUE);
}

void frmPreview::scrollTo(int top)
{
    const int before = scrollTop_;
    scrollTop_ = top;
    updateScrollBar();
    if (scrollTop_ != before)
        InvalidateRect(window_, nullptr, FALSE);
}

void frmPreview::onScroll(WORD request)
{
    SCROLLINFO bar = {sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window_, SB_VERT, &bar);
    const int line = MulDiv(kPreviewMetrics.lineScroll, screenDpi(), 96);
    const int page = static_cast<int>(bar.nPage);
    switch (request) {
    case SB_LINEUP: scrollTo(scrollTop_ - line); break;
    case SB_LINEDOWN: scrollTo(scrollTop_ + line); break;
    case SB_PAGEUP: scrollTo(scrollTop_ - page); break;
    case SB_PAGEDOWN: scrollTo(scrollTop_ + page); break;
    case SB_TOP: scrollTo(0); break;
    case SB_BOTTOM: scrollTo(bar.nMax); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: scrollTo(bar.nTrackPos); break;
    default: break;
    }
}

void frmPreview::onKeyDown(WPARAM key)
{
    constexpr std::pair<WPARAM, WORD> scrollKeys[] = {{VK_UP, SB_LINEUP},    {VK_DOWN, SB_LINEDOWN},
                                                      {VK_PRIOR, SB_PAGEUP}, {VK_NEXT, SB_PAGEDOWN},
                                                      {VK_HOME, SB_TOP},     {VK_END, SB_BOTTOM}};
    for (const auto& [scrollKey, request] : scrollKeys) {
        if (key == scrollKey)
            onScroll(request);
    }
    if (key == VK_RETURN)
        showWithheldPicture();
    if (key == VK_ESCAPE)
        DestroyWindow(window_);
}

void frmPreview::showWithheldPicture()
{
    if (choice_.kind != PictureChoice::Kind::Withheld)
        return;
    shownAnyway_ = choice_.path;
    showPicture(true);
}

void frmPreview::decodeWaitingPicture()
{
    KillTimer(window_, kPauseTimer);
    if (!waiting_)
        return;
    waiting_ = false;
    startDecoding();
    refresh();
}

void frmPreview::paint(HDC dc, const RECT& area)
{
    paintPreview(dc, area, scene(), icons_);
}

// Painted off screen and copied in one go, so that tiles and captions never flicker.
void frmPreview::onPaint()
{
    PAINTSTRUCT painting;
    const HDC dc = BeginPaint(window_, &painting);
    RECT client;
    GetClientRect(window_, &client);
    const MemoryDC buffer(CreateCompatibleDC(dc));
    const BitmapHandle pixels(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (buffer && pixels) {
        const SelectedObject selected(buffer.get(), pixels.get());
        const RECT& dirty = painting.rcPaint;
        IntersectClipRect(buffer.get(), dirty.left, dirty.top, dirty.right, dirty.bottom);
        paint(buffer.get(), client);
        BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, buffer.get(), dirty.left,
               dirty.top, SRCCOPY);
    }
    EndPaint(window_, &painting);
}

void frmPreview::release()
{
    KillTimer(window_, kPauseTimer);
    waiting_ = false;
    loader_.cancel();
    loading_ = false;
    picture_ = {};
    decodedPath_.clear();
    items_ = {};
    listedFolder_.reset();
    shownAnyway_.clear();
    font_.reset();
}

bool frmPreview::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_ERASEBKGND: result = 1; return true;
    case WM_PAINT: onPaint(); return true;
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(window_, &client);
        paint(reinterpret_cast<HDC>(wParam), client);
        return true;
    }
    case WM_SIZE:
        updateScrollBar();
        InvalidateRect(window_, nullptr, FALSE);
        return true;
    case WM_VSCROLL: onScroll(LOWORD(wParam)); return true;
    case WM_MOUSEWHEEL:
        scrollTo(scrollTop_ - GET_WHEEL_DELTA_WPARAM(wParam) * kPreviewMetrics.lineScroll / WHEEL_DELTA * dpi_ / 96);
        return true;
    case WM_KEYDOWN: onKeyDown(wParam); return true;
    case WM_LBUTTONUP: {
        const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const RECT notice = layout().notice;
        if (PtInRect(&notice, at))
            showWithheldPicture();
        return true;
    }
    case WM_TIMER: decodeWaitingPicture(); return true;
    case kPictureReady:
        if (takePicture())
            refresh();
        return true;
    case WM_SETCURSOR: {
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(window_, &at);
        const RECT notice = layout().notice;
        if (LOWORD(lParam) == HTCLIENT && choice_.kind == PictureChoice::Kind::Withheld && PtInRect(&notice, at)) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            result = TRUE;
            return true;
        }
        return false;
    }
    case WM_DESTROY: release(); return true;
    default: return false;
    }
}
