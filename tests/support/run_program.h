// Runs a command line to its end (at most a minute) and gives its exit code, for the tests
// under Wine: 0xFFFFFFFF when it cannot start, 0xFFFFFFFE when it had to be stopped.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "platform/handles.h"

inline DWORD RunProgram(std::string commandLine, DWORD* pid = nullptr,
                        const std::function<void(DWORD)>& whileRunning = nullptr) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return 0xFFFFFFFF;
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    if (pid) *pid = pi.dwProcessId;
    if (whileRunning) whileRunning(pi.dwProcessId);
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        return 0xFFFFFFFE;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}
