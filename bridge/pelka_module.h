// The component module of Pelka.dll: instance handle, lock count and type information.
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace pelka {

HINSTANCE ModuleInstance();

// The module's lock count: live objects and class factory locks.
void LockModule();
void UnlockModule();
LONG ModuleLockCount();

// IVantu's type information from the library's own type library, loaded once: the dispatch
// view, or with vtableView the dual interface's own view (for names and calls). The result
// is borrowed (not AddRef'd) and lives until the library is unloaded.
HRESULT VantuTypeInfo(ITypeInfo** info, bool vtableView = false);

// Creates a Vantu object, aggregated when outer is given (then riid must be IUnknown).
HRESULT CreateVantu(IUnknown* outer, REFIID riid, void** out);

} // namespace pelka
