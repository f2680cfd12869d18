// Small owners for Windows handles: every handle the program opens is closed by one.
#pragma once
#include <windows.h>

#include <shellapi.h>
#include <commctrl.h>

#include <utility>

template <typename Traits> class UniqueHandle {
  public:
    using Handle = typename Traits::Handle;
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Traits::Invalid()));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    Handle release() { return std::exchange(h_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }

  private:
    Handle h_ = Traits::Invalid();
};

struct FileHandleTraits { // CreateFile results: INVALID_HANDLE_VALUE means none
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
struct KernelHandleTraits { // process, thread, event, mutex: NULL means none
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::FindClose(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyMenu(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyIcon(h); }
};
struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::FreeLibrary(h); }
};
struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyWindow(h); }
};
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};

struct HeapBlockTraits { // HeapAlloc on the process heap
    using Handle = void*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::HeapFree(::GetProcessHeap(), 0, h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueHeapBlock = UniqueHandle<HeapBlockTraits>;

// A block of the process heap, or an empty owner when there is no memory.
inline UniqueHeapBlock AllocateHeapBlock(size_t size) {
    return UniqueHeapBlock(::HeapAlloc(::GetProcessHeap(), 0, size));
}

struct ScreenDcTraits { // GetDC(nullptr): the screen's device context
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::ReleaseDC(nullptr, h); }
};
struct MemoryDcTraits { // CreateCompatibleDC
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteDC(h); }
};
using UniqueScreenDc = UniqueHandle<ScreenDcTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

struct DropTraits { // the HDROP of WM_DROPFILES: released with DragFinish
    using Handle = HDROP;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DragFinish(h); }
};
using UniqueDrop = UniqueHandle<DropTraits>;

struct PropSheetPageTraits { // CreatePropertySheetPage results not yet handed to a sheet
    using Handle = HPROPSHEETPAGE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyPropertySheetPage(h); }
};
using UniquePropSheetPage = UniqueHandle<PropSheetPageTraits>;
