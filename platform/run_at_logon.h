// Starting with Windows: the value "Morvel" under the current user's Run key, holding the
// quoted program path and the switch /tray. The registry is the setting's only store, so the
// settings sheet shows what Windows' own list of start-up programs shows: a value that the
// user turned off there (Explorer's StartupApproved list) counts as off.
#pragma once
#include <windows.h>

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kStartupApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr wchar_t kRunValue[] = L"Morvel";
constexpr int kRunCommandChars = MAX_PATH * 2 + 16;

// The full path of the running program.
bool CurrentProgramPath(wchar_t (&path)[MAX_PATH * 2]);
// "\"<program>\" /tray"; false when it does not fit.
bool RunAtLogonCommand(const wchar_t* program, wchar_t (&command)[kRunCommandChars]);
// True when the value starts this program (the same command, whatever the case) and the
// user has not turned it off in Windows' list.
bool IsRunAtLogonOn(const wchar_t* program);
// On: writes the value and clears a "turned off" mark, so that Windows runs it again. Off:
// removes both. A value or mark that is already gone is no error.
bool SetRunAtLogon(const wchar_t* program, bool on);
