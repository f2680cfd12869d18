// Pelka.dll as a component: exports, resources, type library, registration, class factory.
#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <vector>
#include <string>

#include "bridge/ivantu.h"
#include "tests/support/bridge_module.h"
#include "tests/support/file_text.h"
#include "tests/support/registry_table.h"
#include "tests/support/run_program.h"

using namespace bridge_test;

namespace {

std::string ModulePath(HMODULE m) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(m, path, sizeof path);
    return path;
}

std::wstring ModulePathW(HMODULE m) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(m, path, MAX_PATH);
    return path;
}

const std::string kTypeLibVersionKey = kBridgeTypeLibKey + std::string("\\1.0");

void ExpectUnregistered() {
    EXPECT_EQ(RegistryLeftovers(BridgeClassTable("")), "");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibVersionKey.c_str()));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
}

struct ComApartment {
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
};

TEST(BridgeModule, ExportsByOrdinalAndModuleName) {
    Pelka pelka;
    ASSERT_TRUE(pelka.Loaded());
    const char* names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                           "DllUnregisterServer"};
    for (int ordinal = 1; ordinal <= 4; ++ordinal) {
        FARPROC byOrdinal = GetProcAddress(pelka.Module(), MAKEINTRESOURCEA(ordinal));
        EXPECT_NE(byOrdinal, nullptr);
        EXPECT_EQ(byOrdinal, GetProcAddress(pelka.Module(), names[ordinal - 1])) << ordinal;
    }
    // The export directory names the module "Pelka.DLL".
    const auto* base = reinterpret_cast<const BYTE*>(pelka.Module());
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    EXPECT_STREQ(reinterpret_cast<const char*>(base + exports->Name), "Pelka.DLL");
    EXPECT_EQ(exports->Base, 1u);
    EXPECT_EQ(exports->NumberOfFunctions, 4u);
}

TEST(BridgeModule, ResourcesAreJapaneseAndExact) {
    Pelka pelka;
    ASSERT_TRUE(pelka.Loaded());
    const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    struct Res {
        const char* type;
        const char* name;
    } resources[] = {
        {"REGISTRY", MAKEINTRESOURCEA(101)},
        {"TYPELIB", MAKEINTRESOURCEA(1)},
        {RT_HTML, "SETSTRING"},
        {RT_VERSION, MAKEINTRESOURCEA(1)},
    };
    for (const Res& r : resources)
        EXPECT_NE(FindResourceExA(pelka.Module(), r.type, r.name, japanese), nullptr);

    HRSRC res = FindResourceA(pelka.Module(), "SETSTRING", RT_HTML);
    ASSERT_NE(res, nullptr);
    const std::string script(
        static_cast<const char*>(LockResource(LoadResource(pelka.Module(), res))),
        SizeofResource(pelka.Module(), res));
    EXPECT_EQ(script.size(), 242u);
    EXPECT_EQ(script, "<SCRIPT LANGUAGE=\"VBScript\">\r\n"
                      " Set vantu = CreateObject(\"Pelka.Vantu\")\r\n"
                      " vantu.SetKeyword Trim(Replace(external.menuArguments.document.selection."
                      "createRange().text,Chr(13)&Chr(10),\" \"))\r\n"
                      " vantu.SetForeground\r\n"
                      " Set vantu = Nothing\r\n"
                      "</SCRIPT>\r\n");
}

TEST(BridgeModule, VersionStrings) {
    Pelka pelka;
    ASSERT_TRUE(pelka.Loaded());
    UniqueModule version(LoadLibraryA("version.dll"));
    ASSERT_TRUE(version);
    using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    auto size = Export<SizeFn>(version.get(), "GetFileVersionInfoSizeW");
    auto info = Export<InfoFn>(version.get(), "GetFileVersionInfoW");
    auto query = Export<QueryFn>(version.get(), "VerQueryValueW");
    const std::wstring path = ModulePathW(pelka.Module());
    std::vector<BYTE> block(size(path.c_str(), nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(info(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(query(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00040009u);
    const struct {
        const wchar_t* key;
        const wchar_t* value;
    } strings[] = {
        {L"FileVersion", L"1.0.4.9"},
        {L"ProductVersion", L"1.0.4"},
        {L"FileDescription", L"「Morvel」専用 DLL"},
        {L"Comments", L"このDLLは「Morvel」にIE連携機能を提供します。"},
        {L"InternalName", L"Pelka"},
        {L"OriginalFilename", L"Pelka.DLL"},
    };
    for (const auto& s : strings) {
        wchar_t* value = nullptr;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041103a4\\") + s.key;
        ASSERT_TRUE(query(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &len));
        EXPECT_EQ(std::wstring(value), s.value);
    }
}

TEST(BridgeModule, TypeLibraryContent) {
    Pelka pelka;
    ASSERT_TRUE(pelka.Loaded());
    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadTypeLibEx(ModulePathW(pelka.Module()).c_str(), REGKIND_NONE, &lib), S_OK);
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
    EXPECT_TRUE(IsEqualGUID(attr->guid, pelka::kLibId));
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->lcid, 0x409u);
    lib->ReleaseTLibAttr(attr);

    auto doc = [](auto* holder, MEMBERID id, std::wstring& name, std::wstring& help) {
        BSTR n = nullptr, h = nullptr;
        const HRESULT hr = holder->GetDocumentation(id, &n, &h, nullptr, nullptr);
        name = n ? n : L"";
        help = h ? h : L"";
        SysFreeString(n);
        SysFreeString(h);
        return hr;
    };
    std::wstring name, help;
    ASSERT_EQ(doc(lib, -1, name, help), S_OK);
    EXPECT_EQ(name, L"PELKALib");
    EXPECT_EQ(help, L"Pelka 1.0 ﾀｲﾌﾟ ﾗｲﾌﾞﾗﾘ");

    ITypeInfo* coclass = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(pelka::kClsidVantu, &coclass), S_OK);
    TYPEATTR* ta = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&ta), S_OK);
    EXPECT_EQ(ta->typekind, TKIND_COCLASS);
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FCANCREATE);
    coclass->ReleaseTypeAttr(ta);
    ASSERT_EQ(doc(coclass, -1, name, help), S_OK);
    EXPECT_EQ(name, L"Vantu");
    EXPECT_EQ(help, L"Vantu Class");
    INT implFlags = 0;
    EXPECT_EQ(coclass->GetImplTypeFlags(0, &implFlags), S_OK);
    EXPECT_TRUE(implFlags & IMPLTYPEFLAG_FDEFAULT);
    coclass->Release();

    ITypeInfo* dispatch = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(pelka::kIidVantu, &dispatch), S_OK);
    ASSERT_EQ(dispatch->GetTypeAttr(&ta), S_OK);
    EXPECT_EQ(ta->typekind, TKIND_DISPATCH);
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FDUAL);
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FDISPATCHABLE);
    dispatch->ReleaseTypeAttr(ta);
    ASSERT_EQ(doc(dispatch, -1, name, help), S_OK);
    EXPECT_EQ(name, L"IVantu");
    EXPECT_EQ(help, L"IVantu Interface");

    // The interface view: its own methods after the seven slots of IDispatch.
    HREFTYPE ref = 0;
    ASSERT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref), S_OK);
    ITypeInfo* iface = nullptr;
    ASSERT_EQ(dispatch->GetRefTypeInfo(ref, &iface), S_OK);
    ASSERT_EQ(iface->GetTypeAttr(&ta), S_OK);
    EXPECT_EQ(ta->typekind, TKIND_INTERFACE);
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FDUAL);
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FDISPATCHABLE);
    EXPECT_EQ(ta->cFuncs, 3);
    iface->ReleaseTypeAttr(ta);
    const struct {
        MEMBERID id;
        const wchar_t* name;
        const wchar_t* help;
        std::vector<VARTYPE> params;
    } methods[] = {
        {1, L"SetKeyword", L"ﾒｿｯﾄﾞ SetKeyword", {VT_BSTR}},
        {2, L"SetSearchOpt", L"ﾒｿｯﾄﾞ SetSearchOpt", {VT_I4, VT_I4, VT_I4}},
        {3, L"SetForeground", L"ﾒｿｯﾄﾞ SetForeground", {}},
    };
    for (UINT i = 0; i < 3; ++i) {
        FUNCDESC* fd = nullptr;
        ASSERT_EQ(iface->GetFuncDesc(i, &fd), S_OK);
        EXPECT_EQ(fd->memid, methods[i].id);
        EXPECT_EQ(fd->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));
        EXPECT_EQ(fd->elemdescFunc.tdesc.vt, VT_HRESULT);
        ASSERT_EQ(fd->cParams, static_cast<SHORT>(methods[i].params.size()));
        for (SHORT p = 0; p < fd->cParams; ++p) {
            EXPECT_EQ(fd->lprgelemdescParam[p].tdesc.vt, methods[i].params[p]);
            EXPECT_TRUE(fd->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FIN);
        }
        iface->ReleaseFuncDesc(fd);
        ASSERT_EQ(doc(iface, methods[i].id, name, help), S_OK);
        EXPECT_EQ(name, methods[i].name);
        EXPECT_EQ(help, methods[i].help);
    }
    iface->Release();
    dispatch->Release();
    lib->Release();
}

TEST(BridgeModule, RegistrationByDirectCalls) {
    ComApartment com;
    Pelka pelka;
    ASSERT_TRUE(pelka.Loaded());
    const RegTable expected = BridgeClassTable(ModulePath(pelka.Module()));
    pelka.Unregister();
    // Something stale under the class key goes: it is deleted before it is written.
    HKEY stale = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (kBridgeClassKey + std::string("\\Stale")).c_str(),
                              0, nullptr, 0, KEY_WRITE, nullptr, &stale, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(stale);

    ASSERT_EQ(pelka.Register(), S_OK);
    EXPECT_EQ(RegistryDifferences(expected), "");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibVersionKey.c_str()));
    ASSERT_EQ(pelka.Register(), S_OK); // twice: the same entries
    EXPECT_EQ(RegistryDifferences(expected), "");

    ASSERT_EQ(pelka.Unregister(), S_OK);
    ExpectUnregistered();
    // Unregistering what is not registered has nothing left to do: it succeeds, so that the
    // settings sheet's unticked box reports no failure.
    EXPECT_EQ(pelka.Unregister(), S_OK);
    ExpectUnregistered();
}

TEST(BridgeModule, RegistrationWithRegsvr32) {
    const std::string path = ModulePath(Pelka().Module());
    ASSERT_FALSE(path.empty());
    ASSERT_EQ(RunProgram("regsvr32.exe /s \"" + path + "\""), 0u);
    EXPECT_EQ(RegistryDifferences(BridgeClassTable(path)), "");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibVersionKey.c_str()));
    ASSERT_EQ(RunProgram("regsvr32.exe /s \"" + path + "\""), 0u);
    EXPECT_EQ(RegistryDifferences(BridgeClassTable(path)), "");

    // Registered, the class is created by its program id through the system.
    {
        ComApartment com;
        CLSID clsid = {};
        ASSERT_EQ(CLSIDFromProgID(L"Pelka.Vantu", &clsid), S_OK);
        EXPECT_TRUE(IsEqualCLSID(clsid, pelka::kClsidVantu));
        IDispatch* object = nullptr;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&object)),
                  S_OK);
        object->Release();
    }

    ASSERT_EQ(RunProgram("regsvr32.exe /s /u \"" + path + "\""), 0u);
    ExpectUnregistered();
}

TEST(BridgeModule, ClassFactoryAndUnloading) {
    Pelka pelka;
    ASSERT_TRUE(pelka.Loaded());
    EXPECT_EQ(pelka.CanUnloadNow(), S_OK);

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(pelka.GetClassObject(IID_IDispatch, IID_IClassFactory, &out),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(pelka.GetClassObject(pelka::kClsidVantu, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(pelka.CanUnloadNow(), S_OK); // the factory itself holds nothing

    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(pelka.CanUnloadNow(), S_FALSE);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(pelka.CanUnloadNow(), S_OK);

    IUnknown* a = nullptr;
    IVantu* b = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&a)), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, pelka::kIidVantu, reinterpret_cast<void**>(&b)),
              S_OK);
    EXPECT_EQ(pelka.CanUnloadNow(), S_FALSE);

    // The three interfaces and no others; all share one identity.
    IUnknown* unk = nullptr;
    IDispatch* disp = nullptr;
    IVantu* vantu = nullptr;
    ASSERT_EQ(a->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)), S_OK);
    ASSERT_EQ(disp->QueryInterface(pelka::kIidVantu, reinterpret_cast<void**>(&vantu)), S_OK);
    ASSERT_EQ(vantu->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unk)), S_OK);
    EXPECT_EQ(unk, a);
    void* none = nullptr;
    EXPECT_EQ(vantu->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
    EXPECT_EQ(vantu->QueryInterface(IID_IPersist, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    unk->Release();
    vantu->Release();
    disp->Release();
    a->Release();
    EXPECT_EQ(pelka.CanUnloadNow(), S_FALSE); // b is alive
    b->Release();
    EXPECT_EQ(pelka.CanUnloadNow(), S_OK);
    factory->Release();
    EXPECT_EQ(pelka.CanUnloadNow(), S_OK);
}

// An outer object that counts the references the aggregated object hands to it.
struct Outer : IUnknown {
    LONG refs = 1;
    IUnknown* inner = nullptr;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        return inner->QueryInterface(riid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(BridgeModule, Aggregation) {
    Pelka pelka;
    ASSERT_TRUE(pelka.Loaded());
    IClassFactory* factory = nullptr;
    ASSERT_EQ(pelka.GetClassObject(pelka::kClsidVantu, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)),
              S_OK);
    Outer outer;
    void* out = nullptr;
    EXPECT_EQ(factory->CreateInstance(&outer, pelka::kIidVantu, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IDispatch, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(pelka.CanUnloadNow(), S_OK);
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)),
              S_OK);
    EXPECT_EQ(outer.refs, 1); // the inner unknown does not hold the outer

    IVantu* vantu = nullptr;
    ASSERT_EQ(outer.QueryInterface(pelka::kIidVantu, reinterpret_cast<void**>(&vantu)), S_OK);
    EXPECT_EQ(outer.refs, 2); // the interface's references go to the outer object
    IUnknown* identity = nullptr;
    ASSERT_EQ(vantu->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    identity->Release();
    vantu->Release();
    EXPECT_EQ(outer.refs, 1);
    EXPECT_EQ(pelka.CanUnloadNow(), S_FALSE);
    outer.inner->Release();
    EXPECT_EQ(pelka.CanUnloadNow(), S_OK);
    factory->Release();
}

} // namespace
