#include "ui/bar/bar_search.h"

#include "base/text.h"
#include "history/history_store.h"
#include "platform/engine_store.h"
#include "platform/open_url.h"
#include "query/encode.h"
#include "query/search_action.h"
#include "ui/common/resource.h"

namespace {

// The search bar's controls as the search action sees them.
class BarPort : public SearchPort {
  public:
    BarPort(HWND bar, const char* browser) : bar_(bar), browser_(browser) {}

    KeywordBuffer KeywordText() override {
        char text[kKeywordSize] = {};
        GetDlgItemTextA(bar_, IDC_KEYWORD, text, sizeof text);
        return KeywordBuffer(std::string_view(text, FieldLength(text, sizeof text)));
    }
    int ModeSelection() override {
        return static_cast<int>(SendDlgItemMessageA(bar_, IDC_MODE, CB_GETCURSEL, 0, 0));
    }
    int EngineSelection() override {
        return static_cast<int>(SendDlgItemMessageA(bar_, IDC_ENGINE, CB_GETCURSEL, 0, 0));
    }
    void Beep() override { MessageBeep(0); }
    void FocusKeyword(bool clear) override {
        if (clear) SetDlgItemTextA(bar_, IDC_KEYWORD, "");
        SetFocus(GetDlgItem(bar_, IDC_KEYWORD));
    }
    bool ShiftHeld() override { return GetKeyState(VK_SHIFT) < 0; }
    void OpenUrl(const char* url) override { ::OpenUrl(url, browser_, bar_); }

  private:
    HWND bar_;
    const char* browser_;
};

} // namespace

void RunSearch(AppState& app, bool automatic, HWND bar) {
    BarPort port(bar, app.settings.Browser);
    SearchContext context{
        &app.activeSet,      &app.settings,
        &app.lastSearch,     &app.history,
        CompareHistoryTexts, ComposeOptions{app.paths.programDir, PlatformCp932ToUtf16}};
    RunSearchAction(automatic, port, context);
}
