// The registrar script language of the bridge's "REGISTRY" resource, parsed without
// Windows. A script is a list of root keys (HKCR, HKCU, HKLM, ...), each with nested keys:
//
//   NoRemove CLSID
//   {
//       ForceRemove {guid} = s 'Vantu Class'
//       {
//           InprocServer32 = s '%MODULE%'
//           {
//               val ThreadingModel = s 'Apartment'
//           }
//       }
//   }
//
// Tokens are separated by white space. Names and data are bare words or quoted with single quotes
// ('' stands for one quote).
// "%NAME%" is replaced from the given table ("%%" is one percent sign); an unknown name is
// an error. Values: "s" text, "d" number (decimal or 0x hex). Keys marked NoRemove stay on
// unregistration; ForceRemove keys are deleted with everything below them before they are
// written and are removed whole.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelka {

struct ScriptValue {
    enum class Kind { String, Number };
    std::string name; // empty for the key's default value
    Kind kind = Kind::String;
    std::string text;
    std::uint32_t number = 0;
};

struct ScriptKey {
    std::string name;
    bool noRemove = false;
    bool forceRemove = false;
    bool hasDefault = false;
    ScriptValue defaultValue;
    std::vector<ScriptValue> values; // named values (val)
    std::vector<ScriptKey> children;
};

struct ScriptRoot {
    std::string name; // as written: HKCR, HKEY_CLASSES_ROOT, ...
    std::vector<ScriptKey> keys;
};

using Replacements = std::vector<std::pair<std::string, std::string>>;

struct ScriptParse {
    bool ok = false;
    std::size_t errorOffset = 0; // where the text stopped making sense
    std::vector<ScriptRoot> roots;
};

// Nesting deeper than this is refused rather than followed.
constexpr int kMaxScriptDepth = 32;

ScriptParse ParseRegistrarScript(std::string_view text, const Replacements& replacements);

} // namespace pelka
