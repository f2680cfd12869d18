// The browser's context-menu script as the bridge stores it, run by the system's VBScript
// host with a stand-in for the browser's external object (external.menuArguments, the
// page's window, with a selection).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/driver.h"

namespace e2e {

// The lines of the stored script between its SCRIPT tags, read out of the library file
// (empty when the resource is missing or not the 242-byte, six-line script).
std::vector<std::string> StoredScriptBody(const std::string& libraryPath = BuiltBridgePath());
// A script host file: the stand-in with a selection whose text is the VBScript expression
// given, then the stored lines of the library as they are.
std::string ScriptFile(const std::string& selectionExpression,
                       const std::string& libraryPath = BuiltBridgePath());
// Runs the context-menu script of the library with the selection; returns the host's
// exit code. whileRunning gets the host's process id.
DWORD RunMenuScript(const ProgramDir& dir, const std::string& selectionExpression,
                    const std::function<void(DWORD)>& whileRunning = nullptr,
                    const std::string& libraryPath = BuiltBridgePath());

} // namespace e2e
