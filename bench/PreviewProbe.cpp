// Preview probe: the main window and its preview in this process, on real folders.
// Measures, as medians of RUNS: the time from F3 until the preview's first paint is
// complete, on a folder with a 1,920 x 1,080 JPEG and on one with a 4,000 x 3,000 JPEG;
// GDI+'s own time to decode the large JPEG; the redraw after a caption colour is
// picked. Before any of that, on the large picture: the working set with the main
// window alone, then once the preview has painted.
//
// Usage: PreviewProbe RUNS SMALL_FOLDER LARGE_FOLDER LARGE_PICTURE
// Prints "memory MAIN_KIB PREVIEW_KIB" and "median NAME MILLISECONDS" lines.
#include "app/frmMain.h"
#include "folderview/Win32FolderFiles.h"
#include "resources/Texts.h"

#include "Measure.h"

#include <windows.h>

#include <psapi.h>

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

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

double workingSetKiB()
{
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return static_cast<double>(memory.WorkingSetSize) / 1024.0;
}

// The main window on the folder, shown and settled.
std::unique_ptr<frmMain> mainWindow(ProbeComponents& components, Win32FolderFiles& files, const std::wstring& folder)
{
    auto form = std::make_unique<frmMain>(components, files);
    if (!form->show(folder))
        return nullptr;
    pump();
    return form;
}

// F3 as the main window gets it; the preview paints before the key's handling returns.
double openPreview(frmMain& form)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    MSG key = {GetDlgItem(form.handle(), txtWorkFolder), WM_KEYDOWN, VK_F3, 1, 0, {}};
    form.preTranslateMessage(key);
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
    const HMODULE gdiplus = LoadLibraryW(L"gdiplus.dll");
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
    if (argc != 5) {
        std::fwprintf(stderr, L"Usage: PreviewProbe RUNS SMALL_FOLDER LARGE_FOLDER LARGE_PICTURE\n");
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

    std::vector<double> smallOpen, largeOpen, decode, redraw;
    for (long run = 0; run < runs; ++run) {
        for (const auto& [folder, times] : {std::pair {&small, &smallOpen}, std::pair {&large, &largeOpen}}) {
            const auto form = mainWindow(components, files, *folder);
            if (!form)
                return 1;
            times->push_back(openPreview(*form));
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
        std::wprintf(L"run %.1f %.1f %.1f %.1f\n", smallOpen.back(), largeOpen.back(), decode.back(), redraw.back());
        std::fflush(stdout);
    }
    std::wprintf(L"median open-small %.1f\nmedian open-large %.1f\nmedian decode-large %.1f\nmedian redraw %.1f\n",
                 median(smallOpen), median(largeOpen), median(decode), median(redraw));
    return 0;
}
