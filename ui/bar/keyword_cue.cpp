#include "ui/bar/keyword_cue.h"

#include <commctrl.h>

#include "platform/win_text.h"
#include "query/encode.h"
#include "query/engine_keyword.h"
#include "query/keyword.h"
#include "query/text_ops.h"

namespace {

constexpr UINT_PTR kCueTool = 1;
constexpr int kGap = 2; // pixels between the bar and the cue
using CueText = WinText<kMaxKeywordEngines*(kNameSize + 2) + 64>;

// What the cue says for the route, e.g. "→ Wikipedia で検索".
CueText CueFor(const SearchBar& bar, const KeywordRoute& route) {
    const EngineSet& set = bar.app.activeSet;
    const bool alone = NormaliseKeyword(route.rest).empty();
    CueText text(L"→ ");
    if (route.count == 1) {
        AppendSjis(text,
                   std::string_view(set.entries[route.engines[0]].Name,
                                    FieldLength(set.entries[route.engines[0]].Name, kNameSize)));
        text.Append(alone ? L" のトップページを開きます" : L" で検索します");
        return text;
    }
    wchar_t count[16];
    wsprintfW(count, L"%d", route.count);
    text.Append(View(count));
    text.Append(alone ? L" つの検索エンジンのトップページを開きます: "
                      : L" つの検索エンジンで検索します: ");
    for (int k = 0; k < route.count; ++k) {
        if (k > 0) text.Append(L"、");
        const EngineEntry& e = set.entries[route.engines[k]];
        AppendSjis(text, std::string_view(e.Name, FieldLength(e.Name, kNameSize)));
    }
    return text;
}

TOOLINFOW CueTool(const SearchBar& bar, wchar_t* text) {
    TOOLINFOW ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = bar.wnd;
    ti.uId = kCueTool;
    ti.hinst = bar.app.instance;
    ti.lpszText = text;
    return ti;
}

// Above the bar, at the keyword box's left edge; below the bar when the screen has no room
// above it (the history drop-down then opens over it).
POINT CuePosition(const SearchBar& bar, SIZE tip) {
    RECT window = {}, box = {};
    GetWindowRect(bar.wnd, &window);
    GetWindowRect(bar.keyword, &box);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(bar.wnd, MONITOR_DEFAULTTONEAREST), &monitor);
    POINT at = {box.left, window.top - kGap - tip.cy};
    if (at.y < monitor.rcWork.top) at.y = window.bottom + kGap;
    return at;
}

} // namespace

namespace {

void CreateKeywordCue(SearchBar& bar) {
    bar.cue =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, bar.wnd, nullptr, bar.app.instance, nullptr);
    if (!bar.cue) return;
    wchar_t empty[] = L"";
    TOOLINFOW ti = CueTool(bar, empty);
    SendMessageW(bar.cue, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(bar.cue, TTM_SETMAXTIPWIDTH, 0, 480);
}

} // namespace

void HideKeywordCue(SearchBar& bar) {
    if (!bar.cue) return;
    TOOLINFOW ti = CueTool(bar, nullptr);
    SendMessageW(bar.cue, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    SetWindowTextW(bar.cue, L"");
}

void UpdateKeywordCue(SearchBar& bar) {
    wchar_t typed[2 * kKeywordSize] = {};
    const int n = GetWindowTextW(bar.keyword, typed, 2 * kKeywordSize);
    const std::u16string_view text(reinterpret_cast<const char16_t*>(typed),
                                   n > 0 ? static_cast<size_t>(n) : 0);
    const KeywordRoute route = RouteByKeyword(text, bar.app.activeSet, PlatformCp932ToUtf16);
    bar.cueRouted = route.count > 0;
    if (route.count == 0 || GetActiveWindow() != bar.wnd || IsIconic(bar.wnd) ||
        !IsWindowVisible(bar.wnd)) {
        HideKeywordCue(bar);
        return;
    }
    if (!bar.cue) CreateKeywordCue(bar); // made when first needed: the start stays as quick
    if (!bar.cue) return;                // no cue: the keywords still work
    CueText cue = CueFor(bar, route);
    TOOLINFOW ti = CueTool(bar, cue.data());
    SendMessageW(bar.cue, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    SetWindowTextW(bar.cue, cue.c_str()); // what the cue says, for readers of the window
    const LRESULT size = SendMessageW(bar.cue, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&ti));
    const POINT at = CuePosition(bar, SIZE{LOWORD(size), HIWORD(size)});
    SendMessageW(bar.cue, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(bar.cue, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void FollowKeywordCue(SearchBar& bar) {
    if (bar.cueRouted)
        UpdateKeywordCue(bar);
    else
        HideKeywordCue(bar);
}
