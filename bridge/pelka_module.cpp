// Entry points of Pelka.dll: the library entry, the class factory and self-registration.
#include "bridge/pelka_module.h"

#include <windows.h>

#include <oleauto.h>

#include "bridge/ivantu.h"
#include "bridge/registrar_win.h"

namespace pelka {
namespace {

constexpr UINT kRegistryScriptId = 101;

HINSTANCE g_module = nullptr;
LONG g_locks = 0;
CRITICAL_SECTION g_typeInfoLock;
ITypeInfo* g_typeInfo = nullptr;   // the dispatch view, handed to callers
ITypeInfo* g_vtableInfo = nullptr; // the interface view, which calls through the vtable

// The module's own file; false when the path does not fit.
bool ModulePathW(wchar_t (&path)[MAX_PATH]) {
    const DWORD n = GetModuleFileNameW(g_module, path, MAX_PATH);
    return n != 0 && n < MAX_PATH;
}

HRESULT LoadOwnTypeLib(ITypeLib** lib) {
    wchar_t path[MAX_PATH];
    if (!ModulePathW(path)) return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);
    return LoadTypeLibEx(path, REGKIND_NONE, lib);
}

class ClassFactory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is a static object: references do not keep the library; locks do.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        return CreateVantu(outer, riid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            LockModule();
        else
            UnlockModule();
        return S_OK;
    }
};

ClassFactory g_factory;

} // namespace

HINSTANCE ModuleInstance() {
    return g_module;
}
void LockModule() {
    InterlockedIncrement(&g_locks);
}
void UnlockModule() {
    InterlockedDecrement(&g_locks);
}
LONG ModuleLockCount() {
    return InterlockedCompareExchange(&g_locks, 0, 0);
}

HRESULT VantuTypeInfo(ITypeInfo** info, bool vtableView) {
    *info = nullptr;
    EnterCriticalSection(&g_typeInfoLock);
    HRESULT hr = S_OK;
    if (!g_typeInfo) {
        ITypeLib* lib = nullptr;
        ITypeInfo* dispatchInfo = nullptr;
        ITypeInfo* vtableInfo = nullptr;
        hr = LoadOwnTypeLib(&lib);
        if (SUCCEEDED(hr)) {
            hr = lib->GetTypeInfoOfGuid(kIidVantu, &dispatchInfo);
            lib->Release();
        }
        // A dual interface's dispatch view refers to its interface view as type -1.
        HREFTYPE ref = 0;
        if (SUCCEEDED(hr)) hr = dispatchInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref);
        if (SUCCEEDED(hr)) hr = dispatchInfo->GetRefTypeInfo(ref, &vtableInfo);
        if (SUCCEEDED(hr)) {
            g_typeInfo = dispatchInfo;
            g_vtableInfo = vtableInfo;
        } else if (dispatchInfo) {
            dispatchInfo->Release();
        }
    }
    *info = vtableView ? g_vtableInfo : g_typeInfo;
    LeaveCriticalSection(&g_typeInfoLock);
    return *info ? S_OK : (FAILED(hr) ? hr : E_UNEXPECTED);
}

} // namespace pelka

using namespace pelka;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        InitializeCriticalSection(&g_typeInfoLock);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // At process exit other libraries may be gone already: only an unload by
        // FreeLibrary releases the type information.
        if (!reserved && g_typeInfo) {
            g_vtableInfo->Release();
            g_typeInfo->Release();
        }
        g_typeInfo = g_vtableInfo = nullptr;
        DeleteCriticalSection(&g_typeInfoLock);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, kClsidVantu)) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    HRESULT hr = RunRegistrarResource(g_module, kRegistryScriptId, true);
    if (FAILED(hr)) return hr;
    wchar_t path[MAX_PATH];
    if (!ModulePathW(path)) return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);
    ITypeLib* lib = nullptr;
    hr = LoadTypeLibEx(path, REGKIND_NONE, &lib);
    if (FAILED(hr)) return hr;
    hr = RegisterTypeLib(lib, path, nullptr);
    lib->Release();
    return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    HRESULT hr = RunRegistrarResource(g_module, kRegistryScriptId, false);
    if (FAILED(hr)) return hr;
    ITypeLib* lib = nullptr;
    hr = LoadOwnTypeLib(&lib);
    if (FAILED(hr)) return hr;
    TLIBATTR* attr = nullptr;
    hr = lib->GetLibAttr(&attr);
    if (SUCCEEDED(hr)) {
        // A type library that is not registered is already as unregistering leaves it.
        BSTR registered = nullptr;
        if (SUCCEEDED(QueryPathOfRegTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum,
                                            attr->lcid, &registered))) {
            SysFreeString(registered);
            hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                                   attr->syskind);
        }
        lib->ReleaseTLibAttr(attr);
    }
    lib->Release();
    return hr;
}
