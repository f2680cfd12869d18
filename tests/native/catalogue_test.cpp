#include "engines/catalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"

namespace {

int Strcmp(const char* a, const char* b) {
    return std::strcmp(a, b);
}

EngineFileCatalogue Make(const std::vector<std::string>& names) {
    EngineFileCatalogue c;
    for (size_t i = 0; i < names.size(); ++i)
        CopyBounded(c.names[i], kCatalogueNameSize, names[i].c_str());
    c.count = static_cast<int>(names.size());
    return c;
}

std::vector<std::string> Names(const EngineFileCatalogue& c) {
    std::vector<std::string> v;
    for (int i = 0; i < kMaxEngineFiles; ++i)
        if (c.names[i][0])
            v.push_back(c.names[i]);
        else
            break;
    return v;
}

TEST(Catalogue, SortsWithTheGivenComparisonAndTheEmptyNameFirst) {
    EngineFileCatalogue c = Make({"b.sef", "a.sef", "A.sef", "", "c.sef"});
    SortCatalogue(c, 5, Strcmp);
    EXPECT_EQ(c.names[0][0], '\0');
    EXPECT_STREQ(c.names[1], "A.sef");
    EXPECT_STREQ(c.names[2], "a.sef");
    EXPECT_STREQ(c.names[3], "b.sef");
    EXPECT_STREQ(c.names[4], "c.sef");
}

TEST(Catalogue, AddKeepsOrderAndRefusesThe33rd) {
    EngineFileCatalogue c = Make({"b.sef", "d.sef"});
    EXPECT_EQ(AddCatalogueName(c, "c.sef", Strcmp), 1);
    EXPECT_EQ(Names(c), (std::vector<std::string>{"b.sef", "c.sef", "d.sef"}));
    EXPECT_EQ(c.count, 3);
    for (int i = 3; i < kMaxEngineFiles; ++i)
        ASSERT_GE(AddCatalogueName(c, ("z" + std::to_string(100 + i) + ".sef").c_str(), Strcmp), 0);
    EXPECT_EQ(AddCatalogueName(c, "a.sef", Strcmp), -1);
    EXPECT_EQ(CatalogueSize(c), 32);
}

TEST(Catalogue, RemoveFirstLastAndMiddleKeepTheRestSortedAndContiguous) {
    struct Case {
        int slot;
        std::vector<std::string> rest;
    } cases[] = {{0, {"b", "c", "d"}}, {3, {"a", "b", "c"}}, {1, {"a", "c", "d"}}};
    for (const Case& k : cases) {
        EngineFileCatalogue c = Make({"a", "b", "c", "d"});
        ASSERT_TRUE(RemoveCatalogueName(c, k.slot, Strcmp));
        EXPECT_EQ(Names(c), k.rest) << k.slot;
        EXPECT_EQ(c.count, 3);
        EXPECT_EQ(c.names[3][0], '\0');
    }
}

TEST(Catalogue, RemoveRefusesTheOnlyNameAndUnusedSlots) {
    EngineFileCatalogue one = Make({"a"});
    EXPECT_FALSE(RemoveCatalogueName(one, 0, Strcmp));
    EngineFileCatalogue two = Make({"a", "b"});
    EXPECT_FALSE(RemoveCatalogueName(two, 2, Strcmp));
    EXPECT_FALSE(RemoveCatalogueName(two, -1, Strcmp));
    EXPECT_EQ(Names(two).size(), 2u);
}

TEST(Catalogue, FindGivesTheLastEqualSlotOrMinusOne) {
    EngineFileCatalogue c = Make({"a", "b", "c"});
    EXPECT_EQ(FindCatalogueName(c, "b", Strcmp), 1);
    EXPECT_EQ(FindCatalogueName(c, "B", Strcmp), -1);
    EXPECT_EQ(FindCatalogueName(c, "", Strcmp), -1);
}

} // namespace

namespace {

// lstrcmpA's order for ASCII names: letters compare without case first, and on a tie the
// lower-case name comes first.
int LikeLstrcmp(const char* a, const char* b) {
    for (const char *p = a, *q = b;; ++p, ++q) {
        const int x = std::tolower(static_cast<unsigned char>(*p));
        const int y = std::tolower(static_cast<unsigned char>(*q));
        if (x != y) return x < y ? -1 : 1;
        if (!*p) break;
    }
    for (const char *p = a, *q = b; *p; ++p, ++q)
        if (*p != *q) return std::islower(static_cast<unsigned char>(*p)) ? -1 : 1;
    return 0;
}

TEST(Catalogue, BAndUpperAAndLowerASortAsTheLocaleComparisonSays) {
    EngineFileCatalogue c = Make({"b.sef", "A.sef", "a.sef"});
    SortCatalogue(c, 3, LikeLstrcmp);
    EXPECT_EQ(Names(c), (std::vector<std::string>{"a.sef", "A.sef", "b.sef"}));
}

} // namespace
