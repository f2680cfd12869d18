// The bridge as vantu.exe, Pelka.dll, the browser host, the tests and the build know it: its
// file, its identifiers, the browser's context-menu key and the address of the script that
// menu runs. The identifiers are written here once: the build makes the type library's
// source (bridge/Pelka.idl.in) from them, and the registrar script names them as %CLSID% and
// %LIBID%. No Windows needed.
#pragma once
#include <cstddef>
#include <string_view>

#define PELKA_FILE "Pelka.dll"
// Class, type library and interface, in registry form.
#define PELKA_CLSID "{6FD94094-3695-4A5D-9804-5A8DB21EE0EF}"
#define PELKA_LIBID "{9CBD4271-ED34-4478-925C-9D7E8503DB61}"
#define PELKA_IID "{C796E954-035A-4DD3-AC1E-D12F337E0252}"

// Under HKEY_CLASSES_ROOT: the key whose default value names the library serving the class.
#define PELKA_SERVER_KEY "CLSID\\" PELKA_CLSID "\\InprocServer32"
// Under HKEY_CURRENT_USER: the key whose presence means the browser's menu item is on.
#define MORVEL_MENU_EXT_KEY "Software\\Microsoft\\Internet Explorer\\MenuExt\\Morvel"
// The menu key's values besides its default value (the script's address): the item shows
// for selected text (0x10), and no flags.
constexpr unsigned long kMenuExtContexts = 0x10;
constexpr unsigned long kMenuExtFlags = 0;

// The context-menu script's address: "res://" + program directory + "Pelka.dll/SETSTRING",
// in UTF-16. False (out empty) when it does not fit whole in outSize units.
bool MenuExtensionAddress(wchar_t* out, size_t outSize, std::wstring_view programDir);
