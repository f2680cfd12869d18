// The suggestion fetcher against the test server: what is delivered, what is never delivered,
// and how fast it lets go of a server that does not answer.
#include "platform/suggest_fetch.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/http_server.h"

namespace {

constexpr UINT kSuggested = WM_APP + 77;

// A message-only window for the fetcher's messages.
class Receiver {
  public:
    Receiver()
        : wnd_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr)) {}
    ~Receiver() { DestroyWindow(wnd_); }
    HWND wnd() const { return wnd_; }

    // The generations posted within ms; with `first`, returns at the first one.
    std::vector<uint32_t> Posted(DWORD ms, bool first = false) {
        std::vector<uint32_t> posted;
        const ULONGLONG end = GetTickCount64() + ms;
        for (;;) {
            MSG msg;
            while (PeekMessageW(&msg, wnd_, 0, 0, PM_REMOVE)) {
                if (msg.message == kSuggested)
                    posted.push_back(static_cast<uint32_t>(msg.wParam));
                else
                    DispatchMessageW(&msg);
            }
            const ULONGLONG now = GetTickCount64();
            if (now >= end || (first && !posted.empty())) return posted;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now),
                                      QS_ALLINPUT);
        }
    }

  private:
    HWND wnd_;
};

ULONGLONG MillisecondsOf(const std::function<void()>& f) {
    const ULONGLONG start = GetTickCount64();
    f();
    return GetTickCount64() - start;
}

class SuggestFetch : public ::testing::Test {
  protected:
    bool Start(uint32_t generation, const std::wstring& path = L"/s?q=to") {
        return fetcher->Start(receiver.wnd(), kSuggested, server.Url(path).c_str(), generation);
    }
    HttpServer server;
    Receiver receiver;
    std::unique_ptr<SuggestFetcher> fetcher = std::make_unique<SuggestFetcher>();
};

TEST_F(SuggestFetch, TheAnswerIsTakenOnce) {
    ASSERT_TRUE(server.Listening());
    server.Answer(u8"[\"to\",[\"tokyo\",\"東京\",\"한\"],[\"\"]]", 200, "Set-Cookie: id=1\r\n");
    ASSERT_TRUE(Start(7));
    EXPECT_EQ(receiver.Posted(3000, true), std::vector<uint32_t>{7});
    SuggestionList list;
    EXPECT_FALSE(fetcher->Take(6, list));
    ASSERT_TRUE(fetcher->Take(7, list));
    const std::u16string expected[] = {u"tokyo", u"東京", u"한"};
    ASSERT_EQ(list.count, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(std::u16string(list.items[i].view()), expected[i]);
    EXPECT_FALSE(fetcher->Take(7, list));

    // The cookie the server set is not sent back.
    ASSERT_TRUE(Start(8, L"/s?q=tok"));
    EXPECT_EQ(receiver.Posted(3000, true), std::vector<uint32_t>{8});
    const std::vector<std::string> lines = server.RequestLines();
    EXPECT_EQ(lines, (std::vector<std::string>{"GET /s?q=to HTTP/1.1", "GET /s?q=tok HTTP/1.1"}));
    for (const std::string& head : server.Requests())
        EXPECT_EQ(head.find("Cookie"), std::string::npos) << head;
}

TEST_F(SuggestFetch, OnlyTheNewestIsDelivered) {
    server.Answer(R"(["q",["a"]])");
    server.Stall(200);
    ASSERT_TRUE(Start(1));
    Sleep(50);
    ASSERT_TRUE(Start(2));
    EXPECT_EQ(receiver.Posted(1500), std::vector<uint32_t>{2});
    SuggestionList list;
    EXPECT_FALSE(fetcher->Take(1, list));
    EXPECT_TRUE(fetcher->Take(2, list));

    ASSERT_TRUE(Start(3));
    fetcher->Cancel();
    EXPECT_TRUE(receiver.Posted(700).empty());
    EXPECT_FALSE(fetcher->Take(3, list));
}

TEST_F(SuggestFetch, AServerThatStallsIsLetGoAtOnce) {
    server.Stall(5000);
    ASSERT_TRUE(Start(1));
    EXPECT_TRUE(receiver.Posted(700).empty());

    ASSERT_TRUE(Start(2));
    Sleep(100);
    EXPECT_LT(MillisecondsOf([&] { fetcher->Cancel(); }), 50u);
    ASSERT_TRUE(Start(3));
    Sleep(100);
    EXPECT_LT(MillisecondsOf([&] { fetcher.reset(); }), 50u);
    EXPECT_TRUE(receiver.Posted(100).empty());
    EXPECT_GE(server.Connections(), 3);
}

TEST_F(SuggestFetch, BadAnswersGiveNothing) {
    const struct {
        const char* what;
        std::function<void(HttpServer&)> set;
    } cases[] = {
        {"garbage", [](HttpServer& s) { s.SetMode(HttpServer::Mode::kGarbage); }},
        {"closed", [](HttpServer& s) { s.SetMode(HttpServer::Mode::kClose); }},
        {"404", [](HttpServer& s) { s.Answer(R"(["q",["a"]])", 404); }},
        {"HTML", [](HttpServer& s) { s.Answer("<html>a</html>"); }},
        {"no suggestions", [](HttpServer& s) { s.Answer(R"(["q",[]])"); }},
        {"over 64 KiB",
         [](HttpServer& s) {
             std::string body = R"(["q",["a"]])";
             body.resize(kSuggestAnswerLimit + 1, ' ');
             s.Answer(body);
         }},
    };
    uint32_t generation = 0;
    for (const auto& c : cases) {
        c.set(server);
        ASSERT_TRUE(Start(++generation)) << c.what;
        EXPECT_TRUE(receiver.Posted(700).empty()) << c.what;
    }
    EXPECT_EQ(server.Connections(), 6);
}

TEST_F(SuggestFetch, OnlyHttpsOrThisMachine) {
    const std::wstring port = std::to_wstring(server.Port());
    const std::wstring refused[] = {
        L"http://example.com/s?q=a",
        L"http://127.0.0.1.example.com:" + port + L"/",
        L"http://user@127.0.0.1:" + port + L"/",
        L"ftp://127.0.0.1:" + port + L"/",
        L"",
    };
    for (const std::wstring& url : refused)
        EXPECT_FALSE(fetcher->Start(receiver.wnd(), kSuggested, url.c_str(), 1));
    EXPECT_FALSE(fetcher->Start(receiver.wnd(), kSuggested, nullptr, 1));
    Sleep(100);
    EXPECT_EQ(server.Connections(), 0);
}

} // namespace
