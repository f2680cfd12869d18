// The switches vantu.exe understands on its command line: "/tray", with which it starts at
// logon (the bar stays out of the way), and "/unregister", with which an uninstaller asks it
// to remove everything it registered for the user and end without showing anything. Either
// may be written with "-" and in any case; any other argument is ignored. No Windows needed.
#pragma once
#include <string_view>

namespace start_switch {
constexpr wchar_t kTray[] = L"/tray";
constexpr wchar_t kUnregister[] = L"/unregister";
} // namespace start_switch

struct StartSwitches {
    bool tray = false;
    bool unregister = false;
};

// The switches of a whole command line, whose first argument is the program (quoted or not).
StartSwitches ParseStartSwitches(std::wstring_view commandLine);
