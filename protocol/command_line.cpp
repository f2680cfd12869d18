#include "protocol/command_line.h"

#include <string>

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// The next argument from pos on, without its quotes (a quote opens or closes a quoted part,
// as the usual rules have it for these simple arguments).
std::wstring_view NextArgument(std::wstring_view line, size_t& pos, std::wstring& scratch) {
    while (pos < line.size() && IsSpace(line[pos]))
        ++pos;
    scratch.clear();
    bool quoted = false;
    for (; pos < line.size() && (quoted || !IsSpace(line[pos])); ++pos) {
        if (line[pos] == L'"')
            quoted = !quoted;
        else
            scratch.push_back(line[pos]);
    }
    return scratch;
}

// A switch as given, with "/" or "-", in any case (ASCII only).
bool IsSwitch(std::wstring_view arg, std::wstring_view name) {
    if (arg.size() != name.size() || arg.empty() || (arg[0] != L'/' && arg[0] != L'-'))
        return false;
    for (size_t i = 1; i < arg.size(); ++i) {
        wchar_t c = arg[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != name[i]) return false;
    }
    return true;
}

} // namespace

StartSwitches ParseStartSwitches(std::wstring_view commandLine) {
    StartSwitches s;
    std::wstring scratch;
    size_t pos = 0;
    NextArgument(commandLine, pos, scratch); // the program
    while (pos < commandLine.size()) {
        const std::wstring_view arg = NextArgument(commandLine, pos, scratch);
        if (IsSwitch(arg, start_switch::kTray)) s.tray = true;
        if (IsSwitch(arg, start_switch::kUnregister)) s.unregister = true;
    }
    return s;
}
