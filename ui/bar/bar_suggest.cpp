#include "ui/bar/bar_suggest.h"

#include <imm.h>

#include "platform/win_text.h"
#include "query/encode.h"
#include "query/engine_keyword.h"
#include "query/suggest_url.h"

namespace {

constexpr UINT kDelayMs = 100;
constexpr size_t kLongestSent = 100; // characters
constexpr int kHistoryRows = 8;
const wchar_t kHeader[] = L"── 検索候補 ──";
const wchar_t kIndent[] = L"　";

// The input method's context of a window, released with the guard.
class InputContext {
  public:
    explicit InputContext(HWND wnd) : wnd_(wnd), context_(ImmGetContext(wnd)) {}
    InputContext(const InputContext&) = delete;
    InputContext& operator=(const InputContext&) = delete;
    ~InputContext() {
        if (context_) ImmReleaseContext(wnd_, context_);
    }
    // Whether text is being composed and not yet committed.
    bool Composing() const {
        return context_ && ImmGetCompositionStringW(context_, GCS_COMPSTR, nullptr, 0) > 0;
    }

  private:
    HWND wnd_;
    HIMC context_;
};

// Set while the drop-down itself puts a row's text into the box, so that the change does not
// start another round.
class ScopedFilling {
  public:
    explicit ScopedFilling(bool& flag) : flag_(flag) { flag_ = true; }
    ScopedFilling(const ScopedFilling&) = delete;
    ScopedFilling& operator=(const ScopedFilling&) = delete;
    ~ScopedFilling() { flag_ = false; }

  private:
    bool& flag_;
};

WideKeyword BoxText(const SearchBar& bar) {
    wchar_t text[2 * kKeywordSize] = {};
    const int n = GetWindowTextW(bar.keyword, text, 2 * kKeywordSize);
    const std::u16string_view read(reinterpret_cast<const char16_t*>(text),
                                   n > 0 ? static_cast<size_t>(n) : 0);
    return WideKeyword(
        std::u16string_view(read.data(), KeywordUnitsWithin(read, kKeywordSize - 1)));
}

bool On(const SearchBar& bar) {
    return bar.app.settings.Suggest != 0;
}

// Whether text begins with what was typed, ASCII letters without their case.
bool BeginsWith(std::u16string_view text, std::u16string_view typed) {
    if (typed.size() > text.size()) return false;
    for (size_t i = 0; i < typed.size(); ++i)
        if (FoldKeywordUnit(text[i]) != FoldKeywordUnit(typed[i])) return false;
    return true;
}

// The rows: the history entries that begin with the typed text (as the history drop-down
// offers them), then, under a header, the suggestions.
void FillRows(SearchBar& bar, std::u16string_view typed, const SuggestionList* suggestions,
              std::u16string_view prefix) {
    SuggestRows& rows = bar.suggestRows;
    rows.count = 0;
    const SearchHistory& history = bar.app.history;
    if (bar.app.settings.AutoComplete && bar.app.settings.Max != 0) {
        for (int i = 0; i < history.count && rows.count < kHistoryRows; ++i) {
            const char16_t* item = HistoryItemAt(history, i);
            if (!item || !BeginsWith(item, typed)) continue;
            SuggestRow& row = rows.rows[rows.count++];
            row.kind = SuggestRow::Kind::History;
            row.text.Assign(item);
        }
    }
    if (suggestions && suggestions->count > 0) {
        rows.rows[rows.count++] = SuggestRow{SuggestRow::Kind::Header, WideKeyword()};
        for (int i = 0; i < suggestions->count && rows.count < kSuggestRowLimit; ++i) {
            SuggestRow& row = rows.rows[rows.count++];
            row.kind = SuggestRow::Kind::Suggestion;
            row.text.Assign(prefix); // the keyword and its space, when one chose the engine
            row.text.Append(suggestions->items[i].view());
            if (row.text.cut()) --rows.count;
        }
    }
}

// The drop-down's list: a popup list box owned by the bar, never activated, below the box.
LRESULT CALLBACK ListMouseProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data);

HWND CreateList(SearchBar& bar) {
    HWND list = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"LISTBOX",
                                nullptr, WS_POPUP | WS_BORDER | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0,
                                bar.wnd, nullptr, bar.app.instance, nullptr);
    if (!list) return nullptr;
    SendMessageW(list, WM_SETFONT, SendMessageW(bar.keyword, WM_GETFONT, 0, 0), FALSE);
    bar.suggestMouse.Install(list, ListMouseProc, reinterpret_cast<DWORD_PTR>(&bar));
    return list;
}

void Place(SearchBar& bar) {
    RECT box = {};
    GetWindowRect(bar.keyword, &box);
    const int item = static_cast<int>(SendMessageW(bar.suggestList, LB_GETITEMHEIGHT, 0, 0));
    const int height = item * bar.suggestRows.count + 2 * GetSystemMetrics(SM_CYBORDER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(bar.wnd, MONITOR_DEFAULTTONEAREST), &monitor);
    int top = box.bottom;
    if (top + height > monitor.rcWork.bottom) top = box.top - height; // no room below
    SetWindowPos(bar.suggestList, HWND_TOPMOST, box.left, top, box.right - box.left, height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Hide(SearchBar& bar) {
    if (bar.suggestList) ShowWindow(bar.suggestList, SW_HIDE);
    bar.suggestRows.count = 0;
}

// Shows the rows (hides the list when there are none).
void Present(SearchBar& bar) {
    if (bar.suggestRows.count == 0 || GetActiveWindow() != bar.wnd) {
        Hide(bar);
        return;
    }
    if (!bar.suggestList) bar.suggestList = CreateList(bar);
    if (!bar.suggestList) return;
    {
        ScopedRedrawOff redraw(bar.suggestList);
        SendMessageW(bar.suggestList, LB_RESETCONTENT, 0, 0);
        for (int i = 0; i < bar.suggestRows.count; ++i) {
            const SuggestRow& row = bar.suggestRows.rows[i];
            WinText<2 * kKeywordSize> shown;
            if (row.kind == SuggestRow::Kind::Header) shown.Append(kHeader);
            if (row.kind == SuggestRow::Kind::Suggestion) shown.Append(kIndent);
            shown.Append(std::wstring_view(reinterpret_cast<const wchar_t*>(row.text.c_str()),
                                           row.text.size()));
            SendMessageW(bar.suggestList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
        }
    }
    Place(bar);
}

// Puts row i's text into the box, the caret at its end, without another round.
void TakeRow(SearchBar& bar, int i) {
    if (i < 0 || i >= bar.suggestRows.count) return;
    const SuggestRow& row = bar.suggestRows.rows[i];
    if (row.kind == SuggestRow::Kind::Header) return;
    ScopedFilling filling(bar.fillingBox);
    SetWindowTextW(bar.keyword, reinterpret_cast<const wchar_t*>(row.text.c_str()));
    SendMessageW(bar.keyword, EM_SETSEL, row.text.size(), row.text.size());
}

LRESULT CALLBACK ListMouseProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
    SearchBar& bar = *reinterpret_cast<SearchBar*>(data);
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: {
        // The list never takes the focus: the row under the mouse is chosen here, and a click
        // puts it into the box as a history row does.
        const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, lParam);
        const int i = HIWORD(hit) ? -1 : LOWORD(hit);
        if (i < 0 || i >= bar.suggestRows.count ||
            bar.suggestRows.rows[i].kind == SuggestRow::Kind::Header)
            return 0;
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        if (msg == WM_LBUTTONDOWN) {
            TakeRow(bar, i);
            StopSuggestions(bar);
            SetFocus(bar.keyword);
        }
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return 0;
    default:
        return DefSubclassProc(list, msg, wParam, lParam);
    }
}

} // namespace

bool SuggestionsOpen(const SearchBar& bar) {
    return bar.suggestList && IsWindowVisible(bar.suggestList);
}

void StopSuggestions(SearchBar& bar) {
    KillTimer(bar.wnd, kSuggestTimer);
    bar.suggestFetcher.Cancel();
    ++bar.suggestGeneration; // an answer on its way is no longer wanted
    Hide(bar);
}

void KeywordChangedForSuggestions(SearchBar& bar) {
    if (!On(bar) || bar.fillingBox) return;
    bar.suggestFetcher.Cancel();
    ++bar.suggestGeneration;
    const WideKeyword text = BoxText(bar);
    FillRows(bar, text.view(), nullptr, u"");
    if (text.empty()) {
        KillTimer(bar.wnd, kSuggestTimer);
        Hide(bar);
        return;
    }
    Present(bar);
    SetTimer(bar.wnd, kSuggestTimer, kDelayMs, nullptr);
}

void RequestSuggestions(SearchBar& bar) {
    KillTimer(bar.wnd, kSuggestTimer);
    if (!On(bar)) return;
    const WideKeyword text = BoxText(bar);
    if (text.empty() || text.size() > kLongestSent || InputContext(bar.keyword).Composing()) return;
    // A keyword chooses the engine, and the text after it is what is asked about.
    const EngineSet& set = bar.app.activeSet;
    const KeywordRoute route = RouteByKeyword(text.view(), set, PlatformCp932ToUtf16);
    const int engine = route.count > 0 ? route.engines[0] : EngineSelection(bar);
    const std::u16string_view asked = route.count > 0 ? route.rest : text.view();
    if (engine < 0 || engine >= set.count || set.extras[engine].Suggest[0] == '\0') return;
    bool blank = true;
    for (const char16_t u : asked)
        blank = blank && (u == u' ' || u == u'\x3000');
    if (blank) return;
    WideUrlText url;
    FixedText<MAX_PATH> programDir;
    WideToSjis(View(bar.app.paths.programDir), programDir);
    const ComposeOptions options{programDir.c_str(), PlatformCp932ToUtf16, PlatformUtf16ToCp932};
    if (!BuildSuggestUrl(set.extras[engine].Suggest, asked, set.entries[engine], options, url))
        return;
    bar.suggestFetcher.Start(bar.wnd, kSuggestionsArrived,
                             reinterpret_cast<const wchar_t*>(url.c_str()), bar.suggestGeneration);
}

void ShowArrivedSuggestions(SearchBar& bar, uint32_t generation) {
    SuggestionList list;
    if (generation != bar.suggestGeneration || !On(bar) ||
        !bar.suggestFetcher.Take(generation, list))
        return;
    const WideKeyword text = BoxText(bar);
    const KeywordRoute route = RouteByKeyword(text.view(), bar.app.activeSet, PlatformCp932ToUtf16);
    const std::u16string_view prefix =
        std::u16string_view(text.c_str(), route.count > 0 ? text.size() - route.rest.size() : 0);
    FillRows(bar, text.view(), &list, prefix);
    Present(bar);
}

bool SuggestionKey(SearchBar& bar, UINT vk) {
    if (!SuggestionsOpen(bar)) return false;
    if (vk == VK_ESCAPE) {
        StopSuggestions(bar);
        return true;
    }
    if (vk != VK_UP && vk != VK_DOWN) return false;
    const int count = bar.suggestRows.count;
    int i = static_cast<int>(SendMessageW(bar.suggestList, LB_GETCURSEL, 0, 0));
    const int step = vk == VK_DOWN ? 1 : -1;
    do {
        i = i < 0 ? (step > 0 ? 0 : count - 1) : i + step;
    } while (i >= 0 && i < count && bar.suggestRows.rows[i].kind == SuggestRow::Kind::Header);
    if (i < 0 || i >= count) return true; // at either end: stays
    SendMessageW(bar.suggestList, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    TakeRow(bar, i);
    return true;
}
