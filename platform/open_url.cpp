#include "platform/open_url.h"

#include <shellapi.h>

#include "base/text.h"
#include "protocol/bar_protocol.h"
#include "query/compose.h"

namespace {

FixedText<MAX_PATH> BrowserPath(const char* browserPath) {
    return FixedText<MAX_PATH>(
        std::string_view(browserPath, browserPath ? FieldLength(browserPath, MAX_PATH) : 0));
}

bool Started(HINSTANCE result, HWND owner) {
    if (reinterpret_cast<INT_PTR>(result) > 32) return true;
    MessageBoxA(owner, "URLのオープンに失敗しました", MORVEL_TITLE, MB_OK | MB_ICONERROR);
    return false;
}

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

} // namespace

bool OpenUrl(const char* url, const char* browserPath, HWND owner) {
    const FixedText<MAX_PATH> browser = BrowserPath(browserPath);
    HINSTANCE result;
    if (!browser.empty()) {
        // The URL goes to the browser as one argument: a keyword cannot add switches.
        const BrowserParameterText parameters = BrowserParameters(url);
        result =
            ShellExecuteA(nullptr, nullptr, browser.c_str(), parameters.c_str(), nullptr, SW_SHOW);
    } else {
        result = ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOW);
    }
    return Started(result, owner);
}

bool OpenWideUrl(const char16_t* url, const char* browserPath, HWND owner) {
    const FixedText<MAX_PATH> browser = BrowserPath(browserPath);
    HINSTANCE result;
    if (!browser.empty()) {
        wchar_t program[MAX_PATH] = {};
        if (MultiByteToWideChar(CP_ACP, 0, browser.c_str(), -1, program, MAX_PATH) <= 0)
            return Started(nullptr, owner);
        const WideBrowserParameterText parameters = BrowserParameters(std::u16string_view(url));
        result =
            ShellExecuteW(nullptr, nullptr, program, Wide(parameters.c_str()), nullptr, SW_SHOW);
    } else {
        result = ShellExecuteW(nullptr, L"open", Wide(url), nullptr, nullptr, SW_SHOW);
    }
    return Started(result, owner);
}
