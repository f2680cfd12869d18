#include "protocol/command_line.h"

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// One argument without its quotes, kept only as long as a switch can be.
struct Argument {
    wchar_t text[16] = {};
    size_t size = 0;
    bool tooLong = false;

    void Add(wchar_t c) {
        if (size + 1 < sizeof text / sizeof text[0])
            text[size++] = c;
        else
            tooLong = true;
    }
};

// The next argument from pos on (a quote opens or closes a quoted part, as the usual rules
// have it for arguments without backslashes before quotes).
Argument NextArgument(std::wstring_view line, size_t& pos) {
    while (pos < line.size() && IsSpace(line[pos]))
        ++pos;
    Argument arg;
    bool quoted = false;
    for (; pos < line.size() && (quoted || !IsSpace(line[pos])); ++pos) {
        if (line[pos] == L'"')
            quoted = !quoted;
        else
            arg.Add(line[pos]);
    }
    return arg;
}

// A switch as given, with "/" or "-", in any case (ASCII only).
bool IsSwitch(const Argument& arg, std::wstring_view name) {
    if (arg.tooLong || arg.size != name.size() || arg.size == 0 ||
        (arg.text[0] != L'/' && arg.text[0] != L'-'))
        return false;
    for (size_t i = 1; i < arg.size; ++i) {
        wchar_t c = arg.text[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != name[i]) return false;
    }
    return true;
}

} // namespace

StartSwitches ParseStartSwitches(std::wstring_view commandLine) {
    StartSwitches s;
    size_t pos = 0;
    NextArgument(commandLine, pos); // the program
    while (pos < commandLine.size()) {
        const Argument arg = NextArgument(commandLine, pos);
        if (IsSwitch(arg, start_switch::kTray)) s.tray = true;
        if (IsSwitch(arg, start_switch::kUnregister)) s.unregister = true;
    }
    return s;
}
