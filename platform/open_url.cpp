#include "platform/open_url.h"

#include <shellapi.h>

#include "base/text.h"
#include "protocol/bar_protocol.h"
#include "query/compose.h"

bool OpenUrl(const char* url, const char* browserPath, HWND owner) {
    const FixedText<MAX_PATH> browser(
        std::string_view(browserPath, browserPath ? FieldLength(browserPath, MAX_PATH) : 0));
    HINSTANCE result;
    if (!browser.empty()) {
        // The URL goes to the browser as one argument: a keyword cannot add switches.
        const BrowserParameterText parameters = BrowserParameters(url);
        result =
            ShellExecuteA(nullptr, nullptr, browser.c_str(), parameters.c_str(), nullptr, SW_SHOW);
    } else {
        result = ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOW);
    }
    if (reinterpret_cast<INT_PTR>(result) > 32) return true;
    MessageBoxA(owner, "URLのオープンに失敗しました", MORVEL_TITLE, MB_OK | MB_ICONERROR);
    return false;
}
