// The address that asks an engine for its suggestions for the typed text. No Windows needed.
#pragma once
#include <string_view>

#include "engines/engine_entry.h"
#include "query/compose.h"

// The suggestion URL of an entry (its EngineExtras::Suggest template, Shift-JIS, up to its
// field's size) for the text in the bar: the template as UTF-16, each character beyond ASCII
// (and a space or control character) percent-encoded as UTF-8, and every "{searchTerms}"
// replaced by the text encoded in the entry's character code as its search URLs encode a
// keyword (Shift-JIS or EUC-JP bytes; UTF-8 for UTF-8 and for "none"), a space as "%20".
// false, and no request should be made, when the template has no "{searchTerms}", when a
// Shift-JIS or EUC-JP engine cannot be given the text (Shift-JIS cannot say it), when the URL
// would not fit, and when it is no URL that may be asked (IsSuggestUrlAllowed).
bool BuildSuggestUrl(const char* templ, std::u16string_view text, const EngineEntry& entry,
                     const ComposeOptions& options, WideUrlText& out);

// Suggestions are asked over https only, or over plain http from this machine itself
// ("http://127.0.0.1", "http://localhost" or "http://[::1]", with a port or not, nothing else
// in the authority). The scheme and "localhost" are taken without their case.
bool IsSuggestUrlAllowed(std::u16string_view url);
