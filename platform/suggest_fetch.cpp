#include "platform/suggest_fetch.h"

#include <new>

#include "base/wide_text.h"
#include "platform/handles.h"
#include "query/compose.h"
#include "query/suggest_url.h"

// WinHTTP runs asynchronously: its calls return at once and report to OnStatus on threads of
// its own, while the worker waits for those reports, for the bar (a newer request, a cancel,
// the end) and for the deadline together. Only the worker calls WinHTTP, so a handle is never
// closed under a call that uses it; to give up a request it closes the request's handle, which
// WinHTTP answers, maybe later, with its last report, HANDLE_CLOSING. What those reports
// touch therefore lives in an Exchange of its own, which that last report frees.

namespace {

constexpr int kTimeoutMs = 500;
constexpr DWORD kReports = WINHTTP_CALLBACK_FLAG_SENDREQUEST_COMPLETE |
                           WINHTTP_CALLBACK_FLAG_HEADERS_AVAILABLE |
                           WINHTTP_CALLBACK_FLAG_READ_COMPLETE |
                           WINHTTP_CALLBACK_FLAG_REQUEST_ERROR | WINHTTP_CALLBACK_FLAG_HANDLES;

// One request's meeting point with WinHTTP: held by the worker and, from the moment it is the
// request's context, by WinHTTP until HANDLE_CLOSING.
struct Exchange {
    LONG refs = 1;
    UniqueKernelHandle reported; // auto-reset: set by each report
    DWORD status = 0;            // the last report
    DWORD bytes = 0;             // what the last read gave
    char answer[kSuggestAnswerLimit + 1];

    void Release() {
        if (::InterlockedDecrement(&refs) == 0) delete this;
    }
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, void*, DWORD length) {
    auto* exchange = reinterpret_cast<Exchange*>(context);
    if (!exchange) return; // the session's and the connection's reports
    if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
        exchange->Release();
        return;
    }
    if (status == WINHTTP_CALLBACK_STATUS_READ_COMPLETE) exchange->bytes = length;
    exchange->status = status;
    ::SetEvent(exchange->reported.get());
}

bool IsLoopbackHost(std::wstring_view host) {
    if (host == L"127.0.0.1" || host == L"::1" || host == L"[::1]") return true;
    if (host.size() != 9) return false;
    for (size_t i = 0; i < 9; ++i)
        if ((host[i] | 0x20) != L"localhost"[i]) return false;
    return true;
}

} // namespace

struct SuggestWorker {
    CriticalSection lock;
    UniqueKernelHandle wake; // auto-reset: a Start, a Cancel or the end
    UniqueKernelHandle thread;

    // Shared with the bar, under the lock.
    bool stop = false;
    bool pending = false; // a request waits for the worker
    bool wanted = false;  // the newest generation's answer is still wanted
    uint32_t newest = 0;
    HWND notify = nullptr;
    UINT message = 0;
    WinText<kUrlSize> url;
    bool ready = false; // result holds the answer of generation `answered`
    uint32_t answered = 0;
    SuggestionList result;

    // The worker's own.
    UniqueInternet session;
    WinText<kUrlSize> target;
    SuggestionList answer;
};

namespace {

bool OpenSession(SuggestWorker& w) {
    if (w.session) return true;
    // The system's proxy settings: the automatic ones where the system has them (Windows 8.1
    // on), else those that netsh winhttp set.
    w.session.reset(::WinHttpOpen(L"Morvel", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                  WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                                  WINHTTP_FLAG_ASYNC));
    if (!w.session)
        w.session.reset(::WinHttpOpen(L"Morvel", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                                      WINHTTP_FLAG_ASYNC));
    if (!w.session) return false;
    // WinHTTP's own waits end with the request's time too, so that a request given up does not
    // linger inside it.
    ::WinHttpSetTimeouts(w.session.get(), kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs);
    if (::WinHttpSetStatusCallback(w.session.get(), OnStatus, kReports, 0) ==
        WINHTTP_INVALID_STATUS_CALLBACK) {
        w.session.reset();
        return false;
    }
    return true;
}

// Waits for the report `expected` on the exchange; false for another report, when the bar
// wants something new (the wake-up is taken: the worker's loop looks at what it wants) and at
// the deadline.
bool Await(SuggestWorker& w, Exchange& x, ULONGLONG deadline, DWORD expected) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return false;
    const HANDLE handles[2] = {w.wake.get(), x.reported.get()};
    const DWORD woken =
        ::WaitForMultipleObjects(2, handles, FALSE, static_cast<DWORD>(deadline - now));
    return woken == WAIT_OBJECT_0 + 1 && x.status == expected;
}

// Sends the request and reads the answer into the exchange; false when there is none.
bool SendAndRead(SuggestWorker& w, HINTERNET request, Exchange& x, ULONGLONG deadline,
                 size_t& size) {
    if (!::WinHttpSendRequest(request, L"Accept: application/x-suggestions+json, */*\r\n",
                              static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA, 0, 0,
                              reinterpret_cast<DWORD_PTR>(&x)) ||
        !Await(w, x, deadline, WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE))
        return false;
    if (!::WinHttpReceiveResponse(request, nullptr) ||
        !Await(w, x, deadline, WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE))
        return false;
    DWORD code = 0, codeSize = sizeof code;
    if (!::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                               WINHTTP_HEADER_NAME_BY_INDEX, &code, &codeSize,
                               WINHTTP_NO_HEADER_INDEX) ||
        code != 200)
        return false;
    size = 0;
    for (;;) { // one byte more than the limit tells a longer answer
        const DWORD room = static_cast<DWORD>(sizeof x.answer - size);
        if (room == 0) return false;
        if (!::WinHttpReadData(request, x.answer + size, room, nullptr) ||
            !Await(w, x, deadline, WINHTTP_CALLBACK_STATUS_READ_COMPLETE))
            return false;
        if (x.bytes == 0) return true;
        size += x.bytes;
    }
}

// The worker's request for w.target: true when it brought suggestions (in w.answer).
bool Fetch(SuggestWorker& w) {
    const ULONGLONG deadline = ::GetTickCount64() + kTimeoutMs;
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUserNameLength = parts.dwUrlPathLength =
        parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!::WinHttpCrackUrl(w.target.c_str(), 0, 0, &parts) || parts.dwUserNameLength != 0 ||
        parts.dwHostNameLength == 0)
        return false;
    const std::wstring_view host(parts.lpszHostName, parts.dwHostNameLength);
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (!secure && !(parts.nScheme == INTERNET_SCHEME_HTTP && IsLoopbackHost(host))) return false;
    WinText<256> hostName(host);
    if (hostName.cut()) return false;
    // The path and query run to the end of the URL; a fragment is not sent.
    wchar_t* path = parts.lpszUrlPath;
    for (wchar_t* p = path; p && *p; ++p)
        if (*p == L'#') *p = L'\0';

    UniqueInternet connection(::WinHttpConnect(w.session.get(), hostName.c_str(), parts.nPort, 0));
    if (!connection) return false;
    UniqueInternet request(::WinHttpOpenRequest(
        connection.get(), L"GET", path && *path ? path : L"/", nullptr, WINHTTP_NO_REFERER,
        WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_REFRESH | (secure ? WINHTTP_FLAG_SECURE : 0)));
    if (!request) return false;
    // No cookies either way; no redirects away from this machine.
    DWORD disabled = WINHTTP_DISABLE_COOKIES | (secure ? 0 : WINHTTP_DISABLE_REDIRECTS);
    if (!::WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disabled,
                            sizeof disabled))
        return false;

    Exchange* x = new (std::nothrow) Exchange;
    if (!x) return false;
    x->reported.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(x);
    if (!x->reported) {
        x->Release();
        return false;
    }
    ::InterlockedIncrement(&x->refs); // WinHTTP's, given back with HANDLE_CLOSING
    if (!::WinHttpSetOption(request.get(), WINHTTP_OPTION_CONTEXT_VALUE, &context,
                            sizeof context)) {
        ::InterlockedDecrement(&x->refs);
        x->Release();
        return false;
    }
    size_t size = 0;
    const bool answered = SendAndRead(w, request.get(), *x, deadline, size);
    request.reset(); // gives up whatever is still under way
    const bool any = answered && ReadSuggestions(std::string_view(x->answer, size), w.answer) > 0;
    x->Release();
    return any;
}

DWORD WINAPI RunWorker(void* param) {
    SuggestWorker& w = *static_cast<SuggestWorker*>(param);
    for (;;) {
        uint32_t generation = 0;
        {
            CriticalSectionLock hold(w.lock);
            if (w.stop) break;
            if (w.pending) {
                // What woke the worker up to now is in what it takes (the bar sets the event
                // under the lock): only a later wake-up gives this request up.
                ::ResetEvent(w.wake.get());
                w.pending = false;
                generation = w.newest;
                w.target.Assign(w.url);
            }
        }
        if (w.target.empty()) {
            ::WaitForSingleObject(w.wake.get(), INFINITE);
            continue;
        }
        const bool any = OpenSession(w) && Fetch(w);
        w.target.clear();
        if (!any) continue;
        HWND notify = nullptr;
        UINT message = 0;
        {
            CriticalSectionLock hold(w.lock);
            // A newer request or a cancel since: this answer is nobody's.
            if (w.stop || w.pending || !w.wanted || w.newest != generation) continue;
            w.result = w.answer;
            w.answered = generation;
            w.ready = true;
            notify = w.notify;
            message = w.message;
        }
        ::PostMessageW(notify, message, generation, 0);
    }
    w.session.reset();
    return 0;
}

} // namespace

SuggestFetcher::SuggestFetcher() = default;

SuggestFetcher::~SuggestFetcher() {
    if (!worker_ || !worker_->thread) return;
    {
        CriticalSectionLock hold(worker_->lock);
        worker_->stop = true;
        ::SetEvent(worker_->wake.get());
    }
    ::WaitForSingleObject(worker_->thread.get(), INFINITE);
}

bool SuggestFetcher::Start(HWND notify, UINT message, const wchar_t* url, uint32_t generation) {
    const size_t length = url ? std::wstring_view(url).size() : 0;
    const bool allowed =
        url && length < kUrlSize &&
        IsSuggestUrlAllowed(std::u16string_view(reinterpret_cast<const char16_t*>(url), length));
    if (!allowed) {
        Cancel();
        return false;
    }
    if (!worker_) {
        worker_.reset(new (std::nothrow) SuggestWorker);
        if (!worker_) return false;
    }
    SuggestWorker& w = *worker_;
    if (!w.wake) w.wake.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!w.wake) return false;
    if (!w.thread) w.thread.reset(::CreateThread(nullptr, 0, RunWorker, &w, 0, nullptr));
    if (!w.thread) return false;
    {
        CriticalSectionLock hold(w.lock);
        w.notify = notify;
        w.message = message;
        w.url.Assign(std::wstring_view(url, length));
        w.newest = generation;
        w.pending = w.wanted = true;
        w.ready = false;
        ::SetEvent(w.wake.get());
    }
    return true;
}

void SuggestFetcher::Cancel() {
    if (!worker_) return;
    {
        CriticalSectionLock hold(worker_->lock);
        worker_->pending = worker_->wanted = worker_->ready = false;
        if (worker_->wake) ::SetEvent(worker_->wake.get());
    }
}

bool SuggestFetcher::Take(uint32_t generation, SuggestionList& out) {
    if (!worker_) return false;
    CriticalSectionLock hold(worker_->lock);
    if (!worker_->ready || !worker_->wanted || worker_->answered != generation ||
        worker_->newest != generation)
        return false;
    out = worker_->result;
    worker_->ready = false;
    return true;
}
