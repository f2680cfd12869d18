#include "query/suggest_reader.h"

#include "base/wide_text.h"

// The JSON reader is used without exceptions (a failed check is a parse error), event by event
// (no document is built), iteratively (deep nesting cannot exhaust the stack) and with numbers
// as text (they are never looked at).
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

namespace {

// A suggestion as the keyword box takes it: the characters within its limit, read from at most
// that many characters of the string (each unit weighs at least 1).
bool TakeSuggestion(const char* utf8, size_t size, WideKeyword& out) {
    size_t end = 0, characters = 0;
    while (end < size && characters <= kKeywordBoxLimit) {
        ++end;
        while (end < size && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            ++end;
        ++characters;
    }
    WideText<2 * (kKeywordBoxLimit + 1) + 1> wide;
    if (!DecodeUtf8(std::string_view(utf8, end), wide) || wide.empty()) return false;
    const size_t units = KeywordUnitsWithin(wide, kKeywordBoxLimit);
    out.clear();
    for (size_t i = 0; i < units; ++i)
        out.Append(wide[i] < u' ' ? u' ' : wide[i]);
    return true;
}

// Follows the answer's shape: the root array, its first member (the typed text, a string) and
// its second (the list), whose strings are taken. Any other root ends the reading.
class ListHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, ListHandler> {
  public:
    explicit ListHandler(SuggestionList& out) : out_(out) {}

    bool Default() { return Value(false); }
    // The reader's defaults would take numbers and keys as strings.
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return Value(false); }
    bool Key(const char*, rapidjson::SizeType, bool) { return true; }
    bool String(const char* text, rapidjson::SizeType size, bool) {
        if (depth_ == 2 && inList_ && out_.count < kMaxSuggestions &&
            TakeSuggestion(text, size, out_.items[out_.count]))
            ++out_.count;
        return Value(true);
    }
    bool StartObject() { return Open(false); }
    bool EndObject(rapidjson::SizeType) { return Close(); }
    bool StartArray() { return Open(true); }
    bool EndArray(rapidjson::SizeType) { return Close(); }

    bool Shaped() const { return textFirst_ && listSecond_; }

  private:
    bool Value(bool isString) {
        if (depth_ == 0) return false;
        if (depth_ == 1) {
            if (member_ == 0) textFirst_ = isString;
            ++member_;
        }
        return true;
    }
    bool Open(bool isArray) {
        if (depth_ == 0 && !isArray) return false;
        if (depth_ == 1 && member_ == 1 && isArray) inList_ = listSecond_ = true;
        ++depth_;
        return true;
    }
    bool Close() {
        if (--depth_ == 1) {
            inList_ = false;
            ++member_;
        }
        return true;
    }

    SuggestionList& out_;
    size_t depth_ = 0;
    size_t member_ = 0; // members of the root seen
    bool textFirst_ = false;
    bool listSecond_ = false;
    bool inList_ = false;
};

} // namespace

int ReadSuggestions(std::string_view json, SuggestionList& out) {
    out.count = 0;
    if (json.size() > kSuggestAnswerLimit) return 0;
    if (json.size() >= 3 && json[0] == '\xEF' && json[1] == '\xBB' && json[2] == '\xBF')
        json = From(json, 3);
    rapidjson::MemoryStream stream(json.data(), json.size());
    ListHandler handler(out);
    rapidjson::Reader reader;
    constexpr unsigned kFlags = rapidjson::kParseValidateEncodingFlag |
                                rapidjson::kParseIterativeFlag |
                                rapidjson::kParseNumbersAsStringsFlag;
    const bool parsed = !reader.Parse<kFlags>(stream, handler).IsError();
    // A NUL byte looks like the end to the reader: what follows it is no JSON either.
    if (!parsed || stream.Tell() != json.size() || !handler.Shaped()) out.count = 0;
    return out.count;
}
