#include "query/compose.h"

#include "app/text.h"
#include "query/encode.h"
#include "query/text_ops.h"

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::string Encode(std::string_view keyword, uint8_t character, const ComposeOptions& options) {
    switch (character) {
    case kCharEuc:
        return EncodeEuc(keyword);
    case kCharNone:
        return ReplaceAll(keyword, " ", "%20").text;
    case kCharUtf8:
        return EncodeUtf8(keyword, options.toUtf16);
    default:
        return EncodeShiftJis(keyword);
    }
}

} // namespace

int ClassifyKeyword(std::string_view keyword) {
    int bits = 0;
    for (size_t i = 0; i < keyword.size(); ++i) {
        const auto b = static_cast<unsigned char>(keyword[i]);
        if (IsLeadByte(b)) {
            bits |= kClassDouble;
            ++i;
        } else if (b == ' ') {
        } else if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
            bits |= kClassLetter;
        } else if (b >= '0' && b <= '9') {
            bits |= kClassDigit;
        } else {
            bits |= kClassOtherSingle;
        }
    }
    return bits;
}

std::string BuildSearchUrl(std::string_view keyword, int mode, const EngineEntry& entry,
                           const ComposeOptions& options) {
    // An entry without URL2 always uses URL1.
    int url = mode == 1 && HasUrl2(entry) ? 1 : 0;
    if (entry.UrlMode != 0 && HasUrl2(entry) && (entry.UrlMode & ClassifyKeyword(keyword)) != 0)
        url = 1;
    const std::string_view head(entry.head[url], FieldLength(entry.head[url], kHeadSize));
    const std::string_view key(entry.key[url], FieldLength(entry.key[url], kKeySize));
    const std::string_view tail(entry.tail[url], FieldLength(entry.tail[url], kTailSize));

    const std::string encoded = Encode(keyword, entry.Character, options);
    const ReplaceResult joined = ReplaceAll(encoded, "%20", key);

    std::string out;
    out.reserve(head.size() + joined.text.size() + tail.size() + options.programDir.size() + 8);
    if (!head.empty() && head[0] == '\\') {
        out.append("file:///");
        if (head.size() > 1 && head[1] == '\\') {
            out.append(head.substr(2));
        } else {
            out.append(options.programDir);
            out.append(head.substr(1));
        }
    } else {
        // A head with its own scheme keeps it; the others are http addresses.
        if (!StartsWithNoCase(head, "http://") && !StartsWithNoCase(head, "https://"))
            out.append("http://");
        out.append(head);
    }
    out.append(joined.text);
    out.append(tail);
    return out;
}

std::string BrowserParameters(std::string_view url) {
    if (url.find_first_of(" \"") == std::string_view::npos) return std::string(url);
    std::string out = "\"";
    for (const char c : url) {
        if (c == '"')
            out.append("%22");
        else
            out.push_back(c);
    }
    // Backslashes right before the closing quote would escape it: double them.
    // (A trail byte 0x5C of a double-byte character is no backslash.)
    size_t trailing = 0;
    for (size_t i = 0; i < url.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(url[i]))) {
            trailing = 0;
            ++i;
        } else {
            trailing = url[i] == '\\' ? trailing + 1 : 0;
        }
    }
    out.append(trailing, '\\');
    out.push_back('"');
    return out;
}
