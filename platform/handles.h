// Small owners for Windows handles: every handle the program opens is closed by one.
#pragma once
#include <windows.h>

#include <shellapi.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>
#include <winhttp.h>

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
    // For the out parameter of a call that hands over a handle: what the owner held is
    // closed first, and the owner takes whatever the call writes.
    Handle* put() {
        reset();
        return &h_;
    }
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

struct InternetTraits { // WinHTTP's sessions, connections and requests
    using Handle = HINTERNET;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::WinHttpCloseHandle(h); }
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
using UniqueInternet = UniqueHandle<InternetTraits>;

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

struct GlobalMemoryTraits { // GlobalAlloc blocks not (or not yet) handed to the clipboard
    using Handle = HGLOBAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::GlobalFree(h); }
};
using UniqueGlobal = UniqueHandle<GlobalMemoryTraits>;

struct EnhMetaFileTraits {
    using Handle = HENHMETAFILE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteEnhMetaFile(h); }
};
using UniqueEnhMetaFile = UniqueHandle<EnhMetaFileTraits>;

// A global memory block locked for the owner's scope; data() is null when it could not be.
class GlobalLockScope {
  public:
    explicit GlobalLockScope(HGLOBAL mem) : mem_(mem), data_(mem ? ::GlobalLock(mem) : nullptr) {}
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    ~GlobalLockScope() {
        if (data_) ::GlobalUnlock(mem_);
    }
    void* data() const { return data_; }

  private:
    HGLOBAL mem_;
    void* data_;
};

// The clipboard, opened by this thread for the owner's scope and closed when it goes.
class ClipboardSession {
  public:
    ClipboardSession() = default;
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() { Close(); }

    bool Open(HWND owner) {
        if (!open_) open_ = ::OpenClipboard(owner) != FALSE;
        return open_;
    }
    bool open() const { return open_; }
    void Close() {
        if (open_) ::CloseClipboard();
        open_ = false;
    }

  private:
    bool open_ = false;
};

// A hotkey registered with RegisterHotKey for a window, unregistered when the owner goes.
class HotKeyRegistration {
  public:
    HotKeyRegistration() = default;
    HotKeyRegistration(const HotKeyRegistration&) = delete;
    HotKeyRegistration& operator=(const HotKeyRegistration&) = delete;
    ~HotKeyRegistration() { reset(); }

    // Registers (modifiers, vk) as hotkey id of wnd, replacing what this owner held.
    bool Register(HWND wnd, int id, UINT modifiers, UINT vk) {
        reset();
        if (!::RegisterHotKey(wnd, id, modifiers, vk)) return false;
        wnd_ = wnd;
        id_ = id;
        return true;
    }
    bool registered() const { return wnd_ != nullptr; }
    void reset() {
        if (wnd_) ::UnregisterHotKey(wnd_, id_);
        wnd_ = nullptr;
    }

  private:
    HWND wnd_ = nullptr;
    int id_ = 0;
};

// A critical section, initialised with its owner and deleted when the owner goes.
class CriticalSection {
  public:
    CriticalSection() { ::InitializeCriticalSection(&cs_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection() { ::DeleteCriticalSection(&cs_); }
    CRITICAL_SECTION* get() { return &cs_; }

  private:
    CRITICAL_SECTION cs_;
};

// Holds a critical section for the owner's scope.
class CriticalSectionLock {
  public:
    explicit CriticalSectionLock(CriticalSection& cs) : cs_(cs) {
        ::EnterCriticalSection(cs_.get());
    }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;
    ~CriticalSectionLock() { ::LeaveCriticalSection(cs_.get()); }

  private:
    CriticalSection& cs_;
};

// A COM interface pointer that releases its reference when it goes.
template <typename T> class ComRef {
  public:
    ComRef() = default;
    explicit ComRef(T* p) : p_(p) {}
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComRef& operator=(ComRef&& o) noexcept {
        if (this != &o) reset(std::exchange(o.p_, nullptr));
        return *this;
    }
    ~ComRef() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the out parameter of a call that hands over a reference: typed, and untyped for
    // the calls that take an interface id (QueryInterface, CoCreateInstance).
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void reset(T* p = nullptr) {
        if (p_) p_->Release();
        p_ = p;
    }
    T* release() { return std::exchange(p_, nullptr); }

  private:
    T* p_ = nullptr;
};

// This thread's membership of a single-threaded COM apartment, left when the owner goes.
class ComApartment {
  public:
    ComApartment() = default;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() { Leave(); }

    bool Enter() {
        if (!entered_) entered_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        return entered_;
    }
    void Leave() {
        if (entered_) ::CoUninitialize();
        entered_ = false;
    }

  private:
    bool entered_ = false;
};

// OleInitialize and its OleUninitialize.
class OleSession {
  public:
    OleSession() : result_(OleInitialize(nullptr)) {}
    ~OleSession() {
        if (SUCCEEDED(result_)) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    bool Ok() const { return SUCCEEDED(result_); }

  private:
    HRESULT result_;
};

struct BstrTraits { // SysAllocString results
    using Handle = BSTR;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::SysFreeString(h); }
};
using UniqueBstr = UniqueHandle<BstrTraits>;

// A VARIANT cleared when it goes.
class UniqueVariant {
  public:
    UniqueVariant() { ::VariantInit(&v_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { ::VariantClear(&v_); }
    VARIANT* get() { return &v_; }
    const VARIANT& operator*() const { return v_; }

  private:
    VARIANT v_;
};
