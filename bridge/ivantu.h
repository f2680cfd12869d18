// The automation interface of the bridge object and its identifiers, for the library and
// for early-bound callers. The type library (Pelka.idl.in) describes the same layout.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include "protocol/bridge_identity.h"

namespace pelka {

// A GUID from its registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", at compile time.
constexpr unsigned long HexValue(const char* text, int from, int digits) {
    unsigned long v = 0;
    for (int i = from; i < from + digits; ++i) {
        const char c = text[i];
        v = v * 16 + static_cast<unsigned long>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return v;
}
constexpr GUID GuidFromText(const char (&t)[39]) {
    return {HexValue(t, 1, 8),
            static_cast<unsigned short>(HexValue(t, 10, 4)),
            static_cast<unsigned short>(HexValue(t, 15, 4)),
            {static_cast<unsigned char>(HexValue(t, 20, 2)),
             static_cast<unsigned char>(HexValue(t, 22, 2)),
             static_cast<unsigned char>(HexValue(t, 25, 2)),
             static_cast<unsigned char>(HexValue(t, 27, 2)),
             static_cast<unsigned char>(HexValue(t, 29, 2)),
             static_cast<unsigned char>(HexValue(t, 31, 2)),
             static_cast<unsigned char>(HexValue(t, 33, 2)),
             static_cast<unsigned char>(HexValue(t, 35, 2))}};
}

constexpr GUID kLibId = GuidFromText(PELKA_LIBID);
constexpr GUID kClsidVantu = GuidFromText(PELKA_CLSID);
constexpr GUID kIidVantu = GuidFromText(PELKA_IID);

constexpr WORD kLibMajor = 1;
constexpr WORD kLibMinor = 0;
constexpr LCID kLibLocale = 0x409;

constexpr DISPID kDispSetKeyword = 1;
constexpr DISPID kDispSetSearchOpt = 2;
constexpr DISPID kDispSetForeground = 3;

} // namespace pelka

// Dual interface: the three methods follow the seven slots of IDispatch.
struct IVantu : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SetKeyword(BSTR Value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSearchOpt(LONG SefIdx, LONG EngIdx, LONG SMethod) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetForeground() = 0;
};
