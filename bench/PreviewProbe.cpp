// Preview probe: the main window and its preview in this process, on real folders.
// Measures, as medians of RUNS: the time from F3 until the preview shows its picture,
// on a folder with a 1,920 x 1,080 JPEG and on one with a 4,000 x 3,000 JPEG (12
// megapixels); while the large one decodes, the longest the main window takes to answer
// a message sent from another thread; GDI+'s own time to decode the large JPEG; the
// redraw after a caption colour is picked; the painter tiling a 1 x 1 picture over
// 1,920 x 1,080. Before any of that, on the large picture: the working set with the
// main window alone, then once the preview has painted; and on the small picture, the
// working set before and after the picture was replaced five times by a file that
// declares 20,000 x 20,000 pixels and back.
//
// Usage: PreviewProbe RUNS SMALL_FOLDER LARGE_FOLDER LARGE_PICTURE TINY_PICTURE HUGE_PICTURE
// Prints "memory MAIN_KIB PREVIEW_KIB", "replaced BEFORE_KIB AFTER_KIB" and
// "median NAME MILLISECONDS" lines.
// Or: PreviewProbe peak FOLDER, on a folder whose preview picture and folder picture are
// the same large file: the working set with the main window alone, the process's peak
// with the preview (F3) and the icon and comment dialog (F4) both showing it, and the
// working set once both have closed. Prints "peak COLD_KIB ALONE_KIB PEAK_KIB AFTER_KIB"
// (COLD: the main window alone before anything was loaded on first use).
#include "app/frmFolderInfo.h"
#include "app/frmMain.h"
#include "folderview/Win32FolderFiles.h"
#include "preview/PictureDecoder.h"
#include "preview/PreviewPainter.h"
#include "resources/FolderInfoLayout.h"
#include "resources/Texts.h"
#include "support/SystemFunction.h"
#include "undo/Win32JournalStore.h"

#include "Measure.h"
#include "ResponseWatch.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// The system's dialogs, but a colour picker that answers at once with another colour.
class ProbeComponents : public SystemComponents {
public:
    ProbeComponents() : SystemComponents({kAboutTitle, kErrorNumber, kMainCaption}) {}
    std::unique_ptr<ColorDialog> newColorDialog() override { return std::make_unique<Answer>(++picked_); }

private:
    struct Answer : ColorDialog {
        explicit Answer(int picked) : picked_(picked) {}
        bool show() override
        {
            color = picked_ % 2 ? 0x00FFFF : 0x0000FF;
            return true;
        }
        int picked_;
    };
    int picked_ = 0;
};

PROCESS_MEMORY_COUNTERS memoryCounters()
{
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return memory;
}

double workingSetKiB()
{
    return static_cast<double>(memoryCounters().WorkingSetSize) / 1024.0;
}

// The main window on the folder, shown and settled.
std::unique_ptr<frmMain> mainWindow(ProbeComponents& components, Win32FolderFiles& files, const std::wstring& folder)
{
    static Win32JournalStore store; // no command runs here: it is never touched
    auto form = std::make_unique<frmMain>(components, files, store);
    if (!form->show(folder))
        return nullptr;
    pump();
    return form;
}

// Whether the preview shows its picture: the plasma pictures are nowhere the window colour.
bool pictureShown(HWND preview)
{
    RECT client;
    GetClientRect(preview, &client);
    const WindowDC screen(nullptr);
    const MemoryDC dc(CreateCompatibleDC(screen.get()));
    const BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    const SelectedObject selected(dc.get(), bitmap.get());
    SendMessageW(preview, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    return GetPixel(dc.get(), client.right - 2, client.bottom - 2) != window
        || GetPixel(dc.get(), client.right / 2, client.bottom - 2) != window;
}

// Handles messages until the preview shows its picture, for at most 20 seconds. The
// preview is painted to look only after a message was posted (the picture comes by
// one), so that looking costs the decoding no time.
void untilShown()
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    bool posted = true;
    while (millisecondsSince(start) < 20000) {
        const HWND preview = FindWindowW(frmPreview::kClassName, nullptr);
        if (posted && preview && pictureShown(preview))
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        posted = pump();
    }
    std::fwprintf(stderr, L"the preview never showed its picture\n");
}

// F3 as the main window gets it, until the preview shows the picture.
double openPreview(frmMain& form)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    MSG key = {GetDlgItem(form.handle(), txtWorkFolder), WM_KEYDOWN, VK_F3, 1, 0, {}};
    form.preTranslateMessage(key);
    untilShown();
    GdiFlush();
    return millisecondsSince(start);
}

// Whether the dialog's folder picture area shows anything but its background.
bool logoDrawn(HWND dialog)
{
    const HWND area = GetDlgItem(dialog, picLogo);
    RECT bounds;
    GetClientRect(area, &bounds);
    const WindowDC screen(nullptr);
    const MemoryDC dc(CreateCompatibleDC(screen.get()));
    const BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), bounds.right, bounds.bottom));
    const SelectedObject selected(dc.get(), bitmap.get());
    SendMessageW(area, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    return GetPixel(dc.get(), bounds.right / 2, bounds.bottom / 2) != GetSysColor(COLOR_BTNFACE);
}

// Runs in the dialog's own loop: closes it once its picture is drawn, or after 30 seconds.
void CALLBACK closeOnceDrawn(HWND, UINT, UINT_PTR timer, DWORD)
{
    static int ticks = 0;
    const HWND dialog = FindWindowW(frmFolderInfo::kClassName, nullptr);
    if (!dialog || !IsWindowVisible(dialog) || (!logoDrawn(dialog) && ++ticks < 600))
        return;
    KillTimer(nullptr, timer);
    if (ticks >= 600)
        std::fwprintf(stderr, L"the dialog never showed its picture\n");
    ticks = 0;
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

// F3, then F4, on the folder; returns once both have closed.
void showBoth(frmMain& form)
{
    openPreview(form);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, closeOnceDrawn);
    MSG key = {GetDlgItem(form.handle(), txtWorkFolder), WM_KEYDOWN, VK_F4, 1, 0, {}};
    form.preTranslateMessage(key); // returns once the dialog has closed
    KillTimer(nullptr, timer);
    DestroyWindow(FindWindowW(frmPreview::kClassName, nullptr));
    pump();
}

// The peak with the preview and the dialog on the same large picture. A first round
// loads what both load on first use (GDI+ and its codecs, the shell's icons), which
// stays; the working set before and after the second is compared.
int peakOfBoth(const std::wstring& folder)
{
    ProbeComponents components;
    Win32FolderFiles files;
    const auto form = mainWindow(components, files, folder);
    if (!form)
        return 1;
    const double cold = workingSetKiB();
    showBoth(*form);
    const double before = workingSetKiB();
    showBoth(*form);
    std::wprintf(L"peak %.0f %.0f %.0f %.0f\n", cold, before,
                 static_cast<double>(memoryCounters().PeakWorkingSetSize) / 1024.0, workingSetKiB());
    return 0;
}

// The painter alone tiling the picture over a 1,920 x 1,080 bitmap, nothing else drawn.
double tileRedraw(const DecodedPicture& picture)
{
    constexpr int kWidth = 1920, kHeight = 1080;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const MemoryDC dc(CreateCompatibleDC(nullptr));
    const BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const SelectedObject selected(dc.get(), bitmap.get());
    const FolderLookState look;
    const std::vector<PreviewItem> items;
    const std::wstring notice;
    const FontHandle font = iconTitleFont();
    ShellIcons icons;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    paintPreview(dc.get(), {0, 0, kWidth, kHeight}, {look, items, &picture, notice, font.get(), 0}, icons);
    GdiFlush();
    return millisecondsSince(start);
}

// GDI+'s own decoding of the file into its 32-bit pixels, through its flat API.
double decodeWithGdiplus(const std::wstring& path)
{
    struct StartupInput {
        UINT32 version = 1;
        void* callback = nullptr;
        BOOL noThread = FALSE, noCodecs = FALSE;
    };
    struct Rect {
        INT x, y, width, height;
    };
    struct Data {
        UINT width, height;
        INT stride, format;
        void* scan0;
        UINT_PTR reserved;
    };
    const HMODULE gdiplus = systemLibrary(L"gdiplus.dll");
    const auto get = [gdiplus](const char* name) {
        return reinterpret_cast<void (*)()>(GetProcAddress(gdiplus, name));
    };
    const auto startup = reinterpret_cast<int(WINAPI*)(ULONG_PTR*, const StartupInput*, void*)>(get("GdiplusStartup"));
    const auto create = reinterpret_cast<int(WINAPI*)(const WCHAR*, void**)>(get("GdipCreateBitmapFromFile"));
    const auto size = reinterpret_cast<int(WINAPI*)(void*, UINT*)>(get("GdipGetImageWidth"));
    const auto height = reinterpret_cast<int(WINAPI*)(void*, UINT*)>(get("GdipGetImageHeight"));
    const auto lock = reinterpret_cast<int(WINAPI*)(void*, const Rect*, UINT, INT, Data*)>(get("GdipBitmapLockBits"));
    const auto unlock = reinterpret_cast<int(WINAPI*)(void*, Data*)>(get("GdipBitmapUnlockBits"));
    const auto dispose = reinterpret_cast<int(WINAPI*)(void*)>(get("GdipDisposeImage"));
    ULONG_PTR token = 0;
    const StartupInput input;
    if (!startup || startup(&token, &input, nullptr) != 0)
        return -1;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    void* bitmap = nullptr;
    UINT cx = 0, cy = 0;
    if (create(path.c_str(), &bitmap) != 0)
        return -1;
    size(bitmap, &cx);
    height(bitmap, &cy);
    const Rect whole = {0, 0, static_cast<INT>(cx), static_cast<INT>(cy)};
    Data data = {};
    constexpr INT kFormat32bppArgb = 0x0026200A;
    if (lock(bitmap, &whole, 1, kFormat32bppArgb, &data) == 0)
        unlock(bitmap, &data);
    dispose(bitmap);
    return millisecondsSince(start);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wstring(argv[1]) == L"peak")
        return peakOfBoth(argv[2]);
    if (argc != 7) {
        std::fwprintf(stderr,
                      L"Usage: PreviewProbe RUNS SMALL_FOLDER LARGE_FOLDER LARGE_PICTURE TINY_PICTURE "
                      L"HUGE_PICTURE\n");
        return 2;
    }
    const long runs = runsArgument(argv[1]);
    if (runs == 0)
        return 2;
    const std::wstring small = argv[2], large = argv[3];
    ProbeComponents components;
    Win32FolderFiles files;

    {
        const auto form = mainWindow(components, files, large);
        if (!form)
            return 1;
        const double alone = workingSetKiB();
        openPreview(*form);
        pump();
        if (!FindWindowW(frmPreview::kClassName, nullptr))
            return 1;
        std::wprintf(L"memory %.0f %.0f\n", alone, workingSetKiB());
    }
    {
        const auto form = mainWindow(components, files, small);
        if (!form)
            return 1;
        openPreview(*form);
        const double before = workingSetKiB();
        const HWND picture = GetDlgItem(form->handle(), txtPicture);
        const std::wstring own = small + L"\\picture.jpg";
        for (int replaced = 0; replaced < 5; ++replaced) {
            SetWindowTextW(picture, argv[6]);
            pump();
            SetWindowTextW(picture, own.c_str());
            untilShown();
        }
        std::wprintf(L"replaced %.0f %.0f\n", before, workingSetKiB());
    }
    DecodedPicture tiny;
    if (decodePicture(argv[5], tiny) != DecodeResult::Decoded)
        return 1;

    std::vector<double> smallOpen, largeOpen, response, decode, redraw, tile;
    for (long run = 0; run < runs; ++run) {
        for (const auto& [folder, times] : {std::pair {&small, &smallOpen}, std::pair {&large, &largeOpen}}) {
            const auto form = mainWindow(components, files, *folder);
            if (!form)
                return 1;
            ResponseWatch watch(form->handle());
            times->push_back(openPreview(*form));
            if (folder == &large)
                response.push_back(watch.stop());
            pump();
            if (folder == &small) {
                const HWND preview = FindWindowW(frmPreview::kClassName, nullptr);
                LARGE_INTEGER start;
                QueryPerformanceCounter(&start);
                SendMessageW(form->handle(), WM_COMMAND, MAKEWPARAM(cmdBrowseTextColor, BN_CLICKED), 0);
                UpdateWindow(preview);
                GdiFlush();
                redraw.push_back(millisecondsSince(start));
            }
        }
        decode.push_back(decodeWithGdiplus(argv[4]));
        tile.push_back(tileRedraw(tiny));
        std::wprintf(L"run %.1f %.1f %.1f %.1f %.1f %.1f\n", smallOpen.back(), largeOpen.back(), response.back(),
                     decode.back(), redraw.back(), tile.back());
        std::fflush(stdout);
    }
    std::wprintf(L"median open-small %.1f\nmedian open-large %.1f\nmedian response-large %.1f\n"
                 L"median decode-large %.1f\nmedian redraw %.1f\nmedian tile-1x1 %.1f\n",
                 median(smallOpen), median(largeOpen), median(response), median(decode), median(redraw), median(tile));
    return 0;
}
