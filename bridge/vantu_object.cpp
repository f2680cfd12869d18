// The Vantu object: hands the browser's selection and options to the running search bar,
// starting vantu.exe beside this library when the bar is not there.
#include <windows.h>

#include <oleauto.h>

#include <new>

#include "bridge/bridge_logic.h"
#include "bridge/ivantu.h"
#include "bridge/pelka_module.h"
#include "platform/handles.h"
#include "protocol/bar_protocol.h"

namespace pelka {
namespace {

constexpr wchar_t kProgramName[] = L"vantu.exe";

HWND FindBar() {
    return FindWindowW(L"" MORVEL_BAR_CLASS, L"" MORVEL_TITLE);
}

// Starts vantu.exe from this library's directory with its window hidden. The wait for the
// new program is bounded: one that never waits for input must not hold the caller forever.
HWND FindOrStartMainWindow() {
    if (HWND bar = FindBar()) return bar;
    wchar_t modulePath[MAX_PATH] = {};
    const DWORD len = GetModuleFileNameW(ModuleInstance(), modulePath, MAX_PATH);
    if (len == 0 || len >= MAX_PATH) return nullptr;
    wchar_t program[MAX_PATH];
    if (!SiblingPath(program, MAX_PATH, std::wstring_view(modulePath, len), kProgramName))
        return nullptr;

    STARTUPINFOW si = {};
    si.cb = sizeof si;
    // The program outlives this call, so it must not hold the caller's pipes and files open:
    // no handle is inherited, and its standard handles are none rather than the caller's.
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = si.hStdOutput = si.hStdError = nullptr;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(program, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    UniqueKernelHandle process(pi.hProcess);
    UniqueKernelHandle thread(pi.hThread);
    // Waiting for input is not yet having the bar: the program may wait for messages before
    // its bar exists (a busy machine shows it). The bar is looked for until it comes, the
    // program ends (another instance took over) or the time is up.
    const DWORD start = GetTickCount();
    WaitForInputIdle(process.get(), kStartWaitMilliseconds);
    for (;;) {
        if (HWND bar = FindBar()) return bar;
        if (GetTickCount() - start >= kStartWaitMilliseconds ||
            WaitForSingleObject(process.get(), 20) != WAIT_TIMEOUT)
            return FindBar();
    }
}

// The text goes as UTF-16, so that every character of the selection arrives; the bar keeps
// as much of it as its limit allows. More than the bar can ever keep is not sent.
void SendKeyword(HWND bar, const wchar_t* text, UINT units) {
    constexpr UINT kMostUnits = 1024;
    static const wchar_t kEmpty[] = L"";
    COPYDATASTRUCT data = {};
    data.dwData = bar_protocol::kCopyDataUtf16;
    data.cbData = static_cast<DWORD>((units < kMostUnits ? units : kMostUnits) * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(text ? text : kEmpty);
    SendMessageW(bar, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

class Vantu final : public IVantu {
  public:
    explicit Vantu(IUnknown* outer) : outer_(outer ? outer : &inner_) {
        inner_.owner = this;
        LockModule();
    }
    ~Vantu() { UnlockModule(); }
    Vantu(const Vantu&) = delete;
    Vantu& operator=(const Vantu&) = delete;

    IUnknown* Inner() { return &inner_; }

    // IUnknown: always the controlling unknown's.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        return outer_->QueryInterface(riid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return outer_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return outer_->Release(); }

    // IDispatch, served from the type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        const HRESULT hr = VantuTypeInfo(info);
        if (SUCCEEDED(hr)) (*info)->AddRef();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = nullptr;
        const HRESULT hr = VantuTypeInfo(&info, true);
        if (FAILED(hr)) return hr;
        return DispGetIDsOfNames(info, names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = nullptr;
        const HRESULT hr = VantuTypeInfo(&info, true);
        if (FAILED(hr)) return hr;
        return info->Invoke(static_cast<IVantu*>(this), id, flags, params, result, excep, argErr);
    }

    // IVantu
    HRESULT STDMETHODCALLTYPE SetKeyword(BSTR value) override {
        const UINT units = value ? SysStringLen(value) : 0;
        if (HWND bar = FindOrStartMainWindow()) SendKeyword(bar, value, units);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetSearchOpt(LONG sefIndex, LONG engineIndex, LONG mode) override {
        HWND bar = FindOrStartMainWindow();
        if (!bar) return S_OK;
        for (const BridgeMessage& m : SearchOptionMessages(sefIndex, engineIndex, mode))
            SendMessageW(bar, m.message, static_cast<WPARAM>(m.wParam), 0);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetForeground() override {
        if (HWND bar = FindOrStartMainWindow()) {
            SetForegroundWindow(bar);
            SendMessageW(bar, WM_APP_ACTIVATE, 0, 0);
        } else {
            MessageBoxW(nullptr, L"「Morvel」本体が見つかりません。", L"Pelka.dll",
                        MB_OK | MB_ICONERROR);
        }
        return S_OK;
    }

  private:
    // The non-delegating unknown: owns the object's reference count.
    struct InnerUnknown final : public IUnknown {
        Vantu* owner = nullptr;
        LONG refs = 0;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
            if (!out) return E_POINTER;
            if (IsEqualIID(riid, IID_IUnknown)) {
                *out = static_cast<IUnknown*>(this);
            } else if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kIidVantu)) {
                *out = static_cast<IVantu*>(owner);
            } else {
                *out = nullptr;
                return E_NOINTERFACE;
            }
            static_cast<IUnknown*>(*out)->AddRef();
            return S_OK;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs); }
        ULONG STDMETHODCALLTYPE Release() override {
            const LONG n = InterlockedDecrement(&refs);
            if (n == 0) delete owner;
            return n;
        }
    };

    InnerUnknown inner_;
    IUnknown* outer_;
};

} // namespace

HRESULT CreateVantu(IUnknown* outer, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    Vantu* object = new (std::nothrow) Vantu(outer);
    if (!object) return E_OUTOFMEMORY;
    object->Inner()->AddRef();
    // The reference just taken: it frees the object when the interface was refused.
    const ComRef<IUnknown> inner(object->Inner());
    return inner->QueryInterface(riid, out);
}

} // namespace pelka
