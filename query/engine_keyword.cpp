#include "query/engine_keyword.h"

namespace {

bool IsSpace(char16_t u) {
    return u == u' ' || u == u'\x3000' || u == u'\t';
}

// A keyword in its folded UTF-16 form.
using FoldedKeyword = WideText<kEngineKeywordSize>;

FoldedKeyword Folded(std::string_view sjis, Cp932ToUtf16 toUtf16) {
    FoldedKeyword out;
    const size_t n = toUtf16(sjis, out.data(), out.capacity());
    out.data()[n] = u'\0';
    out.Measure();
    for (size_t i = 0; i < out.size(); ++i)
        out.data()[i] = FoldKeywordUnit(out[i]);
    return out;
}

std::string_view KeywordOf(const EngineExtras& e) {
    return std::string_view(e.Keyword, FieldLength(e.Keyword, kEngineKeywordSize));
}

} // namespace

bool SameEngineKeyword(std::string_view a, std::string_view b, Cp932ToUtf16 toUtf16) {
    return !a.empty() && Folded(a, toUtf16).view() == Folded(b, toUtf16).view();
}

KeywordRoute RouteByKeyword(std::u16string_view text, const EngineSet& set, Cp932ToUtf16 toUtf16) {
    KeywordRoute route;
    size_t start = 0;
    while (start < text.size() && IsSpace(text[start]))
        ++start;
    size_t end = start;
    while (end < text.size() && !IsSpace(text[end]))
        ++end;
    if (end == start || end - start >= kEngineKeywordSize) return route;
    FoldedKeyword word;
    for (size_t i = start; i < end; ++i)
        word.Append(FoldKeywordUnit(text[i]));
    for (int i = 0; i < set.count; ++i) {
        const std::string_view keyword = KeywordOf(set.extras[i]);
        if (keyword.empty() || Folded(keyword, toUtf16).view() != word.view()) continue;
        if (route.count < kMaxKeywordEngines) route.engines[route.count++] = i;
        ++route.matched;
    }
    if (route.count > 0) route.rest = text.substr(end < text.size() ? end + 1 : end);
    return route;
}

int CountKeywordUsers(const EngineExtras* extras, int count, std::string_view keyword, int except,
                      Cp932ToUtf16 toUtf16) {
    int users = 0;
    for (int i = 0; i < count; ++i)
        if (i != except && SameEngineKeyword(keyword, KeywordOf(extras[i]), toUtf16)) ++users;
    return users;
}

TopPageText TopPageUrl(const EngineEntry& entry) {
    TopPageText out;
    const std::string_view head(entry.head[0], FieldLength(entry.head[0], kHeadSize));
    const size_t mark = head.find("://");
    if (mark == std::string_view::npos || mark == 0) return out;
    for (size_t i = 0; i < mark; ++i) {
        const char c = head[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(i > 0 && other)) return out;
    }
    if (EqualsAsciiNoCase(head.substr(0, mark), "file")) return out;
    const size_t hostEnd = head.find_first_of("/?#", mark + 3);
    const std::string_view site = head.substr(0, hostEnd);
    if (site.size() == mark + 3) return out; // no host
    out.Append(site);
    out.Append('/');
    return out;
}
