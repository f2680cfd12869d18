#include "bridge/registrar_script.h"

#include "protocol/bridge_identity.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using pelka::ScriptKey;
using pelka::ScriptParse;
using pelka::ScriptValue;

// A parse on the heap (it is large) with its linked keys and values as lists.
struct Parsed {
    std::unique_ptr<ScriptParse> p = std::make_unique<ScriptParse>();
    const ScriptParse* operator->() const { return p.get(); }

    std::vector<const ScriptKey*> Keys(int first) const {
        std::vector<const ScriptKey*> out;
        for (int k = first; k != pelka::kNoItem; k = p->keys[k].next)
            out.push_back(&p->keys[k]);
        return out;
    }
    std::vector<const ScriptKey*> Top(int root = 0) const { return Keys(p->roots[root].firstKey); }
    std::vector<const ScriptKey*> Children(const ScriptKey& k) const { return Keys(k.firstChild); }
    std::vector<const ScriptValue*> Values(const ScriptKey& k) const {
        std::vector<const ScriptValue*> out;
        for (int v = k.firstValue; v != pelka::kNoItem; v = p->values[v].next)
            out.push_back(&p->values[v]);
        return out;
    }
};

Parsed ParseRegistrarScript(const std::string& text,
                            std::initializer_list<pelka::Replacement> table) {
    Parsed out;
    pelka::ParseRegistrarScript(text, table, *out.p);
    return out;
}

std::string ReadShippedScript() {
    // The tests run in tests/native of the source tree.
    std::ifstream in("../../bridge/Pelka.rgs", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const ScriptKey* Child(const std::vector<const ScriptKey*>& keys, const std::string& name) {
    for (const ScriptKey* k : keys)
        if (k->name == name) return k;
    return nullptr;
}

TEST(RegistrarScript, ShippedScriptDescribesTheClass) {
    const std::string text = ReadShippedScript();
    ASSERT_FALSE(text.empty());
    // The identifiers as the library fills them in; the values stored stay these.
    const auto parse = ParseRegistrarScript(
        text, {{"MODULE", "C:\\x\\Pelka.dll"}, {"CLSID", PELKA_CLSID}, {"LIBID", PELKA_LIBID}});
    ASSERT_TRUE(parse->ok) << parse->errorOffset;
    ASSERT_EQ(parse->rootCount, 1);
    EXPECT_STREQ(parse->roots[0].name, "HKCR");
    const auto top = parse.Top();
    ASSERT_EQ(top.size(), 3u);

    const ScriptKey* ver = Child(top, "Pelka.Vantu.1");
    ASSERT_TRUE(ver);
    EXPECT_STREQ(ver->defaultValue.text, "Vantu Class");
    EXPECT_FALSE(ver->noRemove || ver->forceRemove);

    const ScriptKey* clsid = Child(top, "CLSID");
    ASSERT_TRUE(clsid);
    EXPECT_TRUE(clsid->noRemove);
    EXPECT_FALSE(clsid->hasDefault);
    const ScriptKey* cls = Child(parse.Children(*clsid), "{6FD94094-3695-4A5D-9804-5A8DB21EE0EF}");
    ASSERT_TRUE(cls);
    EXPECT_TRUE(cls->forceRemove);
    const auto classKeys = parse.Children(*cls);
    const ScriptKey* programmable = Child(classKeys, "Programmable");
    ASSERT_TRUE(programmable);
    EXPECT_TRUE(programmable->forceRemove);
    EXPECT_FALSE(programmable->hasDefault);
    const ScriptKey* server = Child(classKeys, "InprocServer32");
    ASSERT_TRUE(server);
    EXPECT_STREQ(server->defaultValue.text, "C:\\x\\Pelka.dll");
    const auto values = parse.Values(*server);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_STREQ(values[0]->name, "ThreadingModel");
    EXPECT_STREQ(values[0]->text, "Apartment");
    EXPECT_TRUE(parse.Children(*server).empty());
    const ScriptKey* typelib = Child(classKeys, "TypeLib");
    ASSERT_TRUE(typelib);
    EXPECT_STREQ(typelib->defaultValue.text, "{9CBD4271-ED34-4478-925C-9D7E8503DB61}");
}

TEST(RegistrarScript, Syntax) {
    const auto p = ParseRegistrarScript(
        "HKCU { a = s 'x''y %%' { val n = d 0x10 val m = d 42 b { val t = s '' } } "
        "'sp ace' = s %MODULE% }",
        {{"MODULE", "C:\\it's\\Pelka.dll"}});
    ASSERT_TRUE(p->ok) << p->errorOffset;
    const auto keys = p.Top();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_STREQ(keys[0]->defaultValue.text, "x'y %");
    const auto values = p.Values(*keys[0]);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_STREQ(values[0]->name, "n");
    EXPECT_EQ(values[0]->kind, ScriptValue::Kind::Number);
    EXPECT_EQ(values[0]->number, 16u);
    EXPECT_EQ(values[1]->number, 42u);
    const auto children = p.Children(*keys[0]);
    ASSERT_EQ(children.size(), 1u);
    const auto inner = p.Values(*children[0]);
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_STREQ(inner[0]->text, "");
    EXPECT_STREQ(keys[1]->name, "sp ace");
    EXPECT_STREQ(keys[1]->defaultValue.text, "C:\\it's\\Pelka.dll");
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
        EXPECT_FALSE(p->ok) << text;
        EXPECT_EQ(p->rootCount, 0);
    }
    EXPECT_TRUE(ParseRegistrarScript("", {})->ok);
    EXPECT_TRUE(ParseRegistrarScript("HKCR { }", {})->ok);
}

// The parse keeps everything in tables of its own: a script that would overrun one is
// refused, one that fills it exactly is not.
TEST(RegistrarScript, ScriptsBeyondTheTablesAreRefused) {
    const auto keys = [](int n) {
        std::string s = "HKCR { ";
        for (int i = 0; i < n; ++i)
            s += "k" + std::to_string(i) + " ";
        return s + "}";
    };
    EXPECT_TRUE(ParseRegistrarScript(keys(pelka::kMaxScriptKeys), {})->ok);
    EXPECT_FALSE(ParseRegistrarScript(keys(pelka::kMaxScriptKeys + 1), {})->ok);

    std::string values = "HKCR { k { ";
    for (int i = 0; i <= pelka::kMaxScriptValues; ++i)
        values += "val v = d 1 ";
    EXPECT_FALSE(ParseRegistrarScript(values + "} }", {})->ok);

    std::string roots;
    for (int i = 0; i <= pelka::kMaxScriptRoots; ++i)
        roots += "HKCR { } ";
    EXPECT_FALSE(ParseRegistrarScript(roots, {})->ok);

    // Long texts, also through a replacement, up to the text buffer's end and past it.
    const std::string path(pelka::kScriptTextSize / 4, 'p');
    std::string texts = "HKCR { ";
    for (int i = 0; i < 3; ++i)
        texts += "k = s '%MODULE%' ";
    EXPECT_TRUE(ParseRegistrarScript(texts + "}", {{"MODULE", path.c_str()}})->ok);
    EXPECT_FALSE(
        ParseRegistrarScript(texts + "k = s %MODULE% k = s '' }", {{"MODULE", path.c_str()}})->ok);
    const std::string exact(pelka::kScriptTextSize - sizeof "HKCR" - 1, 'q');
    EXPECT_TRUE(ParseRegistrarScript("HKCR { " + exact + " }", {})->ok);
    EXPECT_FALSE(ParseRegistrarScript("HKCR { " + exact + "q }", {})->ok);
    EXPECT_FALSE(ParseRegistrarScript("HKCR { " + exact + " '' }", {})->ok);
}

TEST(RegistrarScript, DeepNestingIsRefusedNotFollowed) {
    std::string deep = "HKCR ";
    for (int i = 0; i < 100000; ++i)
        deep += "k { ";
    EXPECT_FALSE(ParseRegistrarScript(deep, {})->ok);
    std::string fine = "HKCR { ";
    for (int i = 0; i < pelka::kMaxScriptDepth - 1; ++i)
        fine += "k { ";
    for (int i = 0; i < pelka::kMaxScriptDepth; ++i)
        fine += "} ";
    EXPECT_TRUE(ParseRegistrarScript(fine, {})->ok);
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
