#include "bridge/registrar_script.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

using pelka::ParseRegistrarScript;
using pelka::ScriptKey;

std::string ReadShippedScript() {
    // The tests run in tests/native of the source tree.
    std::ifstream in("../../bridge/Pelka.rgs", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const ScriptKey* Child(const std::vector<ScriptKey>& keys, const std::string& name) {
    for (const ScriptKey& k : keys)
        if (k.name == name) return &k;
    return nullptr;
}

TEST(RegistrarScript, ShippedScriptDescribesTheClass) {
    const std::string text = ReadShippedScript();
    ASSERT_FALSE(text.empty());
    const auto parse = ParseRegistrarScript(text, {{"MODULE", "C:\\x\\Pelka.dll"}});
    ASSERT_TRUE(parse.ok) << parse.errorOffset;
    ASSERT_EQ(parse.roots.size(), 1u);
    EXPECT_EQ(parse.roots[0].name, "HKCR");
    const auto& top = parse.roots[0].keys;
    ASSERT_EQ(top.size(), 3u);

    const ScriptKey* ver = Child(top, "Pelka.Vantu.1");
    ASSERT_TRUE(ver);
    EXPECT_EQ(ver->defaultValue.text, "Vantu Class");
    EXPECT_FALSE(ver->noRemove || ver->forceRemove);

    const ScriptKey* clsid = Child(top, "CLSID");
    ASSERT_TRUE(clsid);
    EXPECT_TRUE(clsid->noRemove);
    EXPECT_FALSE(clsid->hasDefault);
    const ScriptKey* cls = Child(clsid->children, "{6FD94094-3695-4A5D-9804-5A8DB21EE0EF}");
    ASSERT_TRUE(cls);
    EXPECT_TRUE(cls->forceRemove);
    const ScriptKey* programmable = Child(cls->children, "Programmable");
    ASSERT_TRUE(programmable);
    EXPECT_TRUE(programmable->forceRemove);
    EXPECT_FALSE(programmable->hasDefault);
    const ScriptKey* server = Child(cls->children, "InprocServer32");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->defaultValue.text, "C:\\x\\Pelka.dll");
    ASSERT_EQ(server->values.size(), 1u);
    EXPECT_EQ(server->values[0].name, "ThreadingModel");
    EXPECT_EQ(server->values[0].text, "Apartment");
    EXPECT_TRUE(server->children.empty());
    const ScriptKey* typelib = Child(cls->children, "TypeLib");
    ASSERT_TRUE(typelib);
    EXPECT_EQ(typelib->defaultValue.text, "{9CBD4271-ED34-4478-925C-9D7E8503DB61}");
}

TEST(RegistrarScript, Syntax) {
    const pelka::Replacements table = {{"MODULE", "C:\\it's\\Pelka.dll"}};
    const auto p = ParseRegistrarScript(
        "HKCU { a = s 'x''y %%' { val n = d 0x10 val m = d 42 b { val t = s '' } } "
        "'sp ace' = s %MODULE% }",
        table);
    ASSERT_TRUE(p.ok) << p.errorOffset;
    const auto& keys = p.roots[0].keys;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].defaultValue.text, "x'y %");
    ASSERT_EQ(keys[0].values.size(), 2u);
    EXPECT_EQ(keys[0].values[0].number, 16u);
    EXPECT_EQ(keys[0].values[1].number, 42u);
    ASSERT_EQ(keys[0].children.size(), 1u);
    ASSERT_EQ(keys[0].children[0].values.size(), 1u);
    EXPECT_EQ(keys[0].children[0].values[0].text, "");
    EXPECT_EQ(keys[1].name, "sp ace");
    EXPECT_EQ(keys[1].defaultValue.text, "C:\\it's\\Pelka.dll");
}

TEST(RegistrarScript, MalformedScriptsAreRefused) {
    const char* bad[] = {
        "HKCR",                       // no braces
        "HKCR {",                     // unclosed
        "HKCR { a = s 'x }",          // unterminated quote
        "HKCR { a = q 'x' }",         // unknown value type
        "HKCR { a = d 12z }",         // bad number
        "HKCR { a = d 0x100000000 }", // too large
        "HKCR { val a = s 'x' }",     // value outside a key
        "HKCR { a = s '%NOPE%' }",    // unknown replacement
        "HKCR { a = s '%MODULE' }",   // unclosed replacement
        "HKCR { NoRemove }",
        "HKCR { a = }",
        "{ }",
        "HKCR } ",
    };
    for (const char* text : bad) {
        const auto p = ParseRegistrarScript(text, {{"MODULE", "m"}});
        EXPECT_FALSE(p.ok) << text;
        EXPECT_TRUE(p.roots.empty());
    }
    EXPECT_TRUE(ParseRegistrarScript("", {}).ok);
    EXPECT_TRUE(ParseRegistrarScript("HKCR { }", {}).ok);
}

TEST(RegistrarScript, DeepNestingIsRefusedNotFollowed) {
    std::string deep = "HKCR ";
    for (int i = 0; i < 100000; ++i)
        deep += "k { ";
    EXPECT_FALSE(ParseRegistrarScript(deep, {}).ok);
    std::string fine = "HKCR { ";
    for (int i = 0; i < pelka::kMaxScriptDepth - 1; ++i)
        fine += "k { ";
    for (int i = 0; i < pelka::kMaxScriptDepth; ++i)
        fine += "} ";
    EXPECT_TRUE(ParseRegistrarScript(fine, {}).ok);
}

// Mutations of the shipped script (bytes dropped, changed and cut off, NULs included)
// must come back as a parse or a refusal, never as a crash; run under the sanitizers too.
TEST(RegistrarScript, MutatedScriptsNeverCrash) {
    const std::string base = ReadShippedScript();
    std::mt19937 rng(1234);
    const char alphabet[] = "{}='% \r\n\0aNoRemove";
    for (int round = 0; round < 3000; ++round) {
        std::string s = base;
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits && !s.empty(); ++e) {
            const size_t at = rng() % s.size();
            switch (rng() % 3) {
            case 0:
                s.erase(at, 1 + rng() % 4);
                break;
            case 1:
                s[at] = alphabet[rng() % (sizeof alphabet - 1)];
                break;
            default:
                s.resize(at);
                break;
            }
        }
        (void)ParseRegistrarScript(s, {{"MODULE", "C:\\m.dll"}});
    }
}

} // namespace
