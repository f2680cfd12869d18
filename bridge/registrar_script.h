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
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace pelka {

// Sizes of a parsed script's tables; a script that needs more is refused.
constexpr int kMaxScriptRoots = 8;
constexpr int kMaxScriptKeys = 128;
constexpr int kMaxScriptValues = 64;
constexpr size_t kScriptTextSize = 8192; // every name and text, each with its terminator
constexpr int kNoItem = -1;

struct ScriptValue {
    enum class Kind { String, Number };
    const char* name = ""; // empty for the key's default value
    Kind kind = Kind::String;
    const char* text = "";
    std::uint32_t number = 0;
    int next = kNoItem; // the key's next named value
};

struct ScriptKey {
    const char* name = "";
    bool noRemove = false;
    bool forceRemove = false;
    bool hasDefault = false;
    ScriptValue defaultValue;
    int firstValue = kNoItem; // named values (val), in the order written
    int firstChild = kNoItem;
    int next = kNoItem; // the next key under the same parent
};

struct ScriptRoot {
    const char* name = ""; // as written: HKCR, HKEY_CLASSES_ROOT, ...
    int firstKey = kNoItem;
};

struct Replacement {
    const char* name;
    const char* value;
};

// A parsed script: keys and values are linked by their indexes, and every text points into
// the parse's own buffer, so a parse is neither copied nor moved.
struct ScriptParse {
    ScriptParse() = default;
    ScriptParse(const ScriptParse&) = delete;
    ScriptParse& operator=(const ScriptParse&) = delete;

    bool ok = false;
    std::size_t errorOffset = 0; // where the text stopped making sense (or the tables filled)
    int rootCount = 0;
    int keyCount = 0;
    int valueCount = 0;
    std::size_t textSize = 0;
    ScriptRoot roots[kMaxScriptRoots];
    ScriptKey keys[kMaxScriptKeys];
    ScriptValue values[kMaxScriptValues];
    char text[kScriptTextSize];
};

// Nesting deeper than this is refused rather than followed.
constexpr int kMaxScriptDepth = 32;

// Parses text into out. On a fault out.ok is false and out holds no roots.
void ParseRegistrarScript(std::string_view text, std::initializer_list<Replacement> replacements,
                          ScriptParse& out);

} // namespace pelka
