#include "ui/bar/bar_search.h"

#include "base/text.h"
#include "history/history_store.h"
#include "platform/engine_store.h"
#include "platform/open_url.h"
#include "platform/win_text.h"
#include "protocol/bar_protocol.h"
#include "query/encode.h"
#include "query/search_action.h"

namespace {

// The search bar's controls as the search action sees them.
class BarPort : public SearchPort {
  public:
    explicit BarPort(const SearchBar& bar) : bar_(bar) {}

    WideKeyword KeywordText() override {
        // Read with room to spare, then cut to the keyword's weight.
        wchar_t text[2 * kKeywordSize] = {};
        const int n = GetWindowTextW(bar_.keyword, text, 2 * kKeywordSize);
        const std::u16string_view read(reinterpret_cast<const char16_t*>(text),
                                       n > 0 ? static_cast<size_t>(n) : 0);
        return WideKeyword(
            std::u16string_view(read.data(), KeywordUnitsWithin(read, kKeywordSize - 1)));
    }
    int ModeSelection() override {
        return static_cast<int>(SendMessageW(bar_.mode, CB_GETCURSEL, 0, 0));
    }
    int EngineSelection() override { return ::EngineSelection(bar_); }
    void Beep() override { MessageBeep(0); }
    void FocusKeyword(bool clear) override {
        if (clear) SetWindowTextW(bar_.keyword, L"");
        SetFocus(bar_.keyword);
    }
    bool ShiftHeld() override { return GetKeyState(VK_SHIFT) < 0; }
    void OpenUrl(const char* url) override { ::OpenUrl(url, Browser(), bar_.wnd); }
    void OpenWideUrl(std::u16string_view url) override {
        const WideUrlText text(url); // terminated
        ::OpenWideUrl(text.c_str(), Browser(), bar_.wnd);
    }
    void Refuse(std::u16string_view character, const char* codeName) override {
        WideText<128> message(u"「");
        message.Append(character);
        message.Append(u"」は ");
        for (const char* c = codeName; *c != '\0'; ++c)
            message.Append(static_cast<char16_t>(*c)); // ASCII
        message.Append(u" で表せないため、この検索エンジンでは検索できません。");
        MessageBoxW(bar_.wnd, reinterpret_cast<const wchar_t*>(message.c_str()), L"" MORVEL_TITLE,
                    MB_OK | MB_ICONWARNING);
    }

  private:
    const char* Browser() const { return bar_.app.settings.Browser; }
    const SearchBar& bar_;
};

} // namespace

void RunSearch(SearchBar& bar, bool automatic) {
    AppState& app = bar.app;
    BarPort port(bar);
    // The composition works in Shift-JIS: a "\\" head names a page in the program folder as
    // far as Shift-JIS can say its path.
    FixedText<MAX_PATH> programDir;
    WideToSjis(View(app.paths.programDir), programDir);
    SearchContext context{
        &app.activeSet,
        &app.settings,
        &app.lastSearch,
        &app.history,
        CompareHistoryTexts,
        ComposeOptions{programDir.c_str(), PlatformCp932ToUtf16, PlatformUtf16ToCp932}};
    RunSearchAction(automatic, port, context);
}
