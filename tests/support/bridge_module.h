// Support for the in-process tests of Pelka.dll: the library loaded from a path, its entry
// points, and a recording stand-in for the search bar.
#pragma once
#include <windows.h>

#include <oleauto.h>

#include <string>
#include <vector>

#include "bridge/ivantu.h"
#include "platform/handles.h"
#include "tests/support/paths.h"
#include "tests/support/temp_dir.h"

namespace bridge_test {

// An export of a library as a function pointer of the given type.
template <typename F> F Export(HMODULE m, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

bool CopyTo(const std::string& from, const std::string& to);

// Pelka.dll loaded for one test, unloaded at the end.
class Pelka {
  public:
    explicit Pelka(const std::string& path = BuiltBridgePath());
    bool Loaded() const { return static_cast<bool>(module_); }
    HMODULE Module() const { return module_.get(); }

    HRESULT CanUnloadNow() const { return canUnload_(); }
    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** out) const {
        return getClassObject_(clsid, riid, out);
    }
    HRESULT Register() const { return register_(); }
    HRESULT Unregister() const { return unregister_(); }

    // A new Vantu object through the class factory (nullptr on failure).
    IVantu* Create() const;

  private:
    UniqueModule module_;
    HRESULT(STDAPICALLTYPE* canUnload_)() = nullptr;
    HRESULT(STDAPICALLTYPE* getClassObject_)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* register_)() = nullptr;
    HRESULT(STDAPICALLTYPE* unregister_)() = nullptr;
};

// A window of the dialog class titled "Morvel" on this thread that records what it gets.
class StandInBar {
  public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::string data; // WM_COPYDATA: the cbData bytes
        DWORD cbData;
        ULONG_PTR kind = 0; // WM_COPYDATA: dwData
        bool operator==(const Message& o) const {
            return message == o.message && wParam == o.wParam && lParam == o.lParam &&
                   data == o.data && cbData == o.cbData && kind == o.kind;
        }
    };
    StandInBar();
    ~StandInBar();
    HWND Window() const { return wnd_.get(); }
    std::vector<Message> messages;

  private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    UniqueWindow wnd_;
    WNDPROC base_ = nullptr;
};

// A BSTR owned for the length of a test.
class Bstr {
  public:
    explicit Bstr(const wchar_t* text) : b_(SysAllocString(text)) {}
    Bstr(const wchar_t* text, UINT units) : b_(SysAllocStringLen(text, units)) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return b_; }

  private:
    BSTR b_;
};

} // namespace bridge_test
