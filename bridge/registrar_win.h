// Applies the registrar script in the module's "REGISTRY" resource to the registry.
#pragma once
#include <windows.h>

namespace pelka {

// Writes (doRegister) or removes the entries the script describes. "%MODULE%" stands for
// the module's full path. Returns the first registry error as an HRESULT; a script that
// cannot be read or parsed gives DISP_E_EXCEPTION, like the system's registrar.
HRESULT RunRegistrarResource(HMODULE module, UINT resourceId, bool doRegister);

} // namespace pelka
