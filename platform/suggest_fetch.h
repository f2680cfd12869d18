// Asks an engine for its suggestions over WinHTTP on a thread of its own, so that the bar
// never waits for the network.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "query/suggest_reader.h"

struct SuggestWorker;

// One request at a time: each Start replaces whatever was waiting or under way, so only the
// newest request's answer is ever delivered. When it brings suggestions, `message` is posted
// to `notify` with wParam = the request's generation, and Take(generation) gives them. A
// request that fails, is refused by the server, times out (500 ms) or is cancelled posts
// nothing and shows nothing. No cookies are sent or kept, nothing comes from a cache, the
// system's proxy settings apply, and an answer longer than kSuggestAnswerLimit is dropped.
// The thread (and WinHTTP) start with the first Start; the destructor cancels what is under
// way and ends the thread without waiting for the network.
class SuggestFetcher {
  public:
    SuggestFetcher();
    SuggestFetcher(const SuggestFetcher&) = delete;
    SuggestFetcher& operator=(const SuggestFetcher&) = delete;
    ~SuggestFetcher();

    // false, after cancelling what was under way, for a URL that may not be asked
    // (IsSuggestUrlAllowed) or is too long, and when the thread cannot be made.
    bool Start(HWND notify, UINT message, const wchar_t* url, uint32_t generation);
    // Nothing more is delivered until the next Start.
    void Cancel();
    // The suggestions of that generation, once, if it is still the newest and not cancelled.
    bool Take(uint32_t generation, SuggestionList& out);

  private:
    std::unique_ptr<SuggestWorker> worker_;
};
