#include "platform/open_url.h"

#include <shellapi.h>

#include "base/text.h"
#include "platform/app_state.h"
#include "platform/win_text.h"
#include "protocol/bar_protocol.h"
#include "query/compose.h"

namespace {

bool Started(HINSTANCE result, HWND owner) {
    if (reinterpret_cast<INT_PTR>(result) > 32) return true;
    MessageBoxW(owner, L"URLのオープンに失敗しました", L"" MORVEL_TITLE, MB_OK | MB_ICONERROR);
    return false;
}

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

// The browser's path as the settings keep it (Shift-JIS), for the system.
PathText BrowserPath(const char* browser) {
    return browser ? FromSjis<MAX_PATH>(std::string_view(browser, FieldLength(browser, MAX_PATH)))
                   : PathText();
}

} // namespace

bool OpenUrl(const char* url, const char* browserPath, HWND owner) {
    // The URL is Shift-JIS where it is not ASCII (an engine's own text, or a keyword sent
    // without encoding): the system gets it as UTF-16.
    const auto wide = FromSjis<kUrlSize + 1>(url);
    return OpenWideUrl(reinterpret_cast<const char16_t*>(wide.c_str()), browserPath, owner);
}

bool OpenWideUrl(const char16_t* url, const char* browserPath, HWND owner) {
    const PathText browser = BrowserPath(browserPath);
    HINSTANCE result;
    if (!browser.empty()) {
        // The URL goes to the browser as one argument: a keyword cannot add switches.
        const WideBrowserParameterText parameters = BrowserParameters(std::u16string_view(url));
        result = ShellExecuteW(nullptr, nullptr, browser.c_str(), Wide(parameters.c_str()), nullptr,
                               SW_SHOW);
    } else {
        result = ShellExecuteW(nullptr, L"open", Wide(url), nullptr, nullptr, SW_SHOW);
    }
    return Started(result, owner);
}
