// The parts of the browser host that need no Windows: the native messaging frames on the
// standard streams, the message the extension sends, and the selection turned into the
// keyword the context-menu script of the old browser would have passed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace host {

// Largest message the host takes from the browser (its body, without the length).
constexpr std::uint32_t kMaxMessageBytes = 1024 * 1024;
constexpr std::size_t kLengthBytes = 4;

// Why a message was refused (or kOk). Each has a fixed code that travels in the answer and
// that the extension turns into its Japanese text.
enum class Status {
    kOk,
    kNoMessage,        // the stream ended before any byte of a length
    kShortLength,      // the stream ended inside the length
    kTooLong,          // the length is over kMaxMessageBytes
    kShortBody,        // the stream ended before the body was whole
    kReadFailed,       // the stream could not be read
    kTimedOut,         // the message did not arrive in time
    kInvalidJson,      // not JSON, or JSON that is not an object
    kUnexpectedMember, // a member other than "text"
    kMissingText,      // no "text"
    kTextNotString,    // "text" is not a string
    kInvalidUtf8,      // the text is not well-formed UTF-8
    kEmptyText,        // nothing left after the line breaks and spaces
    kProgramMissing,   // no search bar runs and vantu.exe is not beside the host
    kBridgeMissing,    // Pelka.dll is not beside the host
    kBridgeFailed,     // Pelka.dll did not load or gave no object
    kBarNotFound,      // the program was started but showed no search bar
};

// The code of a status as sent in the answer's "error" member ("ok" for kOk).
const char* StatusCode(Status status);

// Reads up to size bytes into buffer; returns the count (0 at the end of the stream) or -1
// on a read error. A reader may return fewer bytes than asked for at any time.
using ReadFunction = long (*)(void* context, unsigned char* buffer, std::size_t size);

// Reads one frame: a length in the machine's own byte order, then that many bytes. Short
// reads are continued until the frame is whole or the stream ends. A length over the limit
// is refused before any of the body is read.
Status ReadFrame(ReadFunction read, void* context, std::string& body);

// A frame for the browser: the length of body in the machine's byte order, then body.
std::string EncodeFrame(const std::string& body);

// The answer the host sends: {"ok":true} or {"ok":false,"error":"<code>"}.
std::string AnswerJson(Status status);

// Takes the "text" member of the extension's message (a JSON object with that one member)
// and checks that it is well-formed UTF-8. text receives the raw UTF-8 bytes.
Status ParseMessage(const char* json, std::size_t size, std::string& text);

// The selection as the old browser's script handed it over: every CR LF pair becomes one
// space, then leading and trailing spaces go (a lone CR or LF stays; tabs stay too). The
// text ends at its first NUL, as a keyword does on its way to the search bar.
std::string KeywordFromSelection(const std::string& utf8);

// Strict UTF-8 to UTF-16: no overlong forms, no surrogates, nothing above U+10FFFF, no
// truncated sequences. False (out empty) when the text is not well-formed.
bool Utf8ToUtf16(const std::string& utf8, std::u16string& out);

// The whole way from a message body to the keyword in UTF-16: parse, keyword rule, check
// that something is left, convert.
Status KeywordFromMessage(const char* json, std::size_t size, std::u16string& keyword);

} // namespace host
