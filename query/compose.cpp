#include "query/compose.h"

#include "base/text.h"
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

EncodedKeyword Encode(std::string_view keyword, uint8_t character, const ComposeOptions& options) {
    switch (character) {
    case kCharEuc:
        return EncodeEuc(keyword);
    case kCharNone: {
        EncodedKeyword out;
        ReplaceAll(keyword, " ", "%20", out);
        return out;
    }
    case kCharUtf8:
        return EncodeUtf8(keyword, options.toUtf16);
    default:
        return EncodeShiftJis(keyword);
    }
}

std::string_view Field(const char* field, size_t size) {
    return std::string_view(field, FieldLength(field, size));
}

std::string_view From(std::string_view text, size_t pos) {
    return std::string_view(text.data() + pos, text.size() - pos);
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

UrlText BuildSearchUrl(std::string_view keyword, int mode, const EngineEntry& entry,
                       const ComposeOptions& options) {
    UrlText out;
    // An entry without URL2 always uses URL1.
    int url = mode == 1 && HasUrl2(entry) ? 1 : 0;
    if (entry.UrlMode != 0 && HasUrl2(entry) && (entry.UrlMode & ClassifyKeyword(keyword)) != 0)
        url = 1;
    const std::string_view head = Field(entry.head[url], kHeadSize);
    const std::string_view key = Field(entry.key[url], kKeySize);
    const std::string_view tail = Field(entry.tail[url], kTailSize);

    const EncodedKeyword encoded = Encode(keyword, entry.Character, options);
    if (encoded.cut()) out.MarkCut();
    if (!head.empty() && head[0] == '\\') {
        out.Append("file:///");
        if (head.size() > 1 && head[1] == '\\') {
            out.Append(From(head, 2));
        } else {
            out.Append(Field(options.programDir ? options.programDir : "", kProgramDirSize));
            out.Append(From(head, 1));
        }
    } else {
        // A head with its own scheme keeps it; the others are http addresses.
        if (!StartsWithNoCase(head, "http://") && !StartsWithNoCase(head, "https://"))
            out.Append("http://");
        out.Append(head);
    }
    // The joined keyword goes straight behind the head.
    UrlText joined;
    ReplaceAll(encoded, "%20", key, joined);
    out.Append(joined);
    if (joined.cut()) out.MarkCut();
    out.Append(tail);
    return out;
}

BrowserParameterText BrowserParameters(std::string_view url) {
    BrowserParameterText out;
    if (url.find_first_of(" \"") == std::string_view::npos) {
        out.Append(url);
        return out;
    }
    out.Append('"');
    for (const char c : url) {
        if (c == '"')
            out.Append("%22");
        else
            out.Append(c);
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
    out.Append(trailing, '\\');
    out.Append('"');
    return out;
}
