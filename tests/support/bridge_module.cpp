#include "tests/support/bridge_module.h"

#include "protocol/bar_protocol.h"

namespace bridge_test {

namespace {
StandInBar* g_current = nullptr;
}

bool CopyTo(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

Pelka::Pelka(const std::string& path) : module_(LoadLibraryA(path.c_str())) {
    if (!module_) return;
    const HMODULE m = module_.get();
    canUnload_ = Export<decltype(canUnload_)>(m, "DllCanUnloadNow");
    getClassObject_ = Export<decltype(getClassObject_)>(m, "DllGetClassObject");
    register_ = Export<decltype(register_)>(m, "DllRegisterServer");
    unregister_ = Export<decltype(unregister_)>(m, "DllUnregisterServer");
    if (!canUnload_ || !getClassObject_ || !register_ || !unregister_) module_.reset();
}

IVantu* Pelka::Create() const {
    IClassFactory* factory = nullptr;
    if (FAILED(GetClassObject(pelka::kClsidVantu, IID_IClassFactory,
                              reinterpret_cast<void**>(&factory))))
        return nullptr;
    IVantu* object = nullptr;
    factory->CreateInstance(nullptr, pelka::kIidVantu, reinterpret_cast<void**>(&object));
    factory->Release();
    return object;
}

StandInBar::StandInBar() {
    wnd_.reset(CreateWindowExA(0, MORVEL_BAR_CLASS, MORVEL_TITLE, WS_POPUP | WS_CAPTION, 0, 0, 200,
                               60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    base_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    g_current = this;
}

StandInBar::~StandInBar() {
    g_current = nullptr;
    SetWindowLongPtrA(wnd_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base_));
}

LRESULT CALLBACK StandInBar::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    StandInBar* self = g_current;
    const bool bridgeMessage = msg == WM_COPYDATA || msg == WM_COMMAND || msg == WM_APP_ACTIVATE ||
                               msg == WM_APP_SETOPTION;
    if (!self || !bridgeMessage)
        return self ? CallWindowProcA(self->base_, wnd, msg, wParam, lParam)
                    : DefWindowProcA(wnd, msg, wParam, lParam);
    Message m{msg, wParam, lParam, {}, 0};
    if (msg == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        m.lParam = 0;
        m.wParam = wParam;
        m.cbData = cds->cbData;
        if (cds->lpData) m.data.assign(static_cast<const char*>(cds->lpData), cds->cbData);
        m.kind = cds->dwData;
    }
    self->messages.push_back(m);
    return msg == WM_COMMAND || msg == WM_APP_ACTIVATE;
}

} // namespace bridge_test
