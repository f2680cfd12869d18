// The enumerator behind the history drop-down, as the system's autocomplete object uses it:
// the keywords newest first as UTF-16, read again from its source at each restart.
#include "ui/bar/history_complete.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"

namespace {

// Takes up to `count` strings; the result of Next goes to hr.
std::vector<std::wstring> Take(IEnumString* e, ULONG count, HRESULT* hr = nullptr) {
    std::vector<LPOLESTR> raw(count + 1, nullptr);
    ULONG fetched = 0;
    const HRESULT r = e->Next(count, raw.data(), &fetched);
    if (hr) *hr = r;
    std::vector<std::wstring> out;
    for (ULONG i = 0; i < fetched; ++i) {
        out.emplace_back(raw[i]);
        CoTaskMemFree(raw[i]);
    }
    return out;
}

// What the source hands out; changed by the test between resets.
std::vector<std::u16string> g_keywords;

void FillFromTest(const void*, OfferedKeywords& out) {
    out.count = 0;
    for (const std::u16string& k : g_keywords)
        out.text[out.count++].Assign(k);
}

const HistorySource FromTest = {nullptr, FillFromTest};

} // namespace

TEST(HistoryStrings, EnumeratesTheSourceAgainAtEachReset) {
    g_keywords = {u"morvel", u"モルベル", u"Mozilla", std::u16string(127, u'x')};
    ComRef<IEnumString> e(CreateHistoryStrings(FromTest));
    ASSERT_TRUE(e);

    HRESULT hr = E_FAIL;
    EXPECT_EQ(Take(e.get(), 2, &hr), (std::vector<std::wstring>{L"morvel", L"モルベル"}));
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(Take(e.get(), 5, &hr),
              (std::vector<std::wstring>{L"Mozilla", std::wstring(127, L'x')}));
    EXPECT_EQ(hr, S_FALSE);
    EXPECT_TRUE(Take(e.get(), 1, &hr).empty());
    EXPECT_EQ(hr, S_FALSE);
    // One at a time without a count, as the object may ask.
    ASSERT_EQ(e->Reset(), S_OK);
    LPOLESTR one = nullptr;
    ASSERT_EQ(e->Next(1, &one, nullptr), S_OK);
    EXPECT_STREQ(one, L"morvel");
    CoTaskMemFree(one);
    LPOLESTR two[2] = {};
    EXPECT_EQ(e->Next(2, two, nullptr), E_INVALIDARG);

    // A search made meanwhile is offered after the next reset, in front.
    g_keywords.insert(g_keywords.begin(), u"new");
    EXPECT_EQ(Take(e.get(), 1), std::vector<std::wstring>{L"モルベル"}); // not before it
    ASSERT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(Take(e.get(), 1), std::vector<std::wstring>{L"new"});

    // Skip and Clone keep their places apart.
    EXPECT_EQ(e->Skip(1), S_OK);
    ComRef<IEnumString> copy;
    ASSERT_EQ(e->Clone(copy.put()), S_OK);
    EXPECT_EQ(Take(copy.get(), 1), std::vector<std::wstring>{L"モルベル"});
    EXPECT_EQ(Take(e.get(), 1), std::vector<std::wstring>{L"モルベル"});
    EXPECT_EQ(e->Skip(9), S_FALSE);
    EXPECT_TRUE(Take(e.get(), 1).empty());

    ComRef<IUnknown> unknown;
    EXPECT_EQ(e->QueryInterface(IID_IUnknown, unknown.put_void()), S_OK);
    ComRef<IUnknown> other;
    EXPECT_EQ(e->QueryInterface(IID_IDispatch, other.put_void()), E_NOINTERFACE);
}
