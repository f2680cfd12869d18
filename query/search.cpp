#include "query/search.h"

#include "app/globals.h"
#include "app/settings.h"
#include "engines/engine_files.h"
#include "history/history.h"
#include "query/encode.h"
#include "query/open_url.h"
#include "query/search_action.h"
#include "app/text.h"
#include "ui/resource.h"

LastSearch g_lastSearch = {"", -1, 0, false};

namespace {

// The search bar's controls as the search action sees them.
class BarPort : public SearchPort {
  public:
    explicit BarPort(HWND bar) : bar_(bar) {}

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
    void OpenUrl(const char* url) override { ::OpenUrl(url, bar_); }

  private:
    HWND bar_;
};

} // namespace

void RunSearch(bool automatic, HWND bar) {
    BarPort port(bar);
    SearchContext context{&g_activeSet,  &g_settings,
                          &g_lastSearch, &g_history,
                          CompareNames,  ComposeOptions{g_programDir, PlatformCp932ToUtf16}};
    RunSearchAction(automatic, port, context);
}
