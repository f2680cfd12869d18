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
    if (route.count > 0)
        route.rest = std::u16string_view(text.data() + end + (end < text.size() ? 1 : 0),
                                         text.size() - end - (end < text.size() ? 1 : 0));
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
    std::string_view head(entry.head[0], FieldLength(entry.head[0], kHeadSize));
    if (head.empty() || head[0] == '\\') return out; // a page in or beside the program folder
    // As the search URL is made: a head without its own http or https scheme is an http address.
    std::string_view scheme = "http://";
    for (const std::string_view own : {std::string_view("http://"), std::string_view("https://")}) {
        if (EqualsAsciiNoCase(Slice(head, 0, own.size()), own)) {
            scheme = Slice(head, 0, own.size());
            head.remove_prefix(own.size());
        }
    }
    const std::string_view host = Slice(head, 0, head.find_first_of("/?#"));
    if (host.empty()) return out;
    out.Append(scheme);
    out.Append(host);
    out.Append('/');
    return out;
}
