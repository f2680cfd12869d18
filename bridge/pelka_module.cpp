// Entry points of Pelka.dll: the library entry, the class factory and self-registration.
#include "bridge/pelka_module.h"

#include <windows.h>

#include <oleauto.h>

#include <new>
#include <utility>

#include "platform/handles.h"
#include "bridge/ivantu.h"
#include "bridge/registrar_win.h"

namespace pelka {
namespace {

constexpr UINT kRegistryScriptId = 101;

HINSTANCE g_module = nullptr;
LONG g_locks = 0;

// IVantu's type information, loaded at the first call that needs it. DllMain makes the cache
// at DLL_PROCESS_ATTACH and ends it at DLL_PROCESS_DETACH (no static constructor or
// destructor of the runtime does): at process exit other libraries may be gone already, so
// only an unload by FreeLibrary releases the type information.
struct TypeInfoCache {
    CriticalSection lock;
    ComRef<ITypeInfo> dispatch; // the dispatch view, handed to callers
    ComRef<ITypeInfo> vtable;   // the interface view, which calls through the vtable
};
alignas(TypeInfoCache) unsigned char g_typeInfoSpace[sizeof(TypeInfoCache)];
TypeInfoCache* g_typeInfoCache = nullptr;

// A type library's attributes, handed back to the library when the owner goes.
class LibAttributes {
  public:
    explicit LibAttributes(ITypeLib* lib) : lib_(lib) {}
    LibAttributes(const LibAttributes&) = delete;
    LibAttributes& operator=(const LibAttributes&) = delete;
    ~LibAttributes() {
        if (attr_) lib_->ReleaseTLibAttr(attr_);
    }
    HRESULT Get() { return lib_->GetLibAttr(&attr_); }
    const TLIBATTR* operator->() const { return attr_; }

  private:
    ITypeLib* lib_;
    TLIBATTR* attr_ = nullptr;
};

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
    TypeInfoCache& cache = *g_typeInfoCache;
    const CriticalSectionLock hold(cache.lock);
    HRESULT hr = S_OK;
    if (!cache.dispatch) {
        ComRef<ITypeInfo> dispatchInfo;
        {
            ComRef<ITypeLib> lib;
            hr = LoadOwnTypeLib(lib.put());
            if (SUCCEEDED(hr)) hr = lib->GetTypeInfoOfGuid(kIidVantu, dispatchInfo.put());
        }
        // A dual interface's dispatch view refers to its interface view as type -1.
        ComRef<ITypeInfo> vtableInfo;
        HREFTYPE ref = 0;
        if (SUCCEEDED(hr)) hr = dispatchInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref);
        if (SUCCEEDED(hr)) hr = dispatchInfo->GetRefTypeInfo(ref, vtableInfo.put());
        if (SUCCEEDED(hr)) {
            cache.dispatch = std::move(dispatchInfo);
            cache.vtable = std::move(vtableInfo);
        }
    }
    *info = (vtableView ? cache.vtable : cache.dispatch).get();
    return *info ? S_OK : (FAILED(hr) ? hr : E_UNEXPECTED);
}

} // namespace pelka

using namespace pelka;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        g_typeInfoCache = new (g_typeInfoSpace) TypeInfoCache;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && g_typeInfoCache) {
        // At process exit other libraries may be gone already: only an unload by
        // FreeLibrary releases the type information; at exit its references are left.
        if (reserved) {
            g_typeInfoCache->vtable.release();
            g_typeInfoCache->dispatch.release();
        }
        g_typeInfoCache->~TypeInfoCache();
        g_typeInfoCache = nullptr;
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
    ComRef<ITypeLib> lib;
    hr = LoadTypeLibEx(path, REGKIND_NONE, lib.put());
    if (FAILED(hr)) return hr;
    return RegisterTypeLib(lib.get(), path, nullptr);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    HRESULT hr = RunRegistrarResource(g_module, kRegistryScriptId, false);
    if (FAILED(hr)) return hr;
    ComRef<ITypeLib> lib;
    hr = LoadOwnTypeLib(lib.put());
    if (FAILED(hr)) return hr;
    LibAttributes attr(lib.get());
    hr = attr.Get();
    if (FAILED(hr)) return hr;
    // A type library that is not registered is already as unregistering leaves it.
    UniqueBstr registered;
    const HRESULT found = QueryPathOfRegTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum,
                                                attr->lcid, registered.put());
    if (FAILED(found)) return hr;
    return UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                             attr->syskind);
}
