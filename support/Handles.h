#pragma once
#include <windows.h>

#include <utility>

// Move-only owner of one Windows handle; Traits says how to close it and which
// value means "none". Every way out of a scope then releases what it made.
template <typename Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::none())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.handle_, Traits::none()));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::none(); }
    void reset(Handle handle = Traits::none())
    {
        if (handle_ != Traits::none())
            Traits::close(handle_);
        handle_ = handle;
    }
    // For APIs that fill in a handle through a pointer.
    Handle* put()
    {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::none();
};

template <typename GdiHandle> struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle none() { return nullptr; }
    static void close(Handle h) { DeleteObject(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle none() { return nullptr; }
    static void close(Handle h) { DestroyIcon(h); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle none() { return nullptr; }
    static void close(Handle h) { RegCloseKey(h); }
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { FindClose(h); }
};

struct MemoryDCTraits {
    using Handle = HDC;
    static Handle none() { return nullptr; }
    static void close(Handle h) { DeleteDC(h); }
};

// A thread or a mutex, whose handle is null, not INVALID_HANDLE_VALUE, when it could not be made.
struct ThreadTraits {
    using Handle = HANDLE;
    static Handle none() { return nullptr; }
    static void close(Handle h) { CloseHandle(h); }
};

// A module loaded by LoadLibraryExW, also one mapped only as data.
struct ModuleTraits {
    using Handle = HMODULE;
    static Handle none() { return nullptr; }
    static void close(Handle h) { FreeLibrary(h); }
};

struct AcceleratorTraits {
    using Handle = HACCEL;
    static Handle none() { return nullptr; }
    static void close(Handle h) { DestroyAcceleratorTable(h); }
};

using FontHandle = UniqueHandle<GdiObjectTraits<HFONT>>;
using BrushHandle = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using IconHandle = UniqueHandle<IconTraits>;
using BitmapHandle = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using RegKey = UniqueHandle<RegKeyTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using MemoryDC = UniqueHandle<MemoryDCTraits>;
using ModuleHandle = UniqueHandle<ModuleTraits>;
using ThreadHandle = UniqueHandle<ThreadTraits>;
using MutexHandle = UniqueHandle<ThreadTraits>;
using AcceleratorTable = UniqueHandle<AcceleratorTraits>;

// A movable global memory block locked for as long as the scope lasts; get() is null
// when it could not be locked.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL memory) : memory_(memory), data_(GlobalLock(memory)) {}
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    ~LockedGlobal()
    {
        if (data_)
            GlobalUnlock(memory_);
    }
    const void* get() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

// An object selected into a device context for as long as the scope lasts; the one it
// replaced goes back, so that the object can then be deleted.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The device context of a window (null: the screen) for as long as the scope lasts.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
