// The definition-file rules: which values are required, how long they may be, the first
// failing key, the keys an export writes, and bad input of every kind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engines/definition.h"
#include "engines/profile_text.h"
#include "tests/support/test_entries.h"

namespace {

struct Outcome {
    const char* section;
    const char* key;
};

Outcome Read(const std::string& text, EngineEntry& e) {
    const ProfileText profile(text);
    const DefinitionFault f = EntryFromDefinition(profile.Reader(), e);
    return {f.section, f.key};
}

std::string Fault(const Outcome& o) {
    return o.section ? std::string(o.section) + "/" + o.key : "ok";
}

const std::string kMinimal = "[Data]\nName=N\n[URL1]\nhead=h\nkey=+\n";

bool IsZero(const EngineEntry& e) {
    static const EngineEntry zero = {};
    return std::memcmp(&e, &zero, sizeof e) == 0;
}

// The text an export writes, as the profile writer would lay it out.
std::string Render(const EngineEntry& e, const EngineExtras& extras = EngineExtras{}) {
    DefinitionValue values[kMaxDefinitionValues];
    const int n = DefinitionValues(e, values, extras);
    std::string out, section;
    for (int i = 0; i < n; ++i) {
        if (section != values[i].section) {
            section = values[i].section;
            out += "[" + section + "]\r\n";
        }
        out += std::string(values[i].key) + "=" + values[i].text + "\r\n";
    }
    return out;
}

} // namespace

TEST(Definition, FirstFailingKeyInReadingOrder) {
    const std::string s255(255, 's'), s256(256, 's'), s15(15, 'k'), s16(16, 'k');
    const struct {
        std::string text;
        const char* fault;
    } cases[] = {
        {kMinimal, "ok"},
        {"", "Data/Name"},
        {"not an ini file at all\x01\x02\xff\n==\n[", "Data/Name"},
        {std::string("\x00\x01[Data]\x00Name=x", 16), "Data/Name"},
        {"[Data]\nName=" + std::string(27, 'n') + "\n[URL1]\nhead=h\nkey=+\n", "ok"},
        {"[Data]\nName=" + std::string(28, 'n') + "\n[URL1]\nhead=h\nkey=+\n", "Data/Name"},
        {"[Data]\nName=" + std::string(10000, 'n') + "\n", "Data/Name"},
        {"[Data]\nName=N\n", "URL1/head"},
        {"[Data]\nName=N\n[URL1]\nhead=" + s256 + "\nkey=+\n", "URL1/head"},
        {"[Data]\nName=N\n[URL1]\nhead=" + s255 + "\nkey=" + s15 + "\n", "ok"},
        {"[Data]\nName=N\n[URL1]\nhead=h\n", "URL1/key"},
        {"[Data]\nName=N\n[URL1]\nhead=h\nkey=" + s16 + "\n", "URL1/key"},
        {kMinimal + "tail=" + s256 + "\n", "URL1/tail"},
        {kMinimal + "[URL2]\nhead=" + s256 + "\n", "URL2/head"},
        {kMinimal + "[URL2]\nhead=x\n", "URL2/key"},
        {kMinimal + "[URL2]\nhead=x\nkey=" + s16 + "\n", "URL2/key"},
        {kMinimal + "[URL2]\nhead=x\nkey=-\ntail=" + s256 + "\n", "URL2/tail"},
        {kMinimal + "[URL2]\nkey=-\ntail=t\n", "ok"}, // no head: no URL2 at all
        // Only the Name section: the first missing required key is named.
        {"[URL2]\nhead=x\nkey=y\n", "Data/Name"},
        // Section and key names match without regard to case.
        {"[data]\nNAME=N\n[url1]\nHead=h\nKEY=+\n", "ok"},
    };
    for (const auto& c : cases) {
        EngineEntry e;
        std::memset(&e, 0x55, sizeof e);
        const Outcome o = Read(c.text, e);
        EXPECT_EQ(Fault(o), c.fault) << c.text.substr(0, 60);
        if (o.section) {
            EXPECT_TRUE(IsZero(e)) << "a rejected entry is left zeroed";
        }
    }
}

TEST(Definition, ValuesAndDefaults) {
    EngineEntry e;
    ASSERT_EQ(Fault(Read(kMinimal, e)), "ok");
    EXPECT_STREQ(e.Name, "N");
    EXPECT_EQ(e.Character, 0);
    EXPECT_EQ(e.UrlMode, 0);
    EXPECT_EQ(e.tail[0][0], '\0');
    EXPECT_FALSE(HasUrl2(e));
    // Numbers keep their low 8 bits and are not range-tested; no number reads as 0.
    const struct {
        const char* value;
        int stored;
    } numbers[] = {{"3", 3}, {"7", 7}, {"x", 0}, {"257", 1}, {"-1", 255}, {"", 0}};
    for (const auto& n : numbers) {
        ASSERT_EQ(
            Fault(Read(kMinimal + "[Data]\nCharacter=" + n.value + "\nUrlMode=" + n.value, e)),
            "ok");
        EXPECT_EQ(e.Character, n.stored) << n.value;
        EXPECT_EQ(e.UrlMode, n.stored) << n.value;
    }
    // Duplicate keys: the first wins. A name with the trail byte 0x5C is kept byte for byte.
    ASSERT_EQ(Fault(Read("[Data]\nName=\x83\x5C\x95\x5C\nName=second\n[URL1]\nhead=h\nkey=+\n", e)),
              "ok");
    EXPECT_STREQ(e.Name, "\x83\x5C\x95\x5C");
}

TEST(Definition, ExportWritesTheKeysInOrderAndReadsBackEqual) {
    const EngineEntry plain = MakeEntry("検索", "a.example/?q=", "+");
    DefinitionValue v[kMaxDefinitionValues];
    ASSERT_EQ(DefinitionValues(plain, v), 4);
    const char* expected[][2] = {
        {"Data", "Name"}, {"URL1", "head"}, {"URL1", "key"}, {"URL1", "tail"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(v[i].section, expected[i][0]);
        EXPECT_STREQ(v[i].key, expected[i][1]);
    }
    EXPECT_STREQ(v[3].text, ""); // the tail is written also when empty

    const EngineEntry full = MakeEntry("\x83\x5C表", "u.example/表?q=", "++", "&t=ソ",
                                       "u.example/or?q=", "|", "#x", 3, 9);
    ASSERT_EQ(DefinitionValues(full, v), 9);
    const char* order[] = {"Name", "Character", "UrlMode", "head", "key",
                           "tail", "head",      "key",     "tail"};
    for (int i = 0; i < 9; ++i)
        EXPECT_STREQ(v[i].key, order[i]);
    EXPECT_STREQ(v[1].text, "3");
    EXPECT_STREQ(v[2].text, "9");
    for (const EngineEntry& e : {plain, full}) {
        EngineEntry back;
        ASSERT_EQ(Fault(Read(Render(e), back)), "ok");
        EXPECT_EQ(std::memcmp(&back, &e, sizeof e), 0) << e.Name;
    }
    // A field without its NUL is bounded by the field.
    EngineEntry unbounded = plain;
    std::memset(unbounded.key[0], 'k', sizeof unbounded.key[0]);
    ASSERT_EQ(DefinitionValues(unbounded, v), 4);
    EXPECT_EQ(std::strlen(v[2].text), kKeySize);
}

// The keyword is never required: a value that cannot be a keyword is left out and the entry
// still reads; an export writes it after the name and it reads back.
TEST(Definition, KeywordIsTakenOrLeftOut) {
    const struct {
        std::string line; // in [Data]
        const char* keyword;
    } cases[] = {
        {"", ""},
        {"Keyword=w", "w"},
        {"keyword = \x83\x5C\x95\x5C ", "\x83\x5C\x95\x5C"}, // trimmed; trail byte 0x5C
        {"Keyword=" + std::string(15, 'k'), "kkkkkkkkkkkkkkk"},
        {"Keyword=" + std::string(16, 'k'), ""},
        {"Keyword=" + std::string(5000, 'k'), ""},
        {"Keyword=a b", ""},
        {"Keyword=x\x81\x40y", ""}, // a full-width space
        {"Keyword=ab\x83", ""},     // a lone lead byte
        {"Keyword=\x01", ""},
    };
    for (const auto& c : cases) {
        const ProfileText profile(kMinimal + "[Data]\n" + c.line + "\n");
        EngineEntry e;
        ASSERT_FALSE(EntryFromDefinition(profile.Reader(), e).section) << c.line;
        EngineExtras x;
        std::memset(&x, 0x55, sizeof x);
        ExtrasFromDefinition(profile.Reader(), x);
        EXPECT_STREQ(x.Keyword, c.keyword) << c.line;
        // Exported and read back: the same entry and keyword; no key without a keyword.
        const std::string text = Render(e, x);
        const std::string data = "[Data]\r\nName=N\r\nKeyword=" + std::string(c.keyword) + "\r\n";
        EXPECT_EQ(text.rfind(data, 0) == 0, *c.keyword != '\0') << text; // after the name
        const ProfileText again(text);
        EngineEntry back;
        EngineExtras backX;
        ASSERT_FALSE(EntryFromDefinition(again.Reader(), back).section) << text;
        ExtrasFromDefinition(again.Reader(), backX);
        EXPECT_EQ(std::memcmp(&back, &e, sizeof e), 0) << text;
        EXPECT_STREQ(backX.Keyword, c.keyword) << text;
    }
}

// The suggestion URL, the same way: left out unless it is one, written after the keyword.
TEST(Definition, SuggestIsTakenOrLeftOut) {
    const std::string q = "https://s.example/?q={searchTerms}";
    const std::string long511 = "http://s/?q={searchTerms}&" + std::string(485, 'p');
    const struct {
        std::string line; // in [Data]
        std::string suggest;
    } cases[] = {
        {"", ""},
        {"Suggest=" + q, q},
        {"suggest = http://s/\x8C\x9F?q={searchTerms} ", "http://s/\x8C\x9F?q={searchTerms}"},
        {"Suggest=" + long511 + "p", ""},
        {"Suggest=https://s.example/?q=", ""},
        {"Suggest=https://s.example/\x83?q={searchTerms}", ""}, // a lead byte alone
    };
    for (const auto& c : cases) {
        const ProfileText profile(kMinimal + "[Data]\nKeyword=k\n" + c.line + "\n");
        EngineExtras x;
        std::memset(&x, 0x55, sizeof x);
        ExtrasFromDefinition(profile.Reader(), x);
        EXPECT_STREQ(x.Keyword, "k") << c.line;
        EXPECT_EQ(std::string(x.Suggest), c.suggest) << c.line;
        EngineEntry e;
        ASSERT_FALSE(EntryFromDefinition(profile.Reader(), e).section) << c.line;
        const std::string text = Render(e, x);
        const std::string data = "[Data]\r\nName=N\r\nKeyword=k\r\nSuggest=" + c.suggest + "\r\n";
        EXPECT_EQ(text.rfind(data, 0) == 0, !c.suggest.empty()) << text;
        EngineExtras backX;
        ExtrasFromDefinition(ProfileText(text).Reader(), backX);
        EXPECT_EQ(std::memcmp(&backX, &x, sizeof x), 0) << text;
    }
}

TEST(Definition, ProfileValueStaysInItsBuffer) {
    char buf[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    EXPECT_EQ(ProfileValue(buf, sizeof buf, 100), "abcdefg");
    EXPECT_EQ(ProfileValue(buf, sizeof buf, 3), "abc");
    buf[1] = '\0';
    EXPECT_EQ(ProfileValue(buf, sizeof buf, 7), "a");
    EXPECT_EQ(ProfileValue(buf, 0, 7), "");
    EXPECT_EQ(ProfileValue(nullptr, 8, 7), "");
}
