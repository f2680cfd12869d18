// The automation interface of the bridge object and its identifiers, for the library and
// for early-bound callers. The type library (Pelka.idl) describes the same layout.
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace pelka {

// {9CBD4271-ED34-4478-925C-9D7E8503DB61}
constexpr GUID kLibId = {
    0x9CBD4271, 0xED34, 0x4478, {0x92, 0x5C, 0x9D, 0x7E, 0x85, 0x03, 0xDB, 0x61}};
// {6FD94094-3695-4A5D-9804-5A8DB21EE0EF}
constexpr GUID kClsidVantu = {
    0x6FD94094, 0x3695, 0x4A5D, {0x98, 0x04, 0x5A, 0x8D, 0xB2, 0x1E, 0xE0, 0xEF}};
// {C796E954-035A-4DD3-AC1E-D12F337E0252}
constexpr GUID kIidVantu = {
    0xC796E954, 0x035A, 0x4DD3, {0xAC, 0x1E, 0xD1, 0x2F, 0x33, 0x7E, 0x02, 0x52}};

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
